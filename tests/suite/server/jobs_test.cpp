// Jobs run by a real velserver: queue order, real-time and timed jobs, failures, restarts,
// the cost difference report's rows and HTML, and velhost's job commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/net/socket_connection.h"
#include "platform/net/wire.h"
#include "platform/text/codepage.h"
#include "suite/host/job_commands.h"
#include "suite/server/job_params.h"
#include "suite/server/server_store.h"
#include "tests/suite/server/server_process.h"

using vel::Variant;
namespace net = vel::net;

namespace {

constexpr const char* kCsvHeader = "品号,品名,仓库,仓库名称,数量,金额,单位成本,标准成本,差异金额";

// Columns of a JobList / JobStatus row.
enum { kRef, kProgram, kUser, kMode, kStatus, kSubmitted, kRunAt, kStarted, kFinished, kError, kOutputs };

std::string Gbk(const char* utf8) { return vel::Utf8ToCodePage(utf8, vel::kCodePageGB); }
Variant W(const char* utf8) { return Variant(vel::Utf8ToWide(utf8)); }

Variant Range(const char* begin, const char* end) { return Variant::Of({W("\x04"), W(begin), W(end)}); }

Variant List(std::initializer_list<const char*> codes) {
    Variant v = Variant::Array(0, static_cast<int>(codes.size()));
    v[0] = W("\x05");
    int i = 1;
    for (const char* c : codes) v[i++] = Variant::Of({W(c), W("名称")});
    return v;
}

// A cost difference job packed as the report form packs it (texts wide, as it sends them).
struct Job {
    std::string month = "202612";
    Variant items = Range("", "");
    Variant warehouses = Range("", "");
    std::string only = "Y";
    int mode = 0;
    double runAt = 0;
    int flags = 1;
    std::string user = "ADMIN";
    int dateType = 1;
    std::string printDate = "20261231";
    std::string footerCode = "F01";
    std::vector<const char*> footerLines = {"本表仅供内部使用", "金额单位：元", ""};

    Variant Env() const {
        Variant e = Variant::Array(1, 14);
        e[1] = W("QMLK07");
        e[2] = Variant(14);
        e[3] = Variant(8);
        e[4] = W("DEMO");
        e[5] = W(user.c_str());
        e[6] = W("DEMO");
        e[7] = Variant::FromDate(velserver::NowDateValue());
        e[8] = W("QMLK07S.Class1");
        e[9] = W("R");
        e[10] = Variant(mode);
        e[11] = Variant::FromDate(runAt > 0 ? runAt : velserver::NowDateValue());
        e[12] = W("");
        e[13] = Variant(flags);
        e[14] = W("");
        return e;
    }
    Variant Texts() const {
        const char* t[][2] = {{"选择年月", "ed01"}, {"选择品号", "sp02"}, {"选择仓库", "sp03"},
                              {"仅打印有差异者", "chk04"}, {"签核", "grpSignIn"}, {"页脚", "grpNote"},
                              {"日期类型", "cboDateType"}, {"制表日期", "edPrintDate"}};
        Variant texts = Variant::Array(1, 8);
        for (int i = 0; i < 8; ++i) texts[i + 1] = Variant::Of({W(t[i][0]), W(t[i][1])});
        return texts;
    }
    Variant Values() const {
        Variant v = Variant::Array(1, 8);
        v[1] = W(month.c_str());
        v[2] = items;
        v[3] = warehouses;
        v[4] = W(only.c_str());
        v[5] = Variant::Of({W("每页打印签核"), Variant(false), W("S01"), W("制表"), W("审核"), W("核准")});
        v[6] = Variant::Of({W("每页打印页脚"), Variant(true), W(footerCode.c_str()), W(footerLines[0]),
                            W(footerLines[1]), W(footerLines[2])});
        v[7] = Variant::Of({Variant(dateType), W("公历 YYYYMMDD")});
        v[8] = W(printDate.c_str());
        return v;
    }
    Variant Build() const { return Variant::Of({Env(), Texts(), Values()}); }
};

// The CSV's lines, each cut at its commas (the demo data holds no quoted fields).
std::vector<std::vector<std::string>> CsvLines(const std::string& csv) {
    std::vector<std::vector<std::string>> out;
    size_t start = 0;
    while (start < csv.size()) {
        size_t end = csv.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "CSV lines end with CR LF";
        if (end == std::string::npos) end = csv.size();
        std::vector<std::string> cells;
        std::stringstream line(csv.substr(start, end - start));
        for (std::string cell; std::getline(line, cell, ',');) cells.push_back(cell);
        out.push_back(cells);
        start = end + 2;
    }
    return out;
}

// "item/warehouse" of every data line, checking the header line on the way.
std::set<std::string> RowKeys(const std::string& csv) {
    auto lines = CsvLines(csv);
    std::set<std::string> keys;
    if (lines.empty()) {
        ADD_FAILURE() << "no header line";
        return keys;
    }
    std::string header;
    for (const auto& c : lines[0]) header += (header.empty() ? "" : ",") + c;
    EXPECT_EQ(header, kCsvHeader);
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 9u) << "line " << i;
        if (lines[i].size() >= 3) keys.insert(lines[i][0] + "/" + lines[i][2]);
    }
    return keys;
}

