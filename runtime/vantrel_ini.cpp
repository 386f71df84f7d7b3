#include "runtime/vantrel_ini.h"

#include <cctype>
#include <filesystem>

#include "platform/system/inifile.h"
#include "platform/system/registry_store.h"
#include "platform/system/sysinfo.h"
#include "platform/text/codepage.h"
#include "runtime/libstrs.h"
#include "runtime/logs.h"

namespace vel {
namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsTrueText(const std::string& value) {
    std::string v = Upper(TrimBlanks(value));
    return v == "1" || v == "Y" || v == "YES" || v == "TRUE";
}

bool FileExists(const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(name, ec);
}

std::string ReadRegistry(const Registry& registry, const char* name, const std::string& fallback) {
    auto value = registry.ReadValue(kLocalMachine, kVantrelKey, name);
    return value ? *value : fallback;
}

// The per-user profile directory below the installation directory, or the installation
// directory itself; then the INI file there, or the installation directory's when the
// profile has none.
struct Location {
    std::string profilePath;
    std::string userName;
    std::string iniFileName;
};

Location Locate(const std::string& installPath, const std::string& profileType, const std::string& userName,
                const char* iniName) {
    Location loc{installPath, userName, ""};
    if (!profileType.empty() && profileType != "0") {
        std::string user = CurrentUserName().substr(0, 32);
        loc.profilePath = installPath + "Profile/" + user + "/";
        loc.userName = user;
    }
    loc.iniFileName = loc.profilePath + iniName;
    if (!FileExists(loc.iniFileName)) {
        loc.profilePath = installPath;
        loc.iniFileName = installPath + iniName;
    }
    return loc;
}

// The values of a [WorkDLLPath] section as absolute directories, or the default directory.
std::vector<std::string> PackageDirectories(const IniFile& ini, const std::string& installPath,
                                            const std::string& defaultDir) {
    std::vector<std::string> dirs;
    for (const std::string& key : ini.ReadSection("WorkDLLPath")) {
        std::string value = ini.ReadString("WorkDLLPath", key, "");
        // An empty value names the installation directory, not the root directory.
        dirs.push_back(value.empty() ? installPath : MakeAbsolutePath(IncludeTrailingSeparator(value), installPath));
    }
    if (dirs.empty()) dirs.push_back(installPath + defaultDir);
    return dirs;
}

uint8_t RotateLeft(uint8_t v, int n) {
    n &= 7;
    return n == 0 ? v : static_cast<uint8_t>((v << n) | (v >> (8 - n)));
}

uint8_t RotateRight(uint8_t v, int n) {
    n &= 7;
    return n == 0 ? v : static_cast<uint8_t>((v >> n) | (v << (8 - n)));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string MachineCodePageText() {
    int cp = vel::SystemCodePage();
    return cp == kCodePageGB || cp == kCodePageBig5 ? std::to_string(cp) : "437";
}

ConversionModes DeriveConversionModes(const std::string& ui, const std::string& db, const std::string& sys) {
    ConversionModes m;
    if (ui == "950") m.screenMode = 2;
    else if (ui == "936" && sys == "950") m.screenMode = 4;
    if (ui == "950" && db == "936") m.dataMode = 2;
    else if (ui == "936" && db == "950") m.dataMode = 1;
    return m;
}

// ---- What both readers share ---------------------------------------------------------------

void TVantrelIniBase::UpdateModes() {
    ConversionModes modes = DeriveConversionModes(UICodePage, DBCodePage, SystemCodePage);
    ScreenMode = modes.screenMode;
    DataMode = modes.dataMode;
}

void TVantrelIniBase::ReadCodePages(const IniFile& ini) {
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", DBCodePage);
    UpdateModes();
}

bool TVantrelIniBase::LocateInstallation(const char* pathValue, const char* iniName, std::string& installPath) {
    SystemCodePage = MachineCodePageText();
    UICodePage = SystemCodePage;
    UpdateModes();

    Registry registry;
    if (!registry.KeyExists(kLocalMachine, kVantrelKey)) {
        ErrorCode = "E;000015";
        return false;
    }
    std::string path = ReadRegistry(registry, pathValue, "");
    ProfileType = ReadRegistry(registry, "ProfileType", ProfileType);
    if (path.empty()) return false;
    installPath = IncludeTrailingSeparator(path);

    Location loc = Locate(installPath, ProfileType, UserName, iniName);
    ProfilePath = loc.profilePath;
    UserName = loc.userName;
    IniFileName = loc.iniFileName;
    return true;
}

// ---- Client reader ------------------------------------------------------------------------

TVantrelIniC::TVantrelIniC() {
    try {
        Read();
    } catch (const std::exception&) {
        // A store that cannot be read is a missing key.
        if (ErrorCode.empty()) ErrorCode = "E;000015";
    }
}

void TVantrelIniC::Read() {
    if (!LocateInstallation("ClientPath", "VantrelC.ini", ClientPath)) return;
    IniFile ini(IniFileName);
    LangType = ini.ReadString("Client Components", "LangType", LangType);
    Version = ini.ReadString("ProductVersion", "Version", Version);
    CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", CreateGifBeforeSendEF);
    ReadCodePages(ini);
    SupportCallBack = IsTrueText(ini.ReadString("Server Information", "SupportCallBack", "0"));
    std::string computerName = TrimBlanks(ini.ReadString("Server Information", "ComputerName", "127.0.0.1"));
    int serverPort = ini.ReadInteger("Server Information", "ServerPort", 211);
    AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", AutoCheckNewMsg);
    CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", CheckInterval);
    PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", PopupMsg);
    LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", LoginCheck);

    // The package directories do not depend on the server list: they are resolved even when
    // the file names no server, so the list never holds raw "name=value" lines.
    WorkDLLPath = PackageDirectories(ini, ClientPath, "C_PKG/");

    if (!computerName.empty() && computerName.back() == ';') computerName.pop_back();
    if (computerName.empty()) {
        ErrorCode = "E;000016";
        return;
    }
    int count = CountDelimitedFields(computerName, ";");
    Variant servers = Variant::Array2(0, 1, 0, count - 1);
    std::string rest = computerName;
    for (int i = 0; i < count; ++i) {
        servers.At(0, i) = Variant(CutFirstField(rest, ";"));
        servers.At(1, i) = Variant(serverPort);
    }
    Servers = std::move(servers);
}

// ---- Server reader ------------------------------------------------------------------------

TVantrelIniS::TVantrelIniS() : DBSettings(Variant::Array2(0, 3, 0, 7)) {
    try {
        Read();
    } catch (const std::exception&) {
        if (ErrorCode.empty()) ErrorCode = "E;000015";
    }
}

void TVantrelIniS::CopyWorkDLLPath(std::vector<std::string>& list) const { list = WorkDLLPath; }

void TVantrelIniS::Read() {
    if (!LocateInstallation("ServerPath", "VantrelS.ini", ServerPath)) return;
    IniFile ini(IniFileName);
    Version = ini.ReadString("ProductVersion", "Version", Version);
    ReadCodePages(ini);

    const char* dbe = "DBE Setting";
    const char* pwd = "DBPasswordCtrl";
    auto text = [&](int r, int c, const char* section, const char* key, const char* def) {
        DBSettings.At(r, c) = Variant(ini.ReadString(section, key, def));
    };
    auto number = [&](int r, int c, const char* section, const char* key, int def) {
        DBSettings.At(r, c) = Variant(ini.ReadInteger(section, key, def));
    };
    text(0, 0, dbe, "MainAlias", "Zorvan");
    text(0, 1, dbe, "MainUserName", "sa");
    DBSettings.At(0, 2) = Variant(DecodeSQLSa(ini.ReadString(dbe, "XXXXXX", "")));
    text(0, 3, dbe, "MainDBType", "MSSQL");
    text(0, 4, dbe, "MainDBName", "");
    text(0, 5, dbe, "MainServerName", "");
    number(0, 6, dbe, "MainConnectionTimeOut", 300);
    number(0, 7, dbe, "MainCommandTimeOut", 3000);
    text(1, 0, dbe, "TempAlias", "ZorvanTemp");
    text(1, 1, dbe, "TempUserName", "sa");
    DBSettings.At(1, 2) = Variant(DecodeSQLSa(ini.ReadString(dbe, "TempPassword", "")));
    text(1, 3, dbe, "TempDBType", "PARADOX");
    text(1, 4, dbe, "TempDBName", "");
    text(1, 5, dbe, "TempDriverName", "PostgreSQL");
    number(1, 6, dbe, "TempConnectionTimeOut", 300);
    number(1, 7, dbe, "TempCommandTimeOut", 3000);
    DBSettings.At(2, 0) = Variant(TrimBlanks(ini.ReadString(pwd, "ComputerName", "")));
    number(2, 1, pwd, "ServerPort", 211);
    number(2, 2, pwd, "ClientSocketPort", 1024);
    text(2, 3, dbe, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
    text(3, 0, dbe, "EctAlias", "EDIDATA");
    text(3, 1, dbe, "EctUserName", "sa");
    text(3, 2, dbe, "EctPassword", "");

    SupportCallBack = IsTrueText(ini.ReadString(pwd, "SupportCallBack", "0"));
    std::string mainServer = DBSettings.At(0, 5).ToString();
    SystemControlAddress = ini.ReadString(dbe, "SystemControlAddress", "");
    if (TrimBlanks(SystemControlAddress).empty()) SystemControlAddress = mainServer;
    OtherSystemControlAddress = ini.ReadString(dbe, "OtherSystemControlAddress", "");
    if (TrimBlanks(OtherSystemControlAddress).empty()) OtherSystemControlAddress = mainServer;

    WorkDLLPath = PackageDirectories(ini, ServerPath, "S_PKG/");

    std::string dbType = Upper(DBSettings.At(0, 3).ToString());
    MainDBKind = dbType == "ORACLE" ? 1 : dbType == "DB2" ? 2 : 0;
}

// ---- Passwords and paths ------------------------------------------------------------------

std::string DecodeSQLSa(const std::string& stored) {
    std::string result;
    for (size_t i = 1; stored.size() >= 2 * i; ++i) {
        int hi = HexDigit(stored[2 * i - 2]), lo = HexDigit(stored[2 * i - 1]);
        if (hi < 0 || lo < 0) {
            Exception error("'" + stored.substr(2 * i - 2, 2) + "' is not a valid hexadecimal number");
            WriteExceptionReport(&error, EncodeSQLSa("DecodeSQLSa"), CN("解析 Sa 时发生错误!"));
            return kPasswordError;
        }
        result += static_cast<char>(RotateLeft(static_cast<uint8_t>(hi * 16 + lo), static_cast<int>(i % 8)));
    }
    return result == kNoPasswordMarker ? std::string() : result;
}

std::string EncodeSQLSa(const std::string& password) {
    const std::string plain = password.empty() ? std::string(kNoPasswordMarker) : password;
    static const char* kHex = "0123456789abcdef";
    std::string out;
    for (size_t i = 1; i <= plain.size(); ++i) {
        uint8_t v = RotateRight(static_cast<uint8_t>(plain[i - 1]), static_cast<int>(i % 8));
        out += kHex[v >> 4];
        out += kHex[v & 15];
    }
    return out;
}

std::string GetVantrelPath() {
    Registry registry;
    std::string path = registry.ReadValue(kLocalMachine, kVantrelKey, "ClientPath").value_or("");
    if (path.empty()) path = registry.ReadValue(kLocalMachine, kVantrelKey, "ServerPath").value_or("");
    return path;
}

std::string MakeAbsolutePath(const std::string& path, const std::string& base) {
    bool drive = path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    bool unc = path.rfind("\\\\", 0) == 0;
    if (drive || unc || (!path.empty() && path[0] == '/')) return path;
    if (!path.empty() && path[0] == '\\') return base + path.substr(1);
    return base + path;
}

std::string IncludeTrailingSeparator(const std::string& dir) {
    if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) return dir;
    return dir + "/";
}

}  // namespace vel
