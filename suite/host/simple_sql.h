#pragma once
// The counter "SIMPLESQL": a module reads a few columns of a table with a text such as
//   SELECT MA003 FROM VelINTMA WHERE MA001='StartupPortal'
// Only that shape is understood (named columns, one table, equality conditions joined by
// AND); the text is taken apart here and the server runs it with bound values on the tables
// it allows. Anything else is refused with a clear error.
#include <string>
#include <vector>

#include "platform/variant/variant.h"
#include "suite/host/server_link.h"

namespace velhost {

struct SimpleSelect {
    std::vector<std::string> columns;
    std::string table;
    std::vector<std::pair<std::string, std::string>> conditions;  // column = value
};

// False with the reason in `error` for any text outside the accepted shape.
bool ParseSimpleSelect(const std::string& text, SimpleSelect& out, std::string& error);

// value: [select text, ...] or the select text; the answer is the rows, each an array of the
// named columns' values.
vel::Variant RunSimpleSql(ServerLink& link, const vel::Variant& value);

}  // namespace velhost