class JobServer : public ::testing::Test {
protected:
    ServerProcess server{":memory:"};
    net::TSocketConnection con;
    Variant s;
    void SetUp() override {
        ConnectTo(con, server.Port());
        s = con.AppServer();
    }

    std::string Submit(const Variant& params) { return s.Call("Request", {params}).ToString(); }
    Variant Status(const std::string& ref) { return s.Call("JobStatus", {Variant(ref)}); }
    // Polls until the job is done or failed.
    Variant Finished(const std::string& ref) { return WaitFinished(s, ref); }
    std::string Output(const std::string& ref, const char* format = "csv") {
        return vel::WideToUtf8(s.Call("JobOutput", {Variant(ref), Variant(format)}).ToWide());
    }

public:
    static Variant WaitFinished(const Variant& server, const std::string& ref) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (;;) {
            Variant row = server.Call("JobStatus", {Variant(ref)});
            std::string status = row[kStatus].ToString();
            if (status == "done" || status == "failed") return row;
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << ref << " still " << status;
                return row;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
};

}  // namespace

TEST_F(JobServer, QueuedJobsRunInOrderAndDifferencesOnlyKeepsTheNonZeroRows) {
    Job y;
    y.items = Range("A001", "B999");
    y.warehouses = List({"W01"});
    Job n = y;
    n.only = "N";
    std::string refY = Submit(y.Build()), refN = Submit(n.Build());
    Variant rowY = Finished(refY), rowN = Finished(refN);
    ASSERT_EQ(rowY[kStatus].ToString(), "done") << rowY[kError].ToString();
    ASSERT_EQ(rowN[kStatus].ToString(), "done") << rowN[kError].ToString();
    EXPECT_EQ(rowY[kUser].ToString(), "ADMIN");
    EXPECT_EQ(rowY[kMode].ToString(), "queue");
    EXPECT_EQ(rowY[kOutputs].ToString(), "csv");
    EXPECT_GE(rowN[kStarted].ToDate(), rowY[kFinished].ToDate()) << "the queue runs one job after the other";

    std::string csvY = Output(refY), csvN = Output(refN);
    EXPECT_EQ(RowKeys(csvY), (std::set<std::string>{"A001/W01", "B001/W01"}));
    EXPECT_EQ(RowKeys(csvN), (std::set<std::string>{"A001/W01", "A002/W01", "A003/W01", "B001/W01", "B002/W01"}));
    // Month-end balance of both months: 1800 at 920.00 against a standard of 0.5.
    EXPECT_NE(csvY.find("\r\nA001,螺丝,W01,原料仓,1800,920.00,0.5111,0.5000,20.00\r\n"), std::string::npos) << csvY;
    std::set<std::string> keysY = RowKeys(csvY);
    for (const auto& line : CsvLines(csvN)) {
        if (line.size() == 9 && line[8] == "0.00") {
            EXPECT_FALSE(keysY.count(line[0] + "/" + line[2])) << line[0];
        }
    }

    // HTML was not asked for.
    EXPECT_THROW(Output(refY, "html"), vel::OleException);
}

