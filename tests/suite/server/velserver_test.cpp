#include <gtest/gtest.h>
#include <chrono>
#include <sys/socket.h>

#include <map>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <thread>

#include "platform/automation/dispatch.h"
#include "platform/net/client_dataset.h"
#include "platform/net/socket_connection.h"
#include "platform/net/wire.h"
#include "platform/text/codepage.h"
#include "suite/host/job_commands.h"
#include "suite/server/server_store.h"
#include "tests/suite/server/server_process.h"

using vel::Variant;
namespace net = vel::net;

namespace {

constexpr const char* kClass = "ReportCounterS.dmReportCounter";
constexpr const char* kProgram = "QMLK07";

std::string Gbk(const char* utf8) { return vel::Utf8ToCodePage(utf8, vel::kCodePageGB); }

void Open(net::TSocketConnection& con, int port) { ConnectTo(con, port); }

Variant Scheme(const std::string& name, const std::string& user, const std::string& values, bool replace = false) {
    return Variant::Of({Variant(name), Variant(user), Variant("20261210"), Variant(kProgram),
                        Variant("sp02.style;chk04.checked;"), Variant(values), Variant(replace)});
}

// Names of the schemes the provider serves after LoadTable(user, program).
std::vector<std::string> SchemeNames(const Variant& server, const std::string& user) {
    server.Call("LoadTable", {Variant::Of({Variant(user), Variant(kProgram)})});
    net::TClientDataSet ds;
    ds.ProviderName = "pvdConSave";
    ds.SetAppServer(server);
    ds.Open();
    std::vector<std::string> names;
    for (ds.First(); !ds.Eof(); ds.Next()) names.push_back(ds.FieldByName("NCONDITION").AsString());
    std::sort(names.begin(), names.end());
    return names;
}

// A raw TCP client for sending bytes the real client never would.
struct RawClient {
    net::Socket socket;
    explicit RawClient(int port) : socket(net::ConnectTcp("127.0.0.1", port, 10000)) {}
    void Send(const std::string& bytes) { ASSERT_TRUE(net::SendAll(socket.Fd(), bytes.data(), bytes.size())); }
    // The server's answer to a broken frame: an error reply with seq 0, or the connection closed.
    bool GetsErrorOrClose() {
        std::string payload;
        net::FrameStatus st = net::ReadFrame(socket.Fd(), payload);
        if (st == net::FrameStatus::Closed || st == net::FrameStatus::Truncated) return true;
        if (st != net::FrameStatus::Ok) return false;
        net::Message m = net::DecodePayload(payload);
        return m.kind == net::MessageKind::Reply && !m.ok && m.seq == 0 && !m.error.empty();
    }
};

std::string OpenFrame() {
    net::Message m;
    m.kind = net::MessageKind::Open;
    m.name = kClass;
    return net::EncodeFrame(m);
}

std::string CallFrame(const std::string& name, std::vector<Variant> args, uint32_t seq = 1) {
    net::Message m;
    m.kind = net::MessageKind::Call;
    m.seq = seq;
    m.name = name;
    m.args = std::move(args);
    return net::EncodeFrame(m);
}

}  // namespace

class VelServer : public ::testing::Test {
protected:
    ServerProcess server{":memory:"};
    net::TSocketConnection con;
    void SetUp() override { Open(con, server.Port()); }
};

