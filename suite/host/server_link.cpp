#include "suite/host/server_link.h"

#include "module/remote_names.h"
#include "platform/automation/dispatch.h"
#include "runtime/vantrel_ini.h"

namespace velhost {

vel::Variant ServerLink::Server() {
    if (server_.IsDispatch()) return server_;
    vel::TVantrelIniC config;
    if (!config.ErrorCode.empty()) throw vel::OleException("The client configuration cannot be read (" + config.ErrorCode + ")");
    const vel::Variant& servers = config.Servers;
    if (!servers.IsArray() || servers.DimCount() != 2 || servers.HighBound(2) < servers.LowBound(2))
        throw vel::OleException("The client configuration names no application server");
    std::string address = servers.At(servers.LowBound(1), servers.LowBound(2)).ToString();
    int port = servers.At(servers.LowBound(1) + 1, servers.LowBound(2)).ToInt();
    if (address == "127.0.0.1") {
        server_ = vel::CreateOleObject(vel::remote::kReportCounterClass);
    } else {
        connection_.Disconnect();
        connection_.Address = address;
        connection_.Port = port;
        connection_.ServerName = vel::remote::kReportCounterClass;
        connection_.Connect();
        server_ = connection_.AppServer();
    }
    return server_;
}

vel::Variant ServerLink::Call(const std::string& operation, std::vector<vel::Variant>& args) {
    vel::Variant server = Server();
    try {
        return server.Call(operation, args);
    } catch (const vel::OleException&) {
        throw;  // the server answered with its reason; the link is fine
    } catch (const std::exception& e) {
        // A broken connection: drop it so the next call connects again.
        server_ = vel::Variant();
        connection_.Disconnect();
        throw vel::OleException(e.what());
    }
}

}  // namespace velhost
