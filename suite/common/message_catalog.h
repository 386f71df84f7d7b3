#pragma once
// The suite's message texts by type letter and number, as shipped with the product. The
// server seeds its message table from them; the host falls back to them when it cannot
// reach the server, so that "no connection" can still be said in words.
#include <string>
#include <vector>

namespace velsuite {

struct MessageText {
    const char* type;
    const char* id;
    const char* text;  // UTF-8; %s are the code's arguments in order
};

const std::vector<MessageText>& BuiltInMessages();

// The text of a message in UTF-8; false when the catalog has none.
bool FindBuiltInMessage(const std::string& type, const std::string& id, std::string& text);

}  // namespace velsuite