TEST_F(VelServer, SchemesAreKeptPerUserAndProgramAndReadThroughTheProvider) {
    Variant s = con.AppServer();
    EXPECT_EQ(s.Call("InsertConTable", {Scheme(Gbk("月报"), "ADMIN", "A\r\n")}).ToString(), "");
    EXPECT_EQ(s.Call("InsertConTable", {Scheme(Gbk("月报"), "USER1", "B\r\n")}).ToString(), "");
    EXPECT_EQ(s.Call("InsertConTable", {Scheme("second", "ADMIN", "C\r\n")}).ToString(), "");
    // Another program's scheme of the same user stays out of the list.
    Variant other = Scheme("other", "ADMIN", "");
    other[3] = Variant("QMLK08");
    EXPECT_EQ(s.Call("InsertConTable", {other}).ToString(), "");

    s.Call("LoadTable", {Variant::Of({Variant("ADMIN"), Variant(kProgram)})});
    net::TClientDataSet ds;
    ds.ProviderName = "pvdConSave";
    ds.IndexFieldNames = "NCONDITION;CREATOR;PROGRAMME";
    ds.SetRemoteServer(&con);
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.FieldNames(), (std::vector<std::string>{"NCONDITION", "CREATOR", "PROGRAMME", "SCONDITION",
                                                         "VCONDITION", "CREATE_DATE"}));
    ASSERT_TRUE(ds.FindKey({Variant(Gbk("月报")), Variant("ADMIN"), Variant(kProgram)}));
    EXPECT_EQ(ds.FieldByName("VCONDITION").AsString(), "A\r\n");
    EXPECT_EQ(ds.FieldByName("SCONDITION").AsString(), "sp02.style;chk04.checked;");
    EXPECT_EQ(ds.FieldByName("CREATE_DATE").AsString(), "20261210");
    EXPECT_FALSE(ds.FindKey({Variant(Gbk("月报")), Variant("USER1"), Variant(kProgram)}));
    // A local edit posts to the dataset only.
    ds.Edit();
    ds.FieldByName("NCONDITION").SetAsString("local");
    ds.Post();
    EXPECT_TRUE(ds.Locate("NCONDITION", {Variant("local")}));
    EXPECT_EQ(SchemeNames(s, "ADMIN"), (std::vector<std::string>{"second", Gbk("月报")}));

    // Rename, replace, delete; the other user's scheme of the same name is untouched.
    auto key = [](const std::string& name, const char* user) { return Variant::Of({Variant(name), Variant(user), Variant(kProgram)}); };
    EXPECT_EQ(s.Call("ChangeConName", {key(Gbk("月报"), "ADMIN"), key("renamed", "ADMIN")}).ToString(), "");
    EXPECT_EQ(s.Call("InsertConTable", {Scheme("renamed", "ADMIN", "D\r\n", true)}).ToString(), "");
    EXPECT_EQ(s.Call("DeleteConTable", {key("second", "ADMIN")}).ToString(), "");
    EXPECT_EQ(SchemeNames(s, "ADMIN"), std::vector<std::string>{"renamed"});
    EXPECT_EQ(SchemeNames(s, "USER1"), std::vector<std::string>{Gbk("月报")});
    // A wide-text name is the same scheme as its code page 936 bytes.
    EXPECT_EQ(s.Call("DeleteConTable", {Variant::Of({Variant(u"月报"), Variant("USER1"), Variant(kProgram)})}).ToString(), "");
    EXPECT_TRUE(SchemeNames(s, "USER1").empty());
}

