#include "platform/system/dynlib.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vel {
namespace {

thread_local std::string g_lastError;

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file in the first VEL_LIBRARY_PATH directory that has it; empty when none has.
std::string FindOnLibraryPath(const std::string& dirs, const std::string& file) {
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t colon = dirs.find(':', start);
        std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (!dir.empty()) {
            std::string candidate = dir + (dir.back() == '/' ? "" : "/") + file;
            if (FileExists(candidate)) return candidate;
        }
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return {};
}

}  // namespace

std::string PlatformLibraryName(const std::string& name) {
    if (name.size() > 4) {
        std::string ext = name.substr(name.size() - 4);
        if (strcasecmp(ext.c_str(), ".dll") == 0) return name.substr(0, name.size() - 4) + ".so";
    }
    if (name.find('.') == std::string::npos) return name + ".so";
    return name;
}

std::string ProgramDirectory() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    buf[n] = '\0';
    return DirectoryOf(buf);
}

std::string ModuleFileName(const void* address) {
    Dl_info info{};
    if (address && ::dladdr(address, &info) && info.dli_fname) {
        std::string name = info.dli_fname;
        if (!name.empty() && name[0] != '/') {
            char resolved[PATH_MAX];
            if (::realpath(name.c_str(), resolved)) name = resolved;
        }
        return name;
    }
    return ProgramDirectory();
}

LibraryHandle LoadLibraryByName(const std::string& name, const void* callerAddress) {
    std::string file = PlatformLibraryName(name);
    const char* libraryPath = std::getenv("VEL_LIBRARY_PATH");
    if (file.find('/') == std::string::npos && libraryPath && *libraryPath) {
        std::string found = FindOnLibraryPath(libraryPath, file);
        if (found.empty()) {
            g_lastError = file + " is not in VEL_LIBRARY_PATH (" + libraryPath + ")";
            return nullptr;
        }
        file = found;
    } else if (file.find('/') == std::string::npos) {
        std::string candidates[] = {ProgramDirectory() + file,
                                    callerAddress ? DirectoryOf(ModuleFileName(callerAddress)) + file : std::string()};
        for (const auto& candidate : candidates)
            if (!candidate.empty() && FileExists(candidate)) {
                file = candidate;
                break;
            }
    }
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = ::dlerror();
        g_lastError = err ? err : "cannot load " + file;
    }
    return handle;
}

void* GetProcAddress(LibraryHandle library, const std::string& symbol) {
    if (!library) return nullptr;
    ::dlerror();
    return ::dlsym(library, symbol.c_str());
}

void FreeLibrary(LibraryHandle library) {
    if (library) ::dlclose(library);
}

std::string LastLibraryError() { return g_lastError; }

}  // namespace vel
