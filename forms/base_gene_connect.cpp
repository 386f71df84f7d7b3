// The form's connection to the application server: the client configuration names the
// server's address and port; the address 127.0.0.1 means the server object runs inside this
// process (local mode), anything else is reached over the socket connection.
#include "forms/base_gene.h"
#include "platform/automation/dispatch.h"
#include "runtime/vantrel_ini.h"

namespace vel {

namespace {
constexpr const char* kLocalAddress = "127.0.0.1";
}

void TfrmBaseGene::DisconnectAppServer() {
    AppServer = Variant();
    // In local mode the server object lives in this process and there is no socket to close.
    if (!LocalServer) MainMidas.Disconnect();
}

bool TfrmBaseGene::ConnectAppServer() {
    try {
        DisconnectAppServer();
        LocalServer = false;
        TVantrelIniC config;  // reads the registry store and the client INI
        if (!config.ErrorCode.empty()) {
            ReportMessage(config.ErrorCode);
            return false;
        }
        const Variant& servers = config.Servers;
        if (servers.IsArray() && servers.DimCount() == 2 && servers.HighBound(2) >= servers.LowBound(2)) {
            MainMidas.Address = servers.At(servers.LowBound(1), servers.LowBound(2)).ToString();
            MainMidas.Port = servers.At(servers.LowBound(1) + 1, servers.LowBound(2)).ToInt();
        }
        ConnectionServerName.clear();
        PrepareConnection();
        if (ConnectionServerName.empty()) throw Exception("The connection names no server object");
        MainMidas.ServerName = ConnectionServerName;
        if (MainMidas.Address == kLocalAddress) {
            AppServer = CreateOleObject(ConnectionServerName);
            LocalServer = true;
        } else {
            MainMidas.Connect();
            AppServer = MainMidas.AppServer();
        }
        if (!AppServer.IsDispatch()) throw Exception("The server gave no server object");
        return true;
    } catch (const std::exception& e) {
        // The reason stays in the message list for the log; the user sees the plain message.
        ReportRawError(e.what());
        AppServer = Variant();
        ReportMessage("E;000006");
        return false;
    }
}

}  // namespace vel