TEST_F(VelServer, RefusedOperationsAnswerTheirReasonAndErrorDescriptKeepsIt) {
    Variant s = con.AppServer();
    auto key = [](const char* name) { return Variant::Of({Variant(name), Variant("ADMIN"), Variant(kProgram)}); };
    ASSERT_EQ(s.Call("InsertConTable", {Scheme("a", "ADMIN", "")}).ToString(), "");
    ASSERT_EQ(s.Call("InsertConTable", {Scheme("b", "ADMIN", "")}).ToString(), "");
    struct Case {
        const char* what;
        std::string op;
        std::vector<Variant> args;
    };
    Variant badDate = Scheme("c", "ADMIN", "");
    badDate[2] = Variant("2026-12-10");
    const Case cases[] = {
        {"duplicate without replace", "InsertConTable", {Scheme("a", "ADMIN", "")}},
        {"blank name", "InsertConTable", {Scheme("   ", "ADMIN", "")}},
        {"malformed date", "InsertConTable", {badDate}},
        {"short array", "InsertConTable", {Variant::Of({Variant("x"), Variant("ADMIN"), Variant("20261210"), Variant(kProgram), Variant(""), Variant("")})}},
        {"delete a missing scheme", "DeleteConTable", {key("missing")}},
        {"rename onto an existing name", "ChangeConName", {key("a"), key("b")}},
        {"rename a missing scheme", "ChangeConName", {key("missing"), key("z")}},
        {"rename to another user", "ChangeConName", {key("a"), Variant::Of({Variant("a"), Variant("USER1"), Variant(kProgram)})}},
    };
    for (const Case& c : cases) {
        std::vector<Variant> args = c.args;
        std::string answer = s.Call(c.op, args).ToString();
        EXPECT_FALSE(answer.empty()) << c.what;
        EXPECT_EQ(s.Call("ErrorDescript").ToString(), answer) << c.what;
    }
    EXPECT_EQ(SchemeNames(s, "ADMIN"), (std::vector<std::string>{"a", "b"}));

    // Operations without a text answer raise; the server's text is the exception's message.
    try {
        s.Call("Request", {Variant("not an array")});
        FAIL() << "Request accepted a text";
    } catch (const vel::OleException& e) {
        EXPECT_NE(std::string(e.what()).find("array"), std::string::npos) << e.what();
        EXPECT_EQ(s.Call("ErrorDescript").ToString(), e.what());
    }
    EXPECT_THROW(s.Call("NoSuchOperation"), vel::OleException);
    EXPECT_THROW(s.Call("GetPower", {Variant::Of({Variant("DEMO"), Variant("X"), Variant("NOPROG"), Variant("")})}), vel::OleException);
}

TEST_F(VelServer, ASchemeNameShapedLikeSqlIsStoredLiterally) {
    Variant s = con.AppServer();
    const std::string names[] = {"x'); DROP TABLE CONSAVE;--", "a' OR '1'='1", "\"; DELETE FROM JOBS; --"};
    for (const std::string& n : names) EXPECT_EQ(s.Call("InsertConTable", {Scheme(n, "ADMIN", "v")}).ToString(), "") << n;
    std::vector<std::string> stored = SchemeNames(s, "ADMIN");
    EXPECT_EQ(std::set<std::string>(stored.begin(), stored.end()), std::set<std::string>(std::begin(names), std::end(names)));
    Variant row;
    std::vector<Variant> args = {Variant("GENES"), Variant("01"), Variant("DEMO"),
                                 Variant::Of({Variant(names[1]), Variant("ADMIN"), Variant(kProgram)}), row};
    EXPECT_TRUE(s.Call("QueryData", args).ToBool());
    EXPECT_FALSE(s.Call("CheckValue", {Variant("GENES"), Variant("01"), Variant("DEMO"),
                                       Variant::Of({Variant("a"), Variant("ADMIN"), Variant(kProgram)})}).ToBool());
}

