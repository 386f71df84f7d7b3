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

std::string ShortDateFormat() {
    const char* env = std::getenv("VEL_SHORT_DATE_FORMAT");
    return env && *env ? env : "yyyy/mm/dd";
}

std::string FormatShortDate(const std::string& ymd) {
    if (ymd.size() != 8 || ymd.find_first_not_of("0123456789") != std::string::npos) return ymd;
    const std::string year = ymd.substr(0, 4), month = ymd.substr(4, 2), day = ymd.substr(6, 2);
    auto noZero = [](const std::string& two) { return two[0] == '0' ? two.substr(1) : two; };
    const std::string format = ShortDateFormat();
    std::string out;
    for (size_t i = 0; i < format.size();) {
        auto at = [&](const char* token) {
            size_t n = std::char_traits<char>::length(token);
            if (format.compare(i, n, token) != 0) return false;
            i += n;
            return true;
        };
        if (at("yyyy")) out += year;
        else if (at("yy")) out += year.substr(2);
        else if (at("mm")) out += month;
        else if (at("m")) out += noZero(month);
        else if (at("dd")) out += day;
        else if (at("d")) out += noZero(day);
        else out += format[i++];
    }
    return out;
}

}  // namespace vel
