#pragma once
// The user, the computer and the temporary directory, as the system names them.
#include <string>

#include "platform/core/exception.h"

namespace vel {

VEL_API std::string CurrentUserName();
VEL_API std::string ComputerName();
// TMPDIR or /tmp, always with a trailing "/".
VEL_API std::string TempDirectory();

}  // namespace vel
