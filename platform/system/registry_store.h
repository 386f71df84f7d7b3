#pragma once
// The registry store: an INI-shaped file whose sections are key paths such as
// [HKEY_LOCAL_MACHINE\Software\Vel\Vantrel] and whose entries are values. Its path comes
// from VEL_REGISTRY (default /etc/vel/registry.ini); a missing file means missing keys.
// Key paths compare without case; a leading "\" is ignored.
#include <optional>
#include <string>
#include <vector>

#include "platform/core/exception.h"

namespace vel {

constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE";
constexpr const char* kClassesRoot = "HKEY_CLASSES_ROOT";
constexpr const char* kCurrentUser = "HKEY_CURRENT_USER";

VEL_API std::string RegistryStorePath();

class VEL_API Registry {
public:
    // Reads the store as it is on disk now.
    Registry();
    explicit Registry(const std::string& fileName);

    bool KeyExists(const std::string& root, const std::string& key) const;
    std::optional<std::string> ReadValue(const std::string& root, const std::string& key,
                                         const std::string& name) const;
    std::vector<std::string> ValueNames(const std::string& root, const std::string& key) const;
    // Writes a value and saves the store.
    void WriteValue(const std::string& root, const std::string& key, const std::string& name,
                    const std::string& value);

private:
    std::string fileName_;
};

}  // namespace vel
