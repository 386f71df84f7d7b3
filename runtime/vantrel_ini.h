#pragma once
// The suite's configuration: the installation directories in the registry key
// Software\Vel\Vantrel and the INI files VantrelC.ini (client) and VantrelS.ini (server).
// A reader fills its fields when it is created, never writes, and never raises; what went
// wrong first is in ErrorCode as a message code.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/variant/variant.h"

namespace vel {

inline constexpr const char* kVantrelKey = "Software\\Vel\\Vantrel";
inline constexpr const char* kNoPasswordMarker = "Vel_Say_NoPassWord_ThePassWordIsEmpty";
inline constexpr const char* kPasswordError = "Vel_Say_Password_Error";

// The two conversion modes the code converter works with, from the user-interface, database
// and system code pages (decimal texts).
struct ConversionModes {
    uint8_t screenMode = 0;
    uint8_t dataMode = 0;
};
ConversionModes DeriveConversionModes(const std::string& uiCodePage, const std::string& dbCodePage,
                                      const std::string& systemCodePage);
// "936" or "950" when the machine's code page is one of them, else "437".
std::string MachineCodePageText();

class IniFile;

// What both readers hold: where the installation and its INI file are, the code pages and the
// conversion modes they give, the package directories and the first error.
class TVantrelIniBase {
public:
    std::string ProfilePath;
    std::string ProfileType = "0";
    std::string UserName = "Default";
    std::string UICodePage;
    std::string DBCodePage = "936";
    std::string SystemCodePage;
    uint8_t ScreenMode = 0;
    uint8_t DataMode = 0;
    bool SupportCallBack = false;
    std::string IniFileName;
    std::string ErrorCode;
    std::vector<std::string> WorkDLLPath;
    std::string Version;

protected:
    // Code pages from the machine; then the installation directory named by the registry
    // value `pathValue` and the INI file `iniName` there (or in the user's profile). False,
    // with ErrorCode set when the key is missing, when there is nothing to read.
    bool LocateInstallation(const char* pathValue, const char* iniName, std::string& installPath);
    // The [CodePage] section and the modes it gives.
    void ReadCodePages(const IniFile& ini);
    void UpdateModes();
};

class TVantrelIniC : public TVantrelIniBase {
public:
    TVantrelIniC();

    std::string ClientPath;
    Variant Servers;  // [0, i] address text, [1, i] port, i = 0..n-1
    std::string LangType = "ENG";
    std::string CreateGifBeforeSendEF = "Y";
    std::string AutoCheckNewMsg = "1";
    std::string CheckInterval = "1";
    std::string PopupMsg = "1";
    std::string LoginCheck = "0";

private:
    void Read();
};

class TVantrelIniS : public TVantrelIniBase {
public:
    TVantrelIniS();

    // Replaces the list's contents with the package directories.
    void CopyWorkDLLPath(std::vector<std::string>& list) const;

    std::string ServerPath;
    Variant DBSettings;  // rows 0..3, columns 0..7
    uint8_t MainDBKind = 0;  // 1 ORACLE, 2 DB2, 0 any other
    std::string SystemControlAddress;
    std::string OtherSystemControlAddress;

private:
    void Read();
};

// A stored database password (hexadecimal pairs, character i rotated right by i mod 8 bits)
// in plain text. Text that is not hexadecimal gives kPasswordError and an exception report.
std::string DecodeSQLSa(const std::string& stored);
// The stored form of a password; an empty password is stored as the marker text.
std::string EncodeSQLSa(const std::string& password);

// The registry's ClientPath, or ServerPath when that is empty; empty when neither exists.
std::string GetVantrelPath();
// A path starting with "/" or a drive ("C:", "\\server") stays as it is; "\sub" and "sub" are
// taken below `base`.
std::string MakeAbsolutePath(const std::string& path, const std::string& base);
// `dir` with a trailing "/" unless it already ends with a separator.
std::string IncludeTrailingSeparator(const std::string& dir);

}  // namespace vel
