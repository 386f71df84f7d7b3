#pragma once
// velctl's commands register themselves, one file each, so the tool grows without a
// central table. A command gets its words after the command name and prints to `out`.
#include <ostream>
#include <string>
#include <vector>

namespace velctl {

struct Command {
    const char* name;   // first word on the command line, e.g. "date"
    const char* usage;  // one line per form, shown by "velctl help"
    // Exit code: 0 on success, 2 when the arguments are wrong.
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

const std::vector<Command>& Commands();

struct Registrar {
    explicit Registrar(Command command);
};

}  // namespace velctl
