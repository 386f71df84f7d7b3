#pragma once
// The user, the computer and the temporary directory, as the system names them.
#include <string>

#include "platform/core/exception.h"

namespace vel {

VEL_API std::string CurrentUserName();
VEL_API std::string ComputerName();
// TMPDIR or /tmp, always with a trailing "/".
VEL_API std::string TempDirectory();
// The system's short date format: VEL_SHORT_DATE_FORMAT, else "yyyy/mm/dd". Tokens yyyy, yy,
// mm, m, dd, d; anything else is copied.
VEL_API std::string ShortDateFormat();
// A date "yyyymmdd" in the short date format; the text itself when it is not such a date.
VEL_API std::string FormatShortDate(const std::string& ymd);

}  // namespace vel
