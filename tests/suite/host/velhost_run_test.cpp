// velhost run as an integrator uses it: the built host opening the built module against a
// real velserver over TCP, or against the server object inside the host (local mode).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "platform/text/codepage.h"
#include "tests/suite/server/server_process.h"
#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace {

std::string Quote(const std::string& word) { return veltest::ShellQuote(word); }

class VelhostRun : public ::testing::Test {
protected:
    // Plays `script` with velhost run and the given connection flags; answers its output.
    std::string Play(const std::string& flags, const std::string& script) {
        dir_.Write("script.txt", script);
        return Velhost("run " + flags + " " + Quote(std::string(VEL_BIN_DIR) + "/QMLK07C.so") + " " +
                       Quote(dir_.File("script.txt")));
    }
    // velhost with other words, with a private local database and temporary directory.
    std::string Velhost(const std::string& words) {
        std::string cmd = "env -u VEL_REGISTRY VEL_SERVER_DB=" + Quote(dir_.File("local.db")) + " TMPDIR=" +
                          Quote(dir_.Path()) + " " + Quote(std::string(VEL_BIN_DIR) + "/velhost") + " " + words + " 2>&1";
        return veltest::ShellOutput(cmd);
    }
    static bool Has(const std::string& out, const std::string& line) { return out.find(line + "\n") != std::string::npos; }

    veltest::TempDir dir_;
};

}  // namespace

TEST_F(VelhostRun, CaptionComesFromTheServerOverTcpAndInLocalMode) {
    const std::string caption = "frmQMLK07.Caption=成本差异分析表[示范公司]";
    ServerProcess server(dir_.File("server.db"));
    std::string tcp = Play("--server localhost:" + std::to_string(server.Port()), "show frmQMLK07.Caption\n");
    EXPECT_TRUE(Has(tcp, "initialize 0")) << tcp;
    EXPECT_TRUE(Has(tcp, caption)) << tcp;
    std::string local = Play("--local", "show frmQMLK07.Caption\n");
    EXPECT_TRUE(Has(local, caption)) << local;
}

TEST_F(VelhostRun, AStoppedServerMeansNoForm) {
    int port;
    {
        ServerProcess server(dir_.File("server.db"));
        port = server.Port();
    }
    std::string out = Play("--server localhost:" + std::to_string(port), "show frmQMLK07.Caption\n");
    EXPECT_TRUE(Has(out, "dialog error 无法连接应用服务器，请检查服务器地址与端口设置！")) << out;
    EXPECT_TRUE(Has(out, "initialize -1")) << out;
}

TEST_F(VelhostRun, AShortHostParameterArrayIsReported) {
    std::string out = Play("--local --params '[\"DS\",\"DEMO\",\"DEMO\",0]'", "");
    EXPECT_TRUE(Has(out, "dialog error 主程序传入的参数不足，无法执行！")) << out;
}

TEST_F(VelhostRun, PrintDateIsCheckedWhenLeftAndPackedAsYmd) {
    std::string out = Play("--local",
                           "type ed01 2024/03\n"
                           "type edPrintDate 2024/3/5\nkey edPrintDate Tab\nvalue edPrintDate\n"
                           "type edPrintDate 2024/02/30\nkey edPrintDate Tab\nshow frmQMLK07.ActiveControl\n");
    EXPECT_TRUE(Has(out, "edPrintDate=\"20240305\"")) << out;
    EXPECT_TRUE(Has(out, "dialog error 日期或时间格式不正确！")) << out;
    EXPECT_TRUE(Has(out, "frmQMLK07.ActiveControl=edPrintDate")) << out;
}

