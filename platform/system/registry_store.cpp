#include "platform/system/registry_store.h"

#include <cstdlib>

#include "platform/system/inifile.h"

namespace vel {
namespace {

std::string SectionName(const std::string& root, const std::string& key) {
    std::string k = key;
    while (!k.empty() && k.front() == '\\') k.erase(0, 1);
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k.empty() ? root : root + "\\" + k;
}

}  // namespace

std::string RegistryStorePath() {
    const char* env = std::getenv("VEL_REGISTRY");
    return env && *env ? env : "/etc/vel/registry.ini";
}

Registry::Registry() : fileName_(RegistryStorePath()) {}
Registry::Registry(const std::string& fileName) : fileName_(fileName) {}

bool Registry::KeyExists(const std::string& root, const std::string& key) const {
    return IniFile(fileName_).SectionExists(SectionName(root, key));
}

std::optional<std::string> Registry::ReadValue(const std::string& root, const std::string& key,
                                               const std::string& name) const {
    IniFile ini(fileName_);
    std::string section = SectionName(root, key);
    if (!ini.ValueExists(section, name)) return std::nullopt;
    return ini.ReadString(section, name, "");
}

std::vector<std::string> Registry::ValueNames(const std::string& root, const std::string& key) const {
    return IniFile(fileName_).ReadSection(SectionName(root, key));
}

void Registry::WriteValue(const std::string& root, const std::string& key, const std::string& name,
                          const std::string& value) {
    IniFile ini(fileName_);
    ini.WriteString(SectionName(root, key), name, value);
}

}  // namespace vel