TEST_F(JobServer, RowsAreTheItemsAndWarehousesOfTheConditionsWithABalanceOrAMovement) {
    struct Case {
        const char* what;
        const char* month;
        Variant items, warehouses;
        const char* only;
        std::set<std::string> rows;
    };
    const Case cases[] = {
        {"first month, differences", "202611", Range("", ""), Range("", ""), "Y", {"A001/W01", "B001/W01", "P001/W02"}},
        {"second month, all rows; C001 issued entirely still shows",
         "202612", Range("", ""), Range("", ""), "N",
         {"A001/W01", "A002/W01", "A003/W01", "B001/W01", "B001/W02", "B002/W01", "B002/W03", "C001/W01", "C002/W01",
          "P001/W02"}},
        {"a month without movements keeps the balances only",
         "202701", Range("", ""), Range("", ""), "N",
         {"A001/W01", "A002/W01", "A003/W01", "B001/W01", "B001/W02", "B002/W01", "B002/W03", "C002/W01", "P001/W02"}},
        {"open end, warehouse list", "202612", Range("B", ""), List({"W01", "W02"}), "Y", {"B001/W01", "P001/W02"}},
        {"item list", "202612", List({"P001", "A002"}), Range("", ""), "N", {"A002/W01", "P001/W02"}},
        {"empty list means every warehouse", "202612", Range("P001", "P001"), List({}), "N", {"P001/W02"}},
        {"nothing in range", "202612", Range("", "A002"), Range("W02", "W03"), "N", {}},
        {"before the ledger", "202610", Range("", ""), Range("", ""), "N", {}},
    };
    std::vector<std::string> refs;
    for (const Case& c : cases) {
        Job j;
        j.month = c.month;
        j.items = c.items;
        j.warehouses = c.warehouses;
        j.only = c.only;
        refs.push_back(Submit(j.Build()));
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        Variant row = Finished(refs[i]);
        ASSERT_EQ(row[kStatus].ToString(), "done") << cases[i].what << ": " << row[kError].ToString();
        EXPECT_EQ(RowKeys(Output(refs[i])), cases[i].rows) << cases[i].what;
    }
}

