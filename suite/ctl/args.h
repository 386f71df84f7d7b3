#pragma once
// Reading command-line words for velctl's commands.
#include <charconv>
#include <string>

namespace velctl {

// A whole decimal number with an optional sign; false for anything else.
inline bool ParseInt(const std::string& text, int& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, value);
    return begin != end && ec == std::errc() && ptr == end;
}

}  // namespace velctl
