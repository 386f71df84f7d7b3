// velctl convert: GB and Big5 texts through the language library, stdin to stdout, as the
// module converts them.
#include <iostream>
#include <ostream>

#include "lang/translator.h"
#include "suite/ctl/command.h"

namespace velctl {
namespace {

const char* kUsage = "velctl convert gb2big5 | big52gb  (bytes from stdin to stdout)";

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || (args[0] != "gb2big5" && args[0] != "big52gb")) {
        err << "usage: " << kUsage << "\n";
        return 2;
    }
    bool toBig5 = args[0] == "gb2big5";
    vel::TTranslator translator;
    auto convert = [&](const std::string& text) {
        return toBig5 ? translator.ConvertGBToBig5(text) : translator.ConvertBig5ToGB(text);
    };
    // Converted a line block at a time: a newline byte is never part of a double-byte
    // character in either code page, and no OpenCC phrase spans lines.
    std::string pending;
    char buf[1 << 16];
    while (std::cin.read(buf, sizeof buf) || std::cin.gcount() > 0) {
        pending.append(buf, static_cast<size_t>(std::cin.gcount()));
        size_t cut = pending.rfind('\n');
        if (cut == std::string::npos || pending.size() < (1u << 20)) continue;
        out << convert(pending.substr(0, cut + 1));
        pending.erase(0, cut + 1);
    }
    if (!pending.empty()) out << convert(pending);
    out.flush();
    return out ? 0 : 1;
}

const Registrar registrar({"convert", kUsage, Run});

}  // namespace
}  // namespace velctl