TEST_F(JobServer, HtmlWhenTickedCarriesConditionsPrintDateFooterAndSignOff) {
    struct Case {
        int dateType;
        const char* printDate;
        const char* yearMonth;
    };
    // 2005 is year 94 counted from 1911: two digits in type 4, three in type 5.
    const Case cases[] = {{1, "2005/01/02", "2026/12"}, {2, "01/02/2005", "12/2026"}, {3, "02/01/2005", "12/2026"},
                          {4, "94/01/02", "115/12"},   {5, "094/01/02", "115/12"}};
    std::vector<std::string> refs;
    for (const Case& c : cases) {
        Job j;
        j.flags = 3;
        j.items = Range("A001", "B999");
        j.warehouses = List({"W01"});
        j.dateType = c.dateType;
        j.printDate = "20050102";
        refs.push_back(Submit(j.Build()));
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        Variant row = Finished(refs[i]);
        ASSERT_EQ(row[kStatus].ToString(), "done") << row[kError].ToString();
        EXPECT_EQ(row[kOutputs].ToString(), "csv,html");
        std::string html = Output(refs[i], "html");
        EXPECT_NE(html.find(std::string("<th>制表日期</th><td>") + cases[i].printDate + "</td>"), std::string::npos)
            << "date type " << cases[i].dateType;
        EXPECT_NE(html.find(std::string("<th>选择年月</th><td>") + cases[i].yearMonth + "</td>"), std::string::npos)
            << "date type " << cases[i].dateType;
    }

    std::string html = Output(refs[0], "html");
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<h1>成本差异分析表</h1>"), std::string::npos);
    EXPECT_NE(html.find("<th>选择品号</th><td>A001 ~ B999</td>"), std::string::npos);
    EXPECT_NE(html.find("<th>选择仓库</th><td>W01</td>"), std::string::npos);
    EXPECT_NE(html.find("<th>仅打印有差异者</th><td>Y</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>B001</td><td>电机</td><td>W01</td><td>原料仓</td>"), std::string::npos);
    EXPECT_EQ(html.find("<td>A002</td>"), std::string::npos) << "no difference, not printed";
    // The footer goes on every page (the table's foot); the sign-off once, after the table.
    size_t tfoot = html.find("<tfoot>"), tfootEnd = html.find("</tfoot>"), tableEnd = html.find("</table>\n<p class=\"signoff\">");
    ASSERT_NE(tfoot, std::string::npos);
    size_t footerLine = html.find("金额单位：元");
    EXPECT_TRUE(footerLine > tfoot && footerLine < tfootEnd);
    ASSERT_NE(tableEnd, std::string::npos);
    for (const char* line : {"制表", "审核", "核准"}) EXPECT_NE(html.find(line, tableEnd), std::string::npos) << line;

    // A footer code with blank lines prints the code's lines; a blank print date is the run date.
    Job j;
    j.flags = 2;
    j.footerCode = "F02";
    j.footerLines = {"", "", ""};
    j.printDate = "";
    std::string ref = Submit(j.Build());
    Variant row = Finished(ref);
    ASSERT_EQ(row[kStatus].ToString(), "done") << row[kError].ToString();
    html = Output(ref, "html");
    EXPECT_NE(html.find("机密资料"), std::string::npos);
    EXPECT_NE(html.find("请勿外传"), std::string::npos);
    std::string runDay = velserver::DateTimeText(row[kStarted].ToDate()).substr(0, 10);
    std::replace(runDay.begin(), runDay.end(), '-', '/');
    EXPECT_NE(html.find("<th>制表日期</th><td>" + runDay + "</td>"), std::string::npos) << runDay;
}

TEST_F(JobServer, TimedJobsWaitForTheirTimeWhileRealTimeJobsRunAtOnce) {
    double now = velserver::NowDateValue();
    Job soon, tomorrow, realTime;
    soon.mode = tomorrow.mode = 2;
    soon.runAt = now + 2.0 / 86400;
    tomorrow.runAt = now + 1;
    realTime.mode = 1;
    std::string refSoon = Submit(soon.Build()), refTomorrow = Submit(tomorrow.Build());
    EXPECT_EQ(Status(refSoon)[kStatus].ToString(), "queued");
    std::string refNow = Submit(realTime.Build());

    Variant rowNow = Finished(refNow);
    EXPECT_EQ(rowNow[kStatus].ToString(), "done");
    EXPECT_EQ(rowNow[kMode].ToString(), "realtime");
    Variant rowSoon = Finished(refSoon);
    EXPECT_EQ(rowSoon[kStatus].ToString(), "done");
    EXPECT_EQ(rowSoon[kMode].ToString(), "timed");
    EXPECT_GE(rowSoon[kStarted].ToDate(), rowSoon[kRunAt].ToDate()) << "started before its time";
    EXPECT_NEAR(rowSoon[kRunAt].ToDate(), soon.runAt, 1e-9);

    Variant rowTomorrow = Status(refTomorrow);
    EXPECT_EQ(rowTomorrow[kStatus].ToString(), "queued");
    EXPECT_TRUE(rowTomorrow[kStarted].IsEmpty());
}

