// velctl password: the scrambled form of the database passwords kept in VantrelS.ini.
#include <ostream>

#include "platform/text/codepage.h"
#include "runtime/vantrel_ini.h"
#include "suite/ctl/command.h"

namespace velctl {
namespace {

const char* kUsage = "velctl password decode TEXT | encode TEXT";

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "decode") {
        out << vel::AnsiToUtf8(vel::DecodeSQLSa(args[1])) << "\n";
    } else if (args.size() == 2 && args[0] == "encode") {
        out << vel::EncodeSQLSa(vel::Utf8ToAnsi(args[1])) << "\n";
    } else {
        err << "usage: " << kUsage << "\n";
        return 2;
    }
    return 0;
}

const Registrar registrar({"password", kUsage, Run});

}  // namespace
}  // namespace velctl
