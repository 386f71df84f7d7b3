// velctl config: the configuration as the module's readers resolve it, one Field=value line
// per field, so an administrator sees what a workstation or the server will use.
#include <ostream>

#include "platform/text/codepage.h"
#include "runtime/vantrel_ini.h"
#include "suite/ctl/command.h"

namespace velctl {
namespace {

const char* kUsage = "velctl config client | server";

void Line(std::ostream& out, const char* field, const std::string& value) {
    out << field << "=" << vel::AnsiToUtf8(value) << "\n";
}

const char* Bool(bool value) { return value ? "true" : "false"; }

// The fields both readers have, between the installation path and the reader's own.
void PrintLocation(std::ostream& out, const vel::TVantrelIniBase& ini) {
    Line(out, "ProfilePath", ini.ProfilePath);
    Line(out, "ProfileType", ini.ProfileType);
    Line(out, "UserName", ini.UserName);
    Line(out, "UICodePage", ini.UICodePage);
    Line(out, "DBCodePage", ini.DBCodePage);
    Line(out, "SystemCodePage", ini.SystemCodePage);
    Line(out, "ScreenMode", std::to_string(ini.ScreenMode));
    Line(out, "DataMode", std::to_string(ini.DataMode));
    Line(out, "SupportCallBack", Bool(ini.SupportCallBack));
    Line(out, "IniFileName", ini.IniFileName);
}

void PrintClient(std::ostream& out) {
    vel::TVantrelIniC ini;
    Line(out, "ClientPath", ini.ClientPath);
    PrintLocation(out, ini);
    if (ini.Servers.IsArray())
        for (int i = ini.Servers.LowBound(2); i <= ini.Servers.HighBound(2); ++i)
            Line(out, "Servers", ini.Servers.At(0, i).ToString() + ":" + ini.Servers.At(1, i).ToString());
    Line(out, "ErrorCode", ini.ErrorCode);
    Line(out, "LangType", ini.LangType);
    for (const auto& dir : ini.WorkDLLPath) Line(out, "WorkDLLPath", dir);
    Line(out, "Version", ini.Version);
    Line(out, "CreateGifBeforeSendEF", ini.CreateGifBeforeSendEF);
    Line(out, "AutoCheckNewMsg", ini.AutoCheckNewMsg);
    Line(out, "CheckInterval", ini.CheckInterval);
    Line(out, "PopupMsg", ini.PopupMsg);
    Line(out, "LoginCheck", ini.LoginCheck);
}

void PrintServer(std::ostream& out) {
    vel::TVantrelIniS ini;
    Line(out, "ServerPath", ini.ServerPath);
    PrintLocation(out, ini);
    // Only the cells the readers fill: the others stay empty.
    for (int r = 0; r <= 3; ++r)
        for (int c = 0; c <= 7; ++c)
            if (!ini.DBSettings.At(r, c).IsEmpty())
                out << "DBSettings[" << r << "," << c << "]=" << vel::AnsiToUtf8(ini.DBSettings.At(r, c).ToString())
                    << "\n";
    Line(out, "ErrorCode", ini.ErrorCode);
    for (const auto& dir : ini.WorkDLLPath) Line(out, "WorkDLLPath", dir);
    Line(out, "Version", ini.Version);
    Line(out, "MainDBKind", std::to_string(ini.MainDBKind));
    Line(out, "SystemControlAddress", ini.SystemControlAddress);
    Line(out, "OtherSystemControlAddress", ini.OtherSystemControlAddress);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && args[0] == "client") {
        PrintClient(out);
    } else if (args.size() == 1 && args[0] == "server") {
        PrintServer(out);
    } else {
        err << "usage: " << kUsage << "\n";
        return 2;
    }
    return 0;
}

const Registrar registrar({"config", kUsage, Run});

}  // namespace
}  // namespace velctl
