#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <system_error>

#include "platform/system/dynlib.h"
#include "platform/text/codepage.h"
#include "runtime/logs.h"
#include "tests/support/temp_dir.h"

using namespace vel;
namespace fs = std::filesystem;

namespace {

class LogTest : public ::testing::Test {
protected:
    LogTest() : env_("VEL_REGISTRY", dir_.File("registry.ini")), tmp_("TMPDIR", dir_.File("tmp")) {}

    void ProductDirectory(const std::string& dir) {
        dir_.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" + dir + "\n");
    }
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    veltest::TempDir dir_;
    veltest::ScopedEnv env_;
    veltest::ScopedEnv tmp_;
};

}  // namespace

TEST_F(LogTest, AlertLogAppendsStampedLinesBelowTheProductDirectory) {
    ProductDirectory(dir_.Path() + "/suite");
    ASSERT_TRUE(WriteAlertLog("libstrs", "LINE[115] first", "D"));
    ASSERT_TRUE(WriteAlertLog("libstrs", "two\nlines", "X"));  // any other period is daily
    std::string file = dir_.Path() + "/suite/Log/" + AlertLogFileName("libstrs", "D");
    EXPECT_TRUE(std::regex_match(AlertLogFileName("libstrs", "D"), std::regex(R"(Alert_libstrs_\d{8}\.log)")));
    std::string text = Read(file);
    std::regex layout(R"(\[\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3}\] LINE\[115\] first\n)"
                      R"(\[\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3}\] two\nlines\n)");
    EXPECT_TRUE(std::regex_match(text, layout)) << text;
}

TEST_F(LogTest, PeriodStampsAndNamesWithADot) {
    EXPECT_TRUE(std::regex_match(AlertLogFileName("x", "M"), std::regex(R"(Alert_x_\d{6}\.log)")));
    EXPECT_TRUE(std::regex_match(AlertLogFileName("x", "Y"), std::regex(R"(Alert_x_\d{4}\.log)")));
    EXPECT_TRUE(std::regex_match(AlertLogFileName("x", "m"), std::regex(R"(Alert_x_\d{8}\.log)")));
    EXPECT_TRUE(std::regex_match(AlertLogFileName("up.txt", "D"), std::regex(R"(Alert_up\.txt_\d{8})")));
    EXPECT_TRUE(std::regex_match(GeneratorLogFileName(), std::regex(R"(Alert_TavroERPGenerator_\d{8}\.log)")));

    ProductDirectory(dir_.Path() + "/suite/");
    ASSERT_TRUE(WriteAlertLog("month", "a", "M"));
    ASSERT_TRUE(WriteAlertLog("month", "b", "M"));
    std::string text = Read(dir_.Path() + "/suite/Log/" + AlertLogFileName("month", "M"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST_F(LogTest, UnwritableDirectoryMakesTheWriterReturnFalse) {
    // A file where the directory should be cannot be made into a directory, even by root.
    dir_.Write("blocker", "not a directory");
    ProductDirectory(dir_.File("blocker") + "/suite");
    EXPECT_FALSE(WriteAlertLog("libstrs", "lost", "D"));
    EXPECT_FALSE(WriteGeneratorLog("lost"));
    EXPECT_NO_THROW(WriteExceptionReport(nullptr, "here", "lost"));
    // The log directory exists but the log file name is taken by a directory.
    ProductDirectory(dir_.Path() + "/ok");
    fs::create_directories(dir_.Path() + "/ok/Log/" + AlertLogFileName("busy", "D"));
    EXPECT_FALSE(WriteAlertLog("busy", "lost", "D"));
}

TEST_F(LogTest, WithoutProductDirectoryLogsGoBesideTheProgramAndToTheTemporaryDirectory) {
    EXPECT_EQ(GetLogBaseDirectory(), dir_.Path() + "/tmp/");
    ASSERT_TRUE(WriteGeneratorLog("generator"));
    EXPECT_NE(Read(dir_.Path() + "/tmp/Log/" + GeneratorLogFileName()).find("] generator\n"), std::string::npos);

    const std::string name = "runtime_test_" + std::to_string(::getpid());
    ASSERT_TRUE(WriteAlertLog(name, "beside the program", "D"));
    ASSERT_TRUE(WriteUpdateLog(name, "update", "D"));
    std::string file = ProgramDirectory() + "Log/" + AlertLogFileName(name, "D");
    std::string text = Read(file);
    fs::remove(file);
    std::error_code ec;
    fs::remove(ProgramDirectory() + "Log", ec);  // only when nothing else is in it
    EXPECT_NE(text.find("] beside the program\n"), std::string::npos) << file;
    EXPECT_NE(text.find("] update\n"), std::string::npos) << file;

    ProductDirectory(dir_.Path() + "/suite");
    EXPECT_EQ(GetLogBaseDirectory(), dir_.Path() + "/suite");
}

TEST_F(LogTest, ExceptionReports) {
    ProductDirectory(dir_.Path() + "/suite");
    const std::string dashes = "----------------------------------";
    std::string file = dir_.Path() + "/suite/Log/" + GeneratorLogFileName();
    auto lines = [&] {
        std::vector<std::string> out;
        std::istringstream in(Read(file));
        std::string line;
        while (std::getline(in, line)) {
            size_t p = line.find("] ");
            out.push_back(line[0] == '[' && p != std::string::npos ? line.substr(p + 2) : line);
        }
        fs::remove(file);
        return out;
    };

    WriteExceptionReport(nullptr, "  ", "  ");
    EXPECT_EQ(lines(), std::vector<std::string>{dashes + dashes});

    WriteExceptionReport(nullptr, "Form1", " check it ");
    EXPECT_EQ(lines(), (std::vector<std::string>{dashes + " on Form1 " + dashes, "Programer Message: check it"}));

    Exception plain("bad thing");
    WriteExceptionReport(&plain, "", "");
    EXPECT_EQ(lines(), (std::vector<std::string>{dashes + dashes, CN("讯息信息:"), "Exception is Exception\r",
                                                 "Message 01: bad thing", "ErrorMessage Count: 1"}));

    DBEngineError db("db", {{11, "first"}, {12, "second"}});
    WriteExceptionReport(&db, "", "");
    EXPECT_EQ(lines(), (std::vector<std::string>{dashes + dashes, CN("讯息信息:"),
                                                 "EDBEngineError Error 01: Code: 11, Message: first",
                                                 "EDBEngineError Error 02: Code: 12, Message: second",
                                                 "ErrorMessage Count: 2"}));

    std::system_error os(std::error_code(2, std::system_category()), "open");
    WriteExceptionReport(&os, "", "");
    std::vector<std::string> got = lines();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[2].rfind("EWin32Error Error 01: Code: 2, Message: open", 0), 0u) << got[2];

    std::ios_base::failure io("read failed");
    WriteExceptionReport(&io, "", "");
    got = lines();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[2].rfind("EInOutError Error 01: Code: ", 0), 0u) << got[2];
}
