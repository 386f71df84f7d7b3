// velctl as an administrator runs it: the built binary, its output and its exit code.
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& word) { return veltest::ShellQuote(word); }

class VelctlTest : public ::testing::Test {
protected:
    // Runs velctl with the given words; `env` is prepended as NAME=value words, `input` is
    // its standard input.
    Result Run(const std::vector<std::string>& words, const std::vector<std::string>& env = {},
               const std::string& input = "") {
        dir_.Write("stdin", input);
        std::string cmd = "env VEL_REGISTRY=" + Quote(dir_.File("registry.ini")) + " TMPDIR=" + Quote(dir_.File("tmp"));
        for (const auto& e : env) cmd += " " + Quote(e);
        cmd += " " + Quote(std::string(VEL_BIN_DIR) + "/velctl");
        for (const auto& w : words) cmd += " " + Quote(w);
        cmd += " <" + Quote(dir_.File("stdin")) + " 2>" + Quote(dir_.File("stderr"));
        Result r;
        r.out = veltest::ShellOutput(cmd, &r.code);
        std::FILE* e = std::fopen(dir_.File("stderr").c_str(), "rb");
        if (e) {
            char buf[4096];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, e)) > 0) r.err.append(buf, n);
            std::fclose(e);
        }
        return r;
    }
    std::string Out(const std::vector<std::string>& words, const std::vector<std::string>& env = {},
                    const std::string& input = "") {
        Result r = Run(words, env, input);
        EXPECT_EQ(r.code, 0) << r.err;
        return r.out;
    }
    static bool Has(const std::string& out, const std::string& line) {
        return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
    }

    veltest::TempDir dir_;
};

