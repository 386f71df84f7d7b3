#include "platform/system/sysinfo.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace vel {

std::string CurrentUserName() {
    if (passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

std::string ComputerName() {
    char buf[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return "";
    return buf;
}

std::string TempDirectory() {
    const char* env = std::getenv("TMPDIR");
    std::string dir = env && *env ? env : "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace vel