TEST_F(VelServer, RightsMessagesSettingsAndValidationQueries) {
    Variant s = con.AppServer();
    EXPECT_EQ(s.Call("SQLType").ToInt(), 1);

    Variant admin = s.Call("GetPower", {Variant::Of({Variant("DEMO"), Variant("ADMIN"), Variant(kProgram), Variant("")})});
    ASSERT_TRUE(admin.IsArray());
    EXPECT_EQ(admin[1].ToString(), "9,Y,Y,YYYYYYYY,ALL,");
    EXPECT_EQ(admin[5][0].ToInt(), 3);
    EXPECT_EQ(admin[5][3].ToString(), "W03");
    // A user without an own row gets the program's general rights.
    Variant guest = s.Call("GetPower", {Variant::Of({Variant("DEMO"), Variant("NOBODY"), Variant(kProgram), Variant("")})});
    EXPECT_EQ(guest[1].ToString(), "1,Y,N,YYYYYYNN,OWN,");

    EXPECT_EQ(s.Call("GetMessageText", {Variant("I"), Variant("000004")}).ToString(), Gbk("作业已送出，作业编号：%s"));
    EXPECT_THROW(s.Call("GetMessageText", {Variant("E"), Variant("999999")}), vel::OleException);

    // GetSysInfo: row 0 names, row 1 values; the company id comes back unchanged.
    std::vector<Variant> sysArgs = {Variant("01")};
    Variant all = s.Call("GetSysInfo", sysArgs);
    ASSERT_EQ(all.DimCount(), 2);
    std::map<std::string, std::string> settings;
    for (int j = all.LowBound(2); j <= all.HighBound(2); ++j) settings[all.At(0, j).ToString()] = all.At(1, j).ToString();
    EXPECT_EQ(settings["Sys001"], "1");
    EXPECT_EQ(settings["Sys002"], "/");
    EXPECT_EQ(settings["SYS181"], "Y");
    EXPECT_EQ(settings["Vel002"], Gbk("示范公司"));

    // QueryData writes its result into the fifth argument, as the validator does.
    std::vector<Variant> q = {Variant("ADMMB"), Variant("01"), Variant("DEMO"), Variant::Of({Variant(kProgram)}), Variant()};
    ASSERT_TRUE(s.Call("QueryData", q).ToBool());
    EXPECT_EQ(q[4][0].ToString(), Gbk("成本差异分析表"));
    EXPECT_EQ(q[4][4].ToString(), "Y");
    EXPECT_EQ(q[4][7].ToString(), "Cost Difference Report");
    q = {Variant("CMSMS"), Variant("01"), Variant("DEMO"), Variant::Of({Variant("2"), Variant("S01")}), Variant()};
    ASSERT_TRUE(s.Call("QueryData", q).ToBool());
    EXPECT_EQ(q[4][1].ToString(), Gbk("制表"));
    q = {Variant("INVMB"), Variant("01"), Variant("DEMO"), Variant::Of({Variant("ZZZ")}), Variant(5)};
    EXPECT_FALSE(s.Call("QueryData", q).ToBool());
    EXPECT_TRUE(q[4].IsEmpty());
    // Only the listed tables can be read; a table name is never put into SQL.
    EXPECT_THROW(s.Call("QueryData", {Variant("sqlite_master"), Variant("01"), Variant("DEMO"), Variant::Of({Variant("x")})}),
                 vel::OleException);
}

TEST_F(VelServer, RequestStoresTheWholeParameterSetAndAnswersUniqueReferences) {
    TempDir dir;
    std::string db = dir.File("jobs.db");
    std::vector<std::string> refs;
    Variant params = Variant::Array(0, 2);
    params[0] = Variant::Of({Variant(1), Variant::FromDate(46000.25), Variant(u"宽文")});
    params[1] = Variant::Of({Variant::Of({Variant(Gbk("年月")), Variant("ed01")})});
    params[2] = Variant::Of({Variant("202612")});
    {
        ServerProcess fileServer(db);
        net::TSocketConnection c;
        Open(c, fileServer.Port());
        Variant s = c.AppServer();
        refs.push_back(s.Call("Request", {params}).ToString());
        refs.push_back(s.Call("Request1", {params, Variant("PC-01")}).ToString());
        std::vector<Variant> update = {Variant(refs[0]), Variant("done"), Variant::FromDate(46001)};
        s.Call("UpdateStatus1", update);
        EXPECT_EQ(fileServer.Stop(), 0);  // exits cleanly on SIGTERM
    }
    EXPECT_NE(refs[0], refs[1]);
    velserver::ServerStore store(db);
    EXPECT_EQ(store.SchemaVersion(), velserver::ServerStore::kSchemaVersion);
    auto job = store.GetJob(refs[0]);
    ASSERT_TRUE(job);
    EXPECT_TRUE(net::DecodeVariant(job->parameters) == params);
    EXPECT_EQ(job->messages, "done");
    auto job1 = store.GetJob(refs[1]);
    ASSERT_TRUE(job1);
    EXPECT_EQ(job1->kind, "Request1");
    EXPECT_EQ(job1->computer, "PC-01");
}