TEST_F(VelctlTest, DateCommands) {
    struct Case {
        std::vector<std::string> words;
        const char* expected;
    } cases[] = {
        {{"date", "first-run", "20240508", "weekly:1:5"}, "20240510\n"},
        {{"date", "first-run", "20240508", "weekly:1:1"}, "20240513\n"},
        {{"date", "first-run", "20240508", "monthly-weekday:1:0:5"}, "20240607\n"},
        {{"date", "first-run", "20240531", "monthly-weekday:1:4:5"}, "20240531\n"},
        {{"date", "first-run", "20240410", "monthly-day:1:31"}, "20240430\n"},
        {{"date", "first-run", "20240508", "daily:3"}, "20240508\n"},
        {{"date", "first-run", "20240508", "hourly:2"}, "\n"},
        {{"date", "shift", "20240131", "M", "1"}, "20240229\n"},
        {{"date", "shift", "20240131", "m", "-1"}, "20231231\n"},
        {{"date", "shift", "20240131", "W", "1"}, "\n"},
        {{"date", "resolve", "20240515", "-1", "1", "2", "0"}, "20240430\n"},
        {{"date", "resolve", "20240515", "0", "0", "1", "0"}, "20240512\n"},
        {{"date", "resolve", "202405", "2", "1", "0", "0"}, "202407\n"},
        {{"date", "format", "1", "/", "20240507"}, "2024/05/07\n"},
        {{"date", "format", "4", "/", "20240507"}, "113/05/07\n"},
        {{"date", "format", "3", "", "20240507"}, "07052024\n"},
        {{"date", "format", "1", "/", "20240230"}, "\n"},
        {{"date", "format", "7", "/", "20240507"}, "\n"},
        {{"date", "format-ym", "2", "/", "20240507"}, "05/2024\n"},
        {{"date", "parse", "1", "/", "2024 / 5 / 7"}, "20240507\n"},
        {{"date", "parse", "1", "/", "2024/02/30"}, "20240301\n"},
        {{"date", "parse", "1", "/", "2024/13/01"}, "\n"},
        {{"date", "valid", "20240229"}, "true\n"},
        {{"date", "valid", "17521231"}, "false\n"},
        {{"date", "valid", ""}, "true\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Out(c.words), c.expected) << testing::PrintToString(c.words);
}

// Texts on the command line are UTF-8 and go through the machine's code page both ways.
TEST_F(VelctlTest, TextsTravelThroughTheCodePage) {
    EXPECT_EQ(Out({"date", "format", "1", "年", "20240507"}), "2024年05年07\n");
    EXPECT_EQ(Out({"date", "format", "1", "年", "20240507"}, {"VEL_ACP=950"}), "2024年05年07\n");
    EXPECT_EQ(Out({"date", "parse", "1", "年", "2024年5年7"}), "20240507\n");
    std::string stored = Out({"password", "encode", "密码"});
    ASSERT_EQ(stored.size(), 9u);  // two GBK characters, two hexadecimal digits per byte
    stored.pop_back();
    EXPECT_EQ(Out({"password", "decode", stored}), "密码\n");
}

TEST_F(VelctlTest, Passwords) {
    EXPECT_EQ(Out({"password", "encode", "a"}), "b0\n");
    EXPECT_EQ(Out({"password", "decode", "b0"}), "a\n");
    std::string empty = Out({"password", "encode", ""});
    EXPECT_EQ(empty.size(), 2 * 37 + 1u);
    empty.pop_back();
    EXPECT_EQ(Out({"password", "decode", empty}), "\n");
    EXPECT_EQ(Out({"password", "decode", "zz"}), "Vel_Say_Password_Error\n");
}

TEST_F(VelctlTest, WrongArgumentsExitTwoWithUsage) {
    std::vector<std::vector<std::string>> bad = {
        {},
        {"nosuch"},
        {"date"},
        {"date", "shift", "20240131", "M"},
        {"date", "shift", "20240131", "M", "x"},
        {"date", "format", "a", "/", "20240507"},
        {"date", "first-run", "20240508", "weekly:1"},
        {"date", "first-run", "20240508", "yearly:1"},
        {"date", "first-run", "20240508", "weekly:1:x"},
        {"config"},
        {"config", "both"},
        {"password", "decode"},
        {"convert"},
        {"convert", "gb2big5", "x"},
        {"convert", "big5"},
    };
    for (const auto& words : bad) {
        Result r = Run(words);
        EXPECT_EQ(r.code, 2) << testing::PrintToString(words);
        EXPECT_EQ(r.out, "") << testing::PrintToString(words);
        EXPECT_NE(r.err.find("usage: velctl"), std::string::npos) << testing::PrintToString(words) << r.err;
    }
    Result help = Run({"help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("velctl config client | server"), std::string::npos);
}

TEST_F(VelctlTest, ConvertRoundTripsThroughTheLanguageLibrary) {
    const std::string gb = "\xB9\xFA\xBC\xD2\xCD\xB3\xBC\xC6\xBE\xD6\r\nQMLK07\n";    // 国家统计局
    const std::string big5 = "\xB0\xEA\xAE\x61\xB2\xCE\xAD\x70\xA7\xBD\r\nQMLK07\n";  // 國家統計局
    EXPECT_EQ(Out({"convert", "gb2big5"}, {}, gb), big5);
    EXPECT_EQ(Out({"convert", "big52gb"}, {}, big5), gb);
    EXPECT_EQ(Out({"convert", "gb2big5"}, {}, ""), "");
    // Input larger than one conversion block, ending without a newline.
    std::string manyGb, manyBig5;
    for (int i = 0; i < 120000; ++i) manyGb += gb, manyBig5 += big5;
    manyGb += gb.substr(0, 4), manyBig5 += big5.substr(0, 4);
    std::string out = Out({"convert", "gb2big5"}, {}, manyGb);
    EXPECT_EQ(out.size(), manyBig5.size());
    EXPECT_TRUE(out == manyBig5);

    Result missing = Run({"convert", "gb2big5"}, {"VEL_LIBRARY_PATH=" + dir_.Path()}, gb);
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "velctl: Load Library Vellanguage.so Error!\n");
}

TEST_F(VelctlTest, ConfigClientAndServer) {
    Result none = Run({"config", "client"});
    EXPECT_EQ(none.code, 0);
    EXPECT_TRUE(Has(none.out, "ErrorCode=E;000015")) << none.out;
    EXPECT_FALSE(Has(none.out, "Servers=127.0.0.1:211")) << none.out;

    const std::string suite = dir_.Path() + "/suite";
    dir_.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" + suite +
                                   "\nServerPath=" + suite + "\n");
    dir_.Write("suite/VantrelC.ini",
               "[Server Information]\nComputerName=alpha;beta;\nServerPort=300\n"
               "[WorkDLLPath]\nOne=\\Pkg\nTwo=D:\\X\n[CodePage]\nUICodePage=950\n");
    std::string client = Out({"config", "client"});
    EXPECT_NE(client.find("Servers=alpha:300\nServers=beta:300\n"), std::string::npos) << client;
    EXPECT_NE(client.find("WorkDLLPath=" + suite + "/Pkg/\nWorkDLLPath=D:\\X/\n"), std::string::npos) << client;
    for (const char* line : {"ErrorCode=", "ScreenMode=2", "DataMode=2", "UserName=Default", "LangType=ENG",
                             "SupportCallBack=false", "LoginCheck=0"})
        EXPECT_TRUE(Has(client, line)) << line << "\n" << client;
    EXPECT_TRUE(Has(client, "ClientPath=" + suite + "/"));
    EXPECT_TRUE(Has(client, "IniFileName=" + suite + "/VantrelC.ini"));
    // The machine's code page decides the system code page and the modes.
    std::string big5 = Out({"config", "client"}, {"VEL_ACP=950"});
    EXPECT_TRUE(Has(big5, "SystemCodePage=950")) << big5;
    std::string other = Out({"config", "client"}, {"VEL_ACP=1252"});
    EXPECT_TRUE(Has(other, "SystemCodePage=437")) << other;

    std::string server = Out({"config", "server"});
    for (const char* line : {"DBSettings[0,0]=Zorvan", "DBSettings[2,1]=211", "MainDBKind=0", "ErrorCode="})
        EXPECT_TRUE(Has(server, line)) << line << "\n" << server;
    EXPECT_TRUE(Has(server, "WorkDLLPath=" + suite + "/S_PKG/")) << server;
}

}  // namespace
