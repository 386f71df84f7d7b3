#pragma once
// Libraries loaded by name, as the system loader would: "X.dll" and "X.DLL" name the shared
// object "X.so"; a bare name is looked up beside the host program, beside the calling
// module, then on the standard search path. A name with a "/" is used as it stands.
// VEL_LIBRARY_PATH (directories separated by ":"), when set, is the only place bare names
// are looked for, so an installation or a test can choose exactly which copy is loaded.
#include <string>

#include "platform/core/exception.h"

namespace vel {

using LibraryHandle = void*;

// The file name the platform loads for a library name ("Vellanguage.dll" -> "Vellanguage.so").
VEL_API std::string PlatformLibraryName(const std::string& name);
// nullptr when the library cannot be loaded; `callerAddress` is any address in the calling module.
VEL_API LibraryHandle LoadLibraryByName(const std::string& name, const void* callerAddress = nullptr);
VEL_API void* GetProcAddress(LibraryHandle library, const std::string& symbol);
VEL_API void FreeLibrary(LibraryHandle library);
VEL_API std::string LastLibraryError();

// Full file name of the module (program or shared object) that contains `address`.
VEL_API std::string ModuleFileName(const void* address);
// Directory of the running program, with a trailing "/".
VEL_API std::string ProgramDirectory();

}  // namespace vel