// Broken input on one connection ends that connection only: other clients go on and no
// stored job is lost.
TEST(VelServerRobustness, BrokenFramesCloseOnlyTheirConnection) {
    TempDir dir;
    ServerProcess server(dir.File("robust.db"), {"--max-frame", "65536"});
    net::TSocketConnection keeper;
    Open(keeper, server.Port());
    Variant s = keeper.AppServer();
    std::string before = s.Call("Request", {Variant::Of({Variant("kept")})}).ToString();

    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string truncated = CallFrame("SQLType", {});
    std::string oversized = std::string("\x00\x10\x00\x00", 4) + std::string(64, 'x');  // declares 1 MiB
    const Case cases[] = {
        {"garbage bytes", "\x47\x45\x54\x20\x2f\x20\x48\x54\x54\x50\x2f\x31\x2e\x31\r\n\r\n"},
        {"garbage payload", std::string("\x00\x00\x00\x03\xc1\xc1\xc1", 7)},
        {"call before open", CallFrame("SQLType", {})},
        {"truncated frame", truncated.substr(0, truncated.size() - 2)},
        {"oversized frame", oversized},
        {"unknown class", [] {
             net::Message m;
             m.kind = net::MessageKind::Open;
             m.name = "Other.Class";
             return net::EncodeFrame(m);
         }()},
    };
    for (const Case& c : cases) {
        RawClient raw(server.Port());
        raw.Send(c.bytes);
        if (std::string(c.what) == "truncated frame") shutdown(raw.socket.Fd(), SHUT_WR);
        if (std::string(c.what) == "call before open") {
            std::string payload;
            ASSERT_EQ(net::ReadFrame(raw.socket.Fd(), payload), net::FrameStatus::Ok);
            EXPECT_FALSE(net::DecodePayload(payload).ok) << c.what;
        } else {
            EXPECT_TRUE(raw.GetsErrorOrClose()) << c.what;
        }
        EXPECT_EQ(s.Call("SQLType").ToInt(), 1) << "after " << c.what;
    }
    // A client that sends a call and goes away before the answer.
    for (int i = 0; i < 5; ++i) {
        RawClient raw(server.Port());
        raw.Send(OpenFrame() + CallFrame("Request", {Variant::Of({Variant("abandoned")})}));
    }
    net::TSocketConnection fresh;
    Open(fresh, server.Port());
    EXPECT_EQ(fresh.AppServer().Call("SQLType").ToInt(), 1);
    std::string after = s.Call("Request", {Variant::Of({Variant("kept")})}).ToString();
    EXPECT_EQ(server.Stop(), 0);
    velserver::ServerStore store(dir.File("robust.db"));
    EXPECT_TRUE(store.GetJob(before));
    EXPECT_TRUE(store.GetJob(after));
}