TEST_F(JobServer, AFailingJobIsRecordedFailedAndTheNextJobStillRuns) {
    auto with = [](auto change) {
        Job j;
        change(j);
        Variant p = j.Build();
        return p;
    };
    Variant noSp03 = Job{}.Build();
    noSp03[1][3] = Variant::Of({W("选择仓库"), W("spXX")});
    Variant otherProgram = Job{}.Build();
    otherProgram[0][1] = W("QMLK99");
    Variant periodic = Job{}.Build();
    periodic[0][9] = W("r");
    Variant noStart = with([](Job& j) { j.mode = 2; });
    noStart[0][11] = Variant();
    struct Case {
        const char* what;
        Variant params;
        std::string error;  // part of the recorded error (936)
    };
    const Case cases[] = {
        {"empty set", Variant::Array(0, -1), "environment settings"},
        {"environment is a text", Variant::Of({W("x"), W("y"), W("z")}), "environment settings"},
        {"unknown generation mode", with([](Job& j) { j.mode = 9; }), "generation mode"},
        {"timed without a start", noStart, "start time"},
        {"month 13", with([](Job& j) { j.month = "202613"; }), Gbk("选择年月")},
        {"item panel without a marker", with([](Job& j) { j.items = Variant::Of({W("A001"), W("B001")}); }), Gbk("选择品号")},
        {"warehouse panel as a text", with([](Job& j) { j.warehouses = W("W01"); }), Gbk("选择仓库")},
        {"differences flag neither Y nor N", with([](Job& j) { j.only = "maybe"; }), "Y or N"},
        {"no warehouse condition", noSp03, "sp03"},
        {"another program", otherProgram, "QMLK99"},
        {"periodic", periodic, "Periodic"},
        {"impossible print date", with([](Job& j) { j.printDate = "20261340"; }), "edPrintDate"},
    };
    std::vector<std::string> refs;
    for (const Case& c : cases) refs.push_back(Submit(c.params));
    std::string good = Submit(Job{}.Build());

    for (size_t i = 0; i < std::size(cases); ++i) {
        Variant row = Finished(refs[i]);
        EXPECT_EQ(row[kStatus].ToString(), "failed") << cases[i].what;
        EXPECT_NE(row[kError].ToString().find(cases[i].error), std::string::npos)
            << cases[i].what << ": " << vel::CodePageToUtf8(row[kError].ToString(), vel::kCodePageGB);
        EXPECT_TRUE(row[kOutputs].ToString().empty()) << cases[i].what;
    }
    EXPECT_EQ(Finished(good)[kStatus].ToString(), "done");
    try {
        Output(refs[0]);
        FAIL() << "a failed job has no output";
    } catch (const vel::OleException& e) {
        EXPECT_NE(std::string(e.what()).find("failed"), std::string::npos) << e.what();
    }
}

// A job a stopped server left running is not run again; a done job is not run again either.
TEST(JobRestart, AJobRunsAtMostOnceAcrossRestarts) {
    TempDir dir;
    std::string db = dir.File("jobs.db");
    std::string params = net::EncodeVariant(Job{}.Build());
    std::string interrupted, waiting;
    double interruptedStart;
    {
        // What a server that died during a run leaves behind.
        velserver::ServerStore store(db);
        interrupted = store.AddJob("Request", params, "");
        waiting = store.AddJob("Request", params, "");
        auto claimed = store.ClaimJob(velserver::JobLane::Queue, velserver::NowDateValue());
        ASSERT_TRUE(claimed);
        ASSERT_EQ(claimed->reference, interrupted);
        interruptedStart = claimed->started;
    }
    Variant waitingRow;
    {
        ServerProcess server(db);
        net::TSocketConnection con;
        ConnectTo(con, server.Port());
        Variant s = con.AppServer();
        waitingRow = JobServer::WaitFinished(s, waiting);
        EXPECT_EQ(waitingRow[kStatus].ToString(), "done");
        Variant row = s.Call("JobStatus", {Variant(interrupted)});
        EXPECT_EQ(row[kStatus].ToString(), "failed");
        EXPECT_NE(row[kError].ToString().find("not run again"), std::string::npos) << row[kError].ToString();
        EXPECT_EQ(row[kStarted].ToDate(), interruptedStart);
        EXPECT_EQ(server.Stop(), 0);
    }
    ServerProcess server(db);
    net::TSocketConnection con;
    ConnectTo(con, server.Port());
    Variant s = con.AppServer();
    // The queue runs in order: once a new job is done, an old one would have run before it.
    std::string fresh = s.Call("Request", {Job{}.Build()}).ToString();
    EXPECT_EQ(JobServer::WaitFinished(s, fresh)[kStatus].ToString(), "done");
    Variant again = s.Call("JobStatus", {Variant(waiting)});
    EXPECT_EQ(again[kStarted].ToDate(), waitingRow[kStarted].ToDate());
    EXPECT_EQ(again[kFinished].ToDate(), waitingRow[kFinished].ToDate());
    EXPECT_EQ(s.Call("JobStatus", {Variant(interrupted)})[kStatus].ToString(), "failed");
}

