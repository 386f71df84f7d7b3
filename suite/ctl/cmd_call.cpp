// velctl call: one raw call to the application server's report-counter object.
//
//   velctl call [--host H] --port P [--server CLASS] [--args] METHOD [ARG...]
//
// Each ARG is a JSON literal: "text", 12, 1.5, true, null, ["a", ["b", 2]]; any other word
// (also one with leading zeros such as 000006) is a text, so
// `velctl call --port 211 GetMessageText E 000006` works.
// Texts are sent as byte texts in the machine's code page. The result is printed as JSON
// (texts in UTF-8); with --args the arguments after the call follow, one per line, so
// by-reference results can be seen.
#include <exception>
#include <regex>
#include <string>
#include <vector>

#include "platform/net/socket_connection.h"
#include "platform/text/codepage.h"
#include "platform/text/json.h"
#include "suite/ctl/command.h"

namespace {

constexpr const char* kDefaultServer = "ReportCounterS.dmReportCounter";

// JSON only when the word looks like JSON; "000006" stays the text a message number is.
vel::Variant ParseArg(const std::string& text) {
    static const std::regex number(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?)");
    bool json = text == "true" || text == "false" || text == "null" || std::regex_match(text, number) ||
                (!text.empty() && (text[0] == '"' || text[0] == '['));
    if (json) {
        try {
            return vel::ParseJson(text);
        } catch (const vel::Exception&) {
        }
    }
    return vel::Variant(vel::Utf8ToAnsi(text));
}

int RunCall(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string host = "127.0.0.1", server = kDefaultServer, method;
    int port = 0;
    bool showArgs = false;
    std::vector<vel::Variant> callArgs;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (method.empty() && (a == "--host" || a == "--port" || a == "--server")) {
            if (i + 1 >= args.size()) {
                err << "velctl call: " << a << " needs a value\n";
                return 2;
            }
            const std::string& v = args[++i];
            if (a == "--host") host = v;
            else if (a == "--server") server = v;
            else {
                try {
                    size_t used = 0;
                    port = std::stoi(v, &used);
                    if (used != v.size() || port <= 0 || port > 65535) throw std::invalid_argument(v);
                } catch (const std::exception&) {
                    err << "velctl call: invalid port " << v << "\n";
                    return 2;
                }
            }
        } else if (method.empty() && a == "--args") {
            showArgs = true;
        } else if (method.empty()) {
            method = a;
        } else {
            callArgs.push_back(ParseArg(a));
        }
    }
    if (method.empty() || port == 0) {
        err << "velctl call: a port and a method are required\n";
        return 2;
    }
    try {
        vel::net::TSocketConnection con;
        con.Address = host;
        con.Port = port;
        con.ServerName = server;
        vel::Variant result = con.AppServer().Call(method, callArgs);
        out << vel::ToJson(result) << "\n";
        if (showArgs)
            for (const vel::Variant& v : callArgs) out << vel::ToJson(v) << "\n";
    } catch (const std::exception& e) {
        err << "velctl call: " << vel::AnsiToUtf8(e.what()) << "\n";
        return 1;
    }
    return 0;
}

velctl::Registrar registerCall({"call",
                                "call [--host H] --port P [--server CLASS] [--args] METHOD [ARG...]   "
                                "raw call to the server; ARGs are JSON literals or plain words",
                                &RunCall});

}  // namespace