TEST(VelServerRobustness, ManyClientsCallConcurrentlyWithoutErrors) {
    ServerProcess server(":memory:");
    constexpr int kClients = 64, kCalls = 1000;
    std::atomic<int> failures{0};
    std::vector<std::vector<std::string>> refs(kClients);
    std::vector<std::thread> threads;
    for (int t = 0; t < kClients; ++t) {
        threads.emplace_back([&, t] {
            try {
                net::TSocketConnection c;
                Open(c, server.Port());
                Variant s = c.AppServer();
                Variant key = Variant::Of({Variant("DEMO"), Variant("ADMIN"), Variant(kProgram), Variant("")});
                for (int i = 0; i < kCalls; ++i) {
                    if (i % 100 == 0) {
                        refs[t].push_back(s.Call("Request", {Variant::Of({Variant(t), Variant(i)})}).ToString());
                    } else if (i % 2) {
                        if (s.Call("GetPower", {key})[1].ToString().empty()) ++failures;
                    } else if (s.Call("SQLType").ToInt() != 1) {
                        ++failures;
                    }
                }
            } catch (const std::exception& e) {
                ++failures;
                ADD_FAILURE() << e.what();
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(failures, 0);
    std::set<std::string> unique;
    for (auto& r : refs) unique.insert(r.begin(), r.end());
    EXPECT_EQ(unique.size(), size_t(kClients * kCalls / 100));
}

TEST(SocketConnection, FailuresNameTheServer) {
    net::TSocketConnection con;
    con.Address = "127.0.0.1";
    con.ServerName = kClass;
    int port = 0;
    { net::Socket s = net::ListenTcp("127.0.0.1", 0, port); }  // a port nobody listens on now
    con.Port = port;
    try {
        con.Connect();
        FAIL() << "connected to a closed port";
    } catch (const vel::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("127.0.0.1:" + std::to_string(port)), std::string::npos) << e.what();
    }
    EXPECT_FALSE(con.Connected());

    ServerProcess server(":memory:");
    Open(con, server.Port());
    Variant s = con.AppServer();
    server.Stop();
    try {
        s.Call("SQLType");
        FAIL() << "a call on a stopped server succeeded";
    } catch (const vel::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("127.0.0.1"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(con.Connected());
}

// Local mode: the class comes from the plug-in named in the registry store; the plug-in runs
// the jobs in the client's process.
TEST(LocalMode, CreateOleObjectLoadsThePlugin) {
    TempDir dir;
    std::string registry = dir.File("registry.ini");
    std::ofstream(registry) << "[HKEY_CLASSES_ROOT\\ReportCounterS.dmReportCounter]\nLibrary=" << VEL_BIN_DIR
                            << "/ReportCounterS.so\n";
    setenv("VEL_REGISTRY", registry.c_str(), 1);
    setenv("VEL_SERVER_DB", dir.File("local.db").c_str(), 1);
    Variant s = vel::CreateOleObject(kClass);
    ASSERT_TRUE(s.IsDispatch());
    EXPECT_EQ(s.Call("GetMessageText", {Variant("E"), Variant("000006")}).ToString().empty(), false);
    EXPECT_EQ(s.Call("InsertConTable", {Scheme("local", "ADMIN", "v")}).ToString(), "");
    EXPECT_EQ(SchemeNames(s, "ADMIN"), std::vector<std::string>{"local"});
    EXPECT_TRUE(std::filesystem::exists(dir.File("local.db")));

    // Jobs are stored in the local database; velhost reads them through the same plug-in.
    Variant params = Variant::Array(0, 2);
    params[0] = Variant::Array(1, 11);
    params[0][1] = Variant(kProgram);
    params[0][5] = Variant("LOCAL1");
    std::string ref = s.Call("Request", {params}).ToString();
    // Too few parameters for the report: the in-process worker records the job failed.
    std::string status;
    for (int i = 0; i < 600 && status != "failed" && status != "done"; ++i) {
        Variant row = s.Call("JobStatus", {Variant(ref)});
        status = row[row.LowBound() + 4].ToString();
        if (status != "failed") std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(status, "failed");
    std::ostringstream out;
    auto* old = std::cout.rdbuf(out.rdbuf());
    char* argv[] = {const_cast<char*>("jobs"), const_cast<char*>("--local"), const_cast<char*>("--user"),
                    const_cast<char*>("LOCAL1"), nullptr};
    int rc = velhost::RunJobsCommand(4, argv);
    std::cout.rdbuf(old);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out.str().rfind(ref + "  failed  QMLK07  LOCAL1  queue", 0), 0u) << out.str();
    unsetenv("VEL_REGISTRY");
    unsetenv("VEL_SERVER_DB");
}
