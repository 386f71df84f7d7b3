// velctl: the administrator's tool. "velctl <command> <words...>"; each command prints one
// result per line and exits 0, or 2 with a usage line when its arguments are wrong.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "suite/ctl/command.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "usage: velctl <command> [arguments]\n";
    for (const auto& command : velctl::Commands()) out << command.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(std::cerr);
        return 2;
    }
    std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(std::cout);
        return 0;
    }
    for (const auto& command : velctl::Commands()) {
        if (name == command.name) {
            std::vector<std::string> args(argv + 2, argv + argc);
            try {
                return command.run(args, std::cout, std::cerr);
            } catch (const std::exception& e) {
                std::cerr << "velctl: " << e.what() << "\n";
                return 1;
            }
        }
    }
    std::cerr << "velctl: unknown command '" << name << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
