#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "platform/system/sysinfo.h"
#include "platform/text/codepage.h"
#include "runtime/logs.h"
#include "runtime/vantrel_ini.h"
#include "tests/support/temp_dir.h"

using namespace vel;

namespace {

// A registry store and an installation directory in a temporary directory.
class ConfigTest : public ::testing::Test {
protected:
    ConfigTest() : env_("VEL_REGISTRY", dir_.File("registry.ini")), tmp_("TMPDIR", dir_.File("tmp")) {}

    void Registry(const std::string& values) {
        dir_.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\n" + values);
    }
    std::string Install() const { return dir_.Path() + "/suite/"; }
    void InstallRegistry(const std::string& extra = "") {
        Registry("ClientPath=" + dir_.Path() + "/suite\nServerPath=" + dir_.Path() + "/suite\n" + extra);
    }
    void Client(const std::string& text) { dir_.Write("suite/VantrelC.ini", text); }
    void Server(const std::string& text) { dir_.Write("suite/VantrelS.ini", text); }

    veltest::TempDir dir_;
    veltest::ScopedEnv env_;
    veltest::ScopedEnv tmp_;
};

std::string ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST_F(ConfigTest, MissingKeyLeavesDefaultsAndReportsIt) {
    TVantrelIniC c;
    EXPECT_EQ(c.ErrorCode, "E;000015");
    EXPECT_EQ(c.ClientPath, "");
    EXPECT_EQ(c.ProfileType, "0");
    EXPECT_EQ(c.UserName, "Default");
    EXPECT_EQ(c.UICodePage, MachineCodePageText());
    EXPECT_EQ(c.DBCodePage, "936");
    EXPECT_EQ(c.LangType, "ENG");
    EXPECT_TRUE(c.Servers.IsEmpty());
    EXPECT_TRUE(c.WorkDLLPath.empty());
    TVantrelIniS s;
    EXPECT_EQ(s.ErrorCode, "E;000015");
    EXPECT_EQ(s.DBSettings.At(0, 0), Variant());
    EXPECT_EQ(GetVantrelPath(), "");
}

TEST_F(ConfigTest, EmptyDirectoryStopsReadingQuietly) {
    Registry("ClientPath=\nProfileType=0\n");
    TVantrelIniC c;
    EXPECT_EQ(c.ErrorCode, "");
    EXPECT_EQ(c.IniFileName, "");
    TVantrelIniS s;
    EXPECT_EQ(s.ErrorCode, "");
    EXPECT_EQ(s.ServerPath, "");
}

TEST_F(ConfigTest, ClientDefaultsWithoutAFile) {
    InstallRegistry();
    TVantrelIniC c;
    EXPECT_EQ(c.ErrorCode, "");
    EXPECT_EQ(c.ClientPath, Install());
    EXPECT_EQ(c.ProfilePath, Install());
    EXPECT_EQ(c.IniFileName, Install() + "VantrelC.ini");
    EXPECT_EQ(c.LangType, "ENG");
    EXPECT_EQ(c.CreateGifBeforeSendEF, "Y");
    EXPECT_EQ(c.AutoCheckNewMsg, "1");
    EXPECT_EQ(c.CheckInterval, "1");
    EXPECT_EQ(c.PopupMsg, "1");
    EXPECT_EQ(c.LoginCheck, "0");
    EXPECT_FALSE(c.SupportCallBack);
    ASSERT_TRUE(c.Servers.IsArray());
    EXPECT_EQ(c.Servers.HighBound(2), 0);
    EXPECT_EQ(c.Servers.At(0, 0), Variant("127.0.0.1"));
    EXPECT_EQ(c.Servers.At(1, 0), Variant(211));
    EXPECT_EQ(c.WorkDLLPath, std::vector<std::string>{Install() + "C_PKG/"});
    EXPECT_EQ(GetVantrelPath(), dir_.Path() + "/suite");
}

TEST_F(ConfigTest, ClientFileServersCodePagesAndPackages) {
    InstallRegistry();
    Client("[Server Information]\nComputerName= alpha; beta;\nServerPort=300\nSupportCallBack=yes\n"
           "[CodePage]\nUICodePage=950\nDBCodePage=936\n"
           "[Client Components]\nLangType=CHT\n[ProductVersion]\nVersion=8.1\n"
           "[UserDefine]\nCreateGifBeforeSendEF=N\n"
           "[TaskMessageCenter Setting]\nAutoCheckNewMsg=0\nCheckInterval=5\nPopupMsg=0\nLoginCheck=1\n"
           "[WorkDLLPath]\nA=\\Pkg\nB=D:\\X\nC=Sub\nD=/opt/pkg\nE=Ready/\n");
    TVantrelIniC c;
    EXPECT_EQ(c.ErrorCode, "");
    ASSERT_TRUE(c.Servers.IsArray());
    ASSERT_EQ(c.Servers.HighBound(2), 1);
    EXPECT_EQ(c.Servers.At(0, 0), Variant("alpha"));
    EXPECT_EQ(c.Servers.At(0, 1), Variant(" beta"));  // entries are not trimmed
    EXPECT_EQ(c.Servers.At(1, 0), Variant(300));
    EXPECT_EQ(c.Servers.At(1, 1), Variant(300));
    EXPECT_TRUE(c.SupportCallBack);
    EXPECT_EQ(c.UICodePage, "950");
    EXPECT_EQ(c.ScreenMode, 2);
    EXPECT_EQ(c.DataMode, 2);
    EXPECT_EQ(c.LangType, "CHT");
    EXPECT_EQ(c.Version, "8.1");
    EXPECT_EQ(c.CreateGifBeforeSendEF, "N");
    EXPECT_EQ(c.AutoCheckNewMsg, "0");
    EXPECT_EQ(c.CheckInterval, "5");
    EXPECT_EQ(c.PopupMsg, "0");
    EXPECT_EQ(c.LoginCheck, "1");
    EXPECT_EQ(c.WorkDLLPath, (std::vector<std::string>{Install() + "Pkg/", "D:\\X/", Install() + "Sub/", "/opt/pkg/",
                                                        Install() + "Ready/"}));
}

TEST_F(ConfigTest, SupportCallBackTexts) {
    InstallRegistry();
    for (auto [text, expected] : {std::pair{"1", true}, {"y", true}, {"Yes", true}, {"TRUE", true}, {"2", false},
                                  {"no", false}, {"", false}}) {
        Client(std::string("[Server Information]\nSupportCallBack=") + text + "\n");
        EXPECT_EQ(TVantrelIniC().SupportCallBack, expected) << text;
    }
}

TEST_F(ConfigTest, BlankComputerNameStillResolvesPackages) {
    InstallRegistry();
    Client("[Server Information]\nComputerName=;\n[WorkDLLPath]\nA=Sub\n");
    TVantrelIniC c;
    EXPECT_EQ(c.ErrorCode, "E;000016");
    EXPECT_TRUE(c.Servers.IsEmpty());
    EXPECT_EQ(c.WorkDLLPath, std::vector<std::string>{Install() + "Sub/"});
}

TEST_F(ConfigTest, ProfileDirectoryFileWinsOverTheInstallationFile) {
    const std::string user = CurrentUserName().substr(0, 32);
    InstallRegistry("ProfileType=1\n");
    Client("[Client Components]\nLangType=GB\n");
    TVantrelIniC fallback;
    EXPECT_EQ(fallback.UserName, user);
    EXPECT_EQ(fallback.ProfilePath, Install());
    EXPECT_EQ(fallback.LangType, "GB");

    dir_.Write("suite/Profile/" + user + "/VantrelC.ini", "[Client Components]\nLangType=BIG5\n");
    TVantrelIniC profile;
    EXPECT_EQ(profile.ProfilePath, Install() + "Profile/" + user + "/");
    EXPECT_EQ(profile.IniFileName, profile.ProfilePath + "VantrelC.ini");
    EXPECT_EQ(profile.LangType, "BIG5");
    EXPECT_EQ(profile.WorkDLLPath, std::vector<std::string>{Install() + "C_PKG/"});
}

TEST_F(ConfigTest, ServerSettings) {
    InstallRegistry();
    Server("[DBE Setting]\nMainAlias=Prod\nXXXXXX=" + EncodeSQLSa("s3cret") + "\nTempPassword=" + EncodeSQLSa("") +
           "\nMainDBType=oracle\nMainServerName=db1\nMainConnectionTimeOut=abc\nMainCommandTimeOut=60\n"
           "EctPassword=" + EncodeSQLSa("x") + "\nOtherSystemControlAddress=ctl2\n"
           "[DBPasswordCtrl]\nComputerName= app1 \nServerPort=400\nSupportCallBack=true\n"
           "[CodePage]\nUICodePage=936\nDBCodePage=950\n[WorkDLLPath]\nP=\n");
    TVantrelIniS s;
    EXPECT_EQ(s.ErrorCode, "");
    EXPECT_EQ(s.ServerPath, Install());
    EXPECT_EQ(s.DBSettings.At(0, 0), Variant("Prod"));
    EXPECT_EQ(s.DBSettings.At(0, 1), Variant("sa"));
    EXPECT_EQ(s.DBSettings.At(0, 2), Variant("s3cret"));
    EXPECT_EQ(s.DBSettings.At(0, 6), Variant(300));  // not a number: the default
    EXPECT_EQ(s.DBSettings.At(0, 7), Variant(60));
    EXPECT_EQ(s.DBSettings.At(1, 0), Variant("ZorvanTemp"));
    EXPECT_EQ(s.DBSettings.At(1, 2), Variant(""));
    EXPECT_EQ(s.DBSettings.At(1, 3), Variant("PARADOX"));
    EXPECT_EQ(s.DBSettings.At(1, 5), Variant("PostgreSQL"));
    EXPECT_EQ(s.DBSettings.At(2, 0), Variant("app1"));
    EXPECT_EQ(s.DBSettings.At(2, 1), Variant(400));
    EXPECT_EQ(s.DBSettings.At(2, 2), Variant(1024));
    EXPECT_EQ(s.DBSettings.At(2, 3), Variant("Chinese_Taiwan_Stroke_BIN"));
    EXPECT_EQ(s.DBSettings.At(3, 0), Variant("EDIDATA"));
    EXPECT_EQ(s.DBSettings.At(3, 2), Variant(EncodeSQLSa("x")));  // kept as stored
    EXPECT_TRUE(s.DBSettings.At(3, 3).IsEmpty());
    EXPECT_EQ(s.MainDBKind, 1);
    EXPECT_TRUE(s.SupportCallBack);
    EXPECT_EQ(s.SystemControlAddress, "db1");
    EXPECT_EQ(s.OtherSystemControlAddress, "ctl2");
    EXPECT_EQ(s.DataMode, 1);
    // An empty package value names the installation directory, not "/".
    std::vector<std::string> list{"old"};
    s.CopyWorkDLLPath(list);
    EXPECT_EQ(list, std::vector<std::string>{Install()});

    Server("[DBE Setting]\nMainDBType=Db2\n");
    TVantrelIniS db2;
    EXPECT_EQ(db2.MainDBKind, 2);
    EXPECT_EQ(db2.DBSettings.At(0, 0), Variant("Zorvan"));
    EXPECT_EQ(db2.DBSettings.At(0, 3), Variant("Db2"));
    EXPECT_EQ(db2.WorkDLLPath, std::vector<std::string>{Install() + "S_PKG/"});
}

TEST(ConversionModesTest, Table) {
    struct Case {
        const char *ui, *db, *sys;
        int screen, data;
    } cases[] = {
        {"950", "936", "936", 2, 2}, {"950", "950", "936", 2, 0}, {"936", "936", "950", 4, 0},
        {"936", "950", "936", 0, 1}, {"936", "936", "936", 0, 0}, {"437", "936", "437", 0, 0},
    };
    for (const auto& c : cases) {
        ConversionModes m = DeriveConversionModes(c.ui, c.db, c.sys);
        EXPECT_EQ(m.screenMode, c.screen) << c.ui << c.db << c.sys;
        EXPECT_EQ(m.dataMode, c.data) << c.ui << c.db << c.sys;
    }
}

TEST(PathTest, MakeAbsolutePath) {
    EXPECT_EQ(MakeAbsolutePath("\\Pkg\\", "/opt/suite/"), "/opt/suite/Pkg\\");
    EXPECT_EQ(MakeAbsolutePath("Sub/", "/opt/suite/"), "/opt/suite/Sub/");
    EXPECT_EQ(MakeAbsolutePath("D:\\X\\", "/opt/suite/"), "D:\\X\\");
    EXPECT_EQ(MakeAbsolutePath("\\\\srv\\share", "/opt/suite/"), "\\\\srv\\share");
    EXPECT_EQ(MakeAbsolutePath("/abs/", "/opt/suite/"), "/abs/");
    EXPECT_EQ(MakeAbsolutePath("\\Pkg", "C:\\Suite\\"), "C:\\Suite\\Pkg");
}

TEST_F(ConfigTest, StoredPasswords) {
    EXPECT_EQ(DecodeSQLSa(""), "");
    EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("")), "");
    for (const char* password : {"a", "sa", "pass word 12345678!", "\xb9\xfa"})
        EXPECT_EQ(DecodeSQLSa(EncodeSQLSa(password)), password);
    // Character i is rotated right by i mod 8 bits: 'a' (0x61) at position 1 is 0xb0.
    EXPECT_EQ(EncodeSQLSa("a"), "b0");
    EXPECT_EQ(DecodeSQLSa("B0"), "a");   // either letter case
    EXPECT_EQ(DecodeSQLSa("b0f"), "a");  // a trailing odd character is ignored

    InstallRegistry();
    EXPECT_EQ(DecodeSQLSa("b0zz"), kPasswordError);
    std::string log = ReadAll(Install() + "Log/" + GeneratorLogFileName());
    EXPECT_NE(log.find(" on " + EncodeSQLSa("DecodeSQLSa") + " "), std::string::npos) << log;
    EXPECT_NE(log.find("Programer Message: " + CN("解析 Sa 时发生错误!")), std::string::npos) << log;
}