TEST_F(VelhostRun, PanelsTakeLookupPicksAndPackTheirValues) {
    std::string out = Play("--local",
                           "click sp02.chkUserChoice\n"
                           "pick [[\"A001\",\"a\",\"b\",\"c\",\"d\",\"e\"],[\"B001\",\"a\",\"b\",\"c\",\"d\",\"e\"],"
                           "[\"C001\",\"a\",\"b\",\"c\",\"d\",\"e\"]]\n"
                           "key sp02.ListBox F2\n"
                           "type sp03.edBegin A001\n"
                           "type ed01 2024/03\nvalue sp02\nvalue sp03\n");
    EXPECT_TRUE(Has(out, "lookup INVMB 01")) << out;
    EXPECT_TRUE(Has(out, "sp02=[\"\\u0005\",[\"A001\",\"a\",\"b\",\"c\"],[\"B001\",\"a\",\"b\",\"c\"],[\"C001\",\"a\",\"b\",\"c\"]]"))
        << out;
    EXPECT_TRUE(Has(out, "sp03=[\"\\u0004\",\"A001\",\"\"]")) << out;
}

TEST_F(VelhostRun, ASchemeSavedInOneRunOpensInTheNextForItsOwnerOnly) {
    std::string saved = Play("--local",
                             "type ed01 2024/03\n"
                             "click sp02.chkUserChoice\n"
                             "pick [[\"A001\",\"a\"],[\"B001\",\"b\"]]\n"
                             "key sp02.ListBox F2\n"
                             "type sp03.edBegin W01\ntype sp03.edFinal W02\n"
                             "click chk04\n"
                             "click btnInsert\ntype edConName 月结\nclick btnOk\nclose\n");
    EXPECT_EQ(saved.find("dialog"), std::string::npos) << saved;
    const std::string open = "select lstCondition 月结\nclick btnOpen\nvalue ed01\nvalue sp02\nvalue sp03\nvalue chk04\n";
    std::string reopened = Play("--local", open);
    EXPECT_TRUE(Has(reopened, "ed01=\"202403\"")) << reopened;
    EXPECT_TRUE(Has(reopened, "sp02=[\"\\u0005\",[\"A001\",\"a\"],[\"B001\",\"b\"]]")) << reopened;
    EXPECT_TRUE(Has(reopened, "sp03=[\"\\u0004\",\"W01\",\"W02\"]")) << reopened;
    EXPECT_TRUE(Has(reopened, "chk04=\"N\"")) << reopened;
    std::string other = Play("--user U2 --local", open);
    EXPECT_TRUE(Has(other, "error line 1: no item 月结 in lstCondition")) << other;
}

// The shipped demo: the report of the job it submits keeps to its conditions, and without
// "differences only" it shows a superset.
TEST_F(VelhostRun, TheDemoScriptSubmitsAJobWhoseReportKeepsToItsConditions) {
    std::ifstream file(std::string(VEL_SOURCE_DIR) + "/suite/host/scripts/qmlk07_demo.txt");
    std::stringstream shipped;
    shipped << file.rdbuf();
    const std::string script = shipped.str();
    ASSERT_NE(script.find("click btnOk"), std::string::npos);

    auto report = [&](const std::string& text) {
        std::string out = Play("--local", text);
        std::smatch m;
        EXPECT_TRUE(std::regex_search(out, m, std::regex("result 1 \"(J[0-9]{8}-[0-9]{6})\""))) << out;
        return Velhost("report " + m[1].str() + " --local --wait");
    };
    auto rows = [](const std::string& csv) {
        std::set<std::string> lines;
        std::istringstream in(csv);
        std::string line;
        std::getline(in, line);  // the header
        while (std::getline(in, line))
            if (!line.empty()) lines.insert(line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
        return lines;
    };
    std::set<std::string> differences = rows(report(script));
    ASSERT_FALSE(differences.empty());
    for (const std::string& row : differences) {
        std::vector<std::string> f;
        std::stringstream cells(row);
        for (std::string c; std::getline(cells, c, ',');) f.push_back(c);
        ASSERT_EQ(f.size(), 9u) << row;
        EXPECT_TRUE(f[0] >= "A001" && f[0] <= "P999") << row;
        EXPECT_TRUE(f[2] == "W01" || f[2] == "W02") << row;
        EXPECT_NE(std::stod(f[8]), 0.0) << row;
    }
    std::string all = script;
    all.replace(all.find("click btnOk"), 0, "click chk04\n");
    std::set<std::string> everything = rows(report(all));
    EXPECT_GT(everything.size(), differences.size());
    for (const std::string& row : differences) EXPECT_EQ(everything.count(row), 1u) << row;
}
