#include "suite/ctl/command.h"

namespace velctl {
namespace {

// Function-local, so that registrars in other files may run first during start-up.
std::vector<Command>& Table() {
    static std::vector<Command> table;
    return table;
}

}  // namespace

const std::vector<Command>& Commands() { return Table(); }

Registrar::Registrar(Command command) { Table().push_back(command); }

}  // namespace velctl
