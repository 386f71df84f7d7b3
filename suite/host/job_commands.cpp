#include "suite/host/job_commands.h"

#include "suite/host/client_setup.h"
#include "suite/host/server_link.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/net/socket_connection.h"
#include "platform/text/codepage.h"

namespace velhost {

namespace {

constexpr const char* kServerClass = "ReportCounterS.dmReportCounter";
constexpr auto kPollInterval = std::chrono::milliseconds(500);

// Columns of a job row as the server answers JobList and JobStatus.
enum JobColumn { kRef, kProgram, kUser, kMode, kStatus, kSubmitted, kRunAt, kStarted, kFinished, kError, kOutputs };

struct Options {
    std::string address;
    int port = 211;
    bool portGiven = false;
    std::string server;  // as velhost run takes it: "", "local" or ADDRESS:PORT
    std::string user;
    std::string reference;
    std::string format = "csv";
    bool wait = false;
};

// The server's texts are in its data code page (936).
std::string FromServer(const std::string& text) {
    try {
        return vel::CodePageToUtf8(text, vel::kCodePageGB);
    } catch (const std::exception&) {
        return text;
    }
}

std::string Text(const vel::Variant& v) {
    if (v.Type() == vel::VarType::OleStr) return vel::WideToUtf8(v.Wide());
    if (v.Type() == vel::VarType::String) return FromServer(v.Bytes());
    return v.ToString();
}

std::string When(const vel::Variant& v) {
    if (v.IsEmpty() || v.IsNull()) return "-";
    double value = v.ToDate();
    if (value <= 0) return "-";
    using namespace std::chrono;
    double whole = std::floor(value);
    long long seconds = std::llround((value - whole) * 86400.0);
    if (seconds >= 86400) {
        whole += 1;
        seconds -= 86400;
    }
    year_month_day ymd{sys_days{days{static_cast<long long>(whole) - 25569}}};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02lld:%02lld:%02lld", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    return buf;
}

int Usage(const char* command) {
    std::string c = command;
    if (c == "jobs")
        std::cerr << "usage: velhost jobs [--server ADDRESS:PORT | --address A --port P | --local] [--user U]\n";
    else
        std::cerr << "usage: velhost report REF [--format csv|html] [--wait]\n"
                     "                          [--server ADDRESS:PORT | --address A --port P | --local]\n";
    return 2;
}

// False (after saying why) for an unknown or incomplete option.
bool Parse(int argc, char** argv, bool report, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                std::cerr << "velhost: " << a << " needs a value\n";
                return false;
            }
            out = argv[++i];
            return true;
        };
        if (a == "--address") {
            if (!value(o.address)) return false;
        } else if (a == "--port") {
            std::string p;
            if (!value(p)) return false;
            try {
                size_t used = 0;
                o.port = std::stoi(p, &used);
                if (used != p.size() || o.port <= 0 || o.port > 65535) throw std::invalid_argument(p);
                o.portGiven = true;
            } catch (const std::exception&) {
                std::cerr << "velhost: invalid port " << p << "\n";
                return false;
            }
        } else if (a == "--local") {
            o.server = "local";
        } else if (a == "--server") {
            if (!value(o.server)) return false;
        } else if (a == "--user" && !report) {
            if (!value(o.user)) return false;
        } else if (a == "--format" && report) {
            if (!value(o.format)) return false;
            if (o.format != "csv" && o.format != "html") {
                std::cerr << "velhost: unknown format " << o.format << "\n";
                return false;
            }
        } else if (a == "--wait" && report) {
            o.wait = true;
        } else if (report && o.reference.empty() && !a.empty() && a[0] != '-') {
            o.reference = a;
        } else {
            std::cerr << "velhost: unexpected argument " << a << "\n";
            return false;
        }
    }
    // --address/--port always mean TCP, also on this machine's loopback address.
    if (!o.address.empty() || o.portGiven) {
        std::string address = o.address.empty() || o.address == "127.0.0.1" ? "localhost" : o.address;
        o.server = address + ":" + std::to_string(o.port);
    }
    if (report && o.reference.empty()) {
        std::cerr << "velhost: a job reference is needed\n";
        return false;
    }
    return true;
}

// The report-counter object as the client configuration names it (TCP, or in process in
// local mode), through the host's own link.
class Server {
public:
    explicit Server(const Options& o) : setup_(ClientSetup::Prepare(o.server)) {}
    vel::Variant Call(const std::string& name, std::initializer_list<vel::Variant> args) {
        std::vector<vel::Variant> list(args);
        return link_.Call(name, list);
    }

private:
    std::unique_ptr<ClientSetup> setup_;
    ServerLink link_;
};

const vel::Variant& Column(const vel::Variant& row, int column) {
    static const vel::Variant none;
    if (!row.IsArray() || row.DimCount() != 1 || column + row.LowBound() > row.HighBound()) return none;
    return row[row.LowBound() + column];
}

std::string JobLine(const vel::Variant& row) {
    auto field = [&](int c) {
        std::string t = Text(Column(row, c));
        return t.empty() ? std::string("-") : t;
    };
    std::string mode = field(kMode);
    std::string line = field(kRef) + "  " + field(kStatus) + "  " + field(kProgram) + "  " + field(kUser) + "  " + mode +
                       "  submitted " + When(Column(row, kSubmitted));
    if (mode == "timed") line += "  run at " + When(Column(row, kRunAt));
    line += "  finished " + When(Column(row, kFinished));
    std::string error = Text(Column(row, kError));
    if (!error.empty()) line += "  error: " + error;
    return line;
}

int Failed(const std::exception& e) {
    std::cerr << "velhost: " << FromServer(e.what()) << "\n";
    return 1;
}

}  // namespace

int RunJobsCommand(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, false, o)) return Usage("jobs");
    try {
        Server server(o);
        vel::Variant rows = server.Call("JobList", {vel::Variant(vel::Utf8ToCodePage(o.user, vel::kCodePageGB))});
        if (!rows.IsArray()) throw vel::Exception("The server answered no job list");
        for (int i = rows.LowBound(); i <= rows.HighBound(); ++i) std::cout << JobLine(rows[i]) << "\n";
        std::cout.flush();
        return 0;
    } catch (const std::exception& e) {
        return Failed(e);
    }
}

int RunReportCommand(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, true, o)) return Usage("report");
    try {
        Server server(o);
        vel::Variant ref(o.reference);
        for (;;) {
            vel::Variant row = server.Call("JobStatus", {ref});
            std::string status = Text(Column(row, kStatus));
            if (status == "done") break;
            if (status == "failed") {
                std::cerr << "velhost: job " << o.reference << " failed: " << Text(Column(row, kError)) << "\n";
                return 1;
            }
            if (status == "logged") {
                std::cerr << "velhost: job " << o.reference << " was run by its client; the server has no output\n";
                return 1;
            }
            if (!o.wait) {
                std::cerr << "velhost: job " << o.reference << " is " << status << "\n";
                return 3;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
        std::cout << Text(server.Call("JobOutput", {ref, vel::Variant(o.format)}));
        std::cout.flush();
        return 0;
    } catch (const std::exception& e) {
        return Failed(e);
    }
}

}  // namespace velhost