namespace {

struct Captured {
    int rc;
    std::string out, err;
};

Captured RunCommand(int (*command)(int, char**), std::vector<std::string> args) {
    std::ostringstream out, err;
    auto* oldOut = std::cout.rdbuf(out.rdbuf());
    auto* oldErr = std::cerr.rdbuf(err.rdbuf());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int rc = command(static_cast<int>(args.size()), argv.data());
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    return {rc, out.str(), err.str()};
}

size_t LineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

TEST_F(JobServer, VelhostListsAUsersJobsAndPrintsAJobsOutput) {
    using velhost::RunJobsCommand;
    using velhost::RunReportCommand;
    const std::string port = std::to_string(server.Port());
    Job clerk;
    clerk.user = "CLERK";
    Job broken;
    broken.month = "2026";
    Job later;
    later.mode = 2;
    later.runAt = velserver::NowDateValue() + 1;
    std::string done = Submit(Job{}.Build()), other = Submit(clerk.Build()), failed = Submit(broken.Build()),
                waiting = Submit(later.Build());

    // --wait polls until the job is done; the output is the job's CSV.
    Captured report = RunCommand(RunReportCommand, {"report", done, "--port", port, "--wait"});
    EXPECT_EQ(report.rc, 0) << report.err;
    EXPECT_EQ(report.out, Output(done));
    EXPECT_EQ(report.out.rfind(kCsvHeader, 0), 0u);
    Finished(failed);

    Captured jobs = RunCommand(RunJobsCommand, {"jobs", "--address", "127.0.0.1", "--port", port, "--user", "ADMIN"});
    EXPECT_EQ(jobs.rc, 0) << jobs.err;
    EXPECT_EQ(LineCount(jobs.out), 3u) << jobs.out;
    EXPECT_NE(jobs.out.find(done + "  done  QMLK07  ADMIN  queue"), std::string::npos) << jobs.out;
    EXPECT_NE(jobs.out.find(failed + "  failed"), std::string::npos) << jobs.out;
    EXPECT_NE(jobs.out.find("error: Condition 选择年月 (ed01)"), std::string::npos) << jobs.out;
    EXPECT_NE(jobs.out.find(waiting + "  queued  QMLK07  ADMIN  timed"), std::string::npos) << jobs.out;
    EXPECT_EQ(jobs.out.find(other), std::string::npos) << "another user's job";
    EXPECT_EQ(LineCount(RunCommand(RunJobsCommand, {"jobs", "--port", port}).out), 4u) << "every user's jobs";

    struct Case {
        const char* what;
        int (*command)(int, char**);
        std::vector<std::string> args;
        int rc;
        const char* err;
    };
    const Case cases[] = {
        {"html not asked for", RunReportCommand, {"report", done, "--format", "html", "--port", port}, 1, "no html output"},
        {"failed job", RunReportCommand, {"report", failed, "--port", port, "--wait"}, 1, "failed"},
        {"not yet run", RunReportCommand, {"report", waiting, "--port", port}, 3, "queued"},
        {"unknown job", RunReportCommand, {"report", "J20000101-999999", "--port", port}, 1, "does not exist"},
        {"no reference", RunReportCommand, {"report", "--port", port}, 2, "usage"},
        {"unknown format", RunReportCommand, {"report", done, "--format", "pdf"}, 2, "pdf"},
        {"bad port", RunJobsCommand, {"jobs", "--port", "21x"}, 2, "invalid port"},
        {"unknown option", RunJobsCommand, {"jobs", "--wait"}, 2, "--wait"},
    };
    for (const Case& c : cases) {
        Captured r = RunCommand(c.command, c.args);
        EXPECT_EQ(r.rc, c.rc) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.what << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.what;
    }
}
