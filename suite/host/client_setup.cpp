#include "suite/host/client_setup.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/core/exception.h"
#include "platform/system/registry_store.h"

namespace fs = std::filesystem;

namespace velhost {
namespace {

std::string ProgramDirectory() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

void WriteFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out) throw vel::Exception("Cannot write " + file.string());
}

}  // namespace

std::unique_ptr<ClientSetup> ClientSetup::Prepare(const std::string& server) {
    if (server.empty() && fs::exists(vel::RegistryStorePath())) return nullptr;
    std::string address = "127.0.0.1", port = "211";
    if (!server.empty() && server != "local") {
        size_t colon = server.rfind(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == server.size() ||
            server.find_first_not_of("0123456789", colon + 1) != std::string::npos || server.size() - colon > 6)
            throw vel::Exception("--server wants ADDRESS:PORT, not " + server);
        address = server.substr(0, colon);
        port = server.substr(colon + 1);
    }
    std::unique_ptr<ClientSetup> setup(new ClientSetup);
    std::string pattern = (fs::temp_directory_path() / "velhost-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw vel::Exception("Cannot make a temporary client directory");
    setup->dir_ = pattern;
    fs::path dir(pattern);
    WriteFile(dir / "registry.ini",
              "[HKEY_LOCAL_MACHINE\\Software\\Vel\\Vantrel]\nClientPath=" + (dir / "client").string() +
                  "\n\n[HKEY_CLASSES_ROOT\\ReportCounterS.dmReportCounter]\nLibrary=" + ProgramDirectory() +
                  "/ReportCounterS.so\n");
    WriteFile(dir / "client" / "VantrelC.ini",
              "[Server Information]\nComputerName=" + address + "\nServerPort=" + port + "\n");
    ::setenv("VEL_REGISTRY", (dir / "registry.ini").c_str(), 1);
    return setup;
}

ClientSetup::~ClientSetup() {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
}

}  // namespace velhost
