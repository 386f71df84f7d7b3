#include "runtime/logs.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cxxabi.h>
#include <filesystem>
#include <ios>
#include <memory>
#include <system_error>
#include <typeinfo>

#include "platform/system/dynlib.h"
#include "platform/system/sysinfo.h"
#include "platform/text/codepage.h"
#include "runtime/libstrs.h"
#include "runtime/vantrel_ini.h"

namespace vel {
namespace {

struct Now {
    std::tm tm{};
    int millis = 0;
};

Now CurrentTime() {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    Now n;
    localtime_r(&t, &n.tm);
    n.millis = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    return n;
}

std::string Stamp(const char* layout, const Now& n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, layout, n.tm.tm_year + 1900, n.tm.tm_mon + 1, n.tm.tm_mday,
                  n.tm.tm_hour, n.tm.tm_min, n.tm.tm_sec, n.millis);
    return buf;
}

std::string PeriodStamp(const std::string& period, const Now& n) {
    if (period == "M") return Stamp("%.4d%.2d", n);
    if (period == "Y") return Stamp("%.4d", n);
    return Stamp("%.4d%.2d%.2d", n);
}

// "<dir>/Log" without doubling a separator the directory already ends with.
std::string LogDirectory(const std::string& dir) {
    if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) return dir + "Log";
    return dir + "/Log";
}

std::string ProgramDirectoryOrEmpty() {
    try {
        return ProgramDirectory();
    } catch (...) {
        return "";
    }
}

std::string AlertDirectory() {
    std::string dir;
    try {
        dir = GetVantrelPath();
    } catch (...) {
        dir.clear();
    }
    return dir.empty() ? ProgramDirectoryOrEmpty() : dir;
}

// Creates the directory tree, appends one line and closes the file; false on any failure.
bool AppendLine(const std::string& directory, const std::string& fileName, const std::string& line) {
    try {
        std::error_code ec;
        std::filesystem::create_directories(directory, ec);
        if (ec || !std::filesystem::is_directory(directory, ec)) return false;
        std::string path = directory + "/" + fileName;
        std::FILE* f = std::fopen(path.c_str(), "ab");
        if (!f) return false;
        bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
        ok = (std::fclose(f) == 0) && ok;
        return ok;
    } catch (...) {
        return false;
    }
}

bool WriteLine(const std::string& baseDirectory, const std::string& fileName, const std::string& stamp,
               const std::string& text) {
    return AppendLine(LogDirectory(baseDirectory), fileName, "[" + stamp + "] " + text + "\n");
}

std::string ClassName(const std::exception& e) {
    const char* mangled = typeid(e).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    // The system names its exception classes without the namespace.
    if (name.rfind("vel::", 0) == 0) name.erase(0, 5);
    return name;
}

std::string Printf(const char* layout, int index, int code, const std::string& message) {
    int size = std::snprintf(nullptr, 0, layout, index, code, message.c_str());
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    std::snprintf(out.data(), out.size() + 1, layout, index, code, message.c_str());
    return out;
}

}  // namespace

std::string AlertLogFileName(const std::string& name, const std::string& period) {
    std::string file = "Alert_" + name + "_" + PeriodStamp(period, CurrentTime());
    if (name.find('.') == std::string::npos) file += ".log";
    return file;
}

std::string GeneratorLogFileName() {
    return "Alert_TavroERPGenerator_" + PeriodStamp("D", CurrentTime()) + ".log";
}

bool WriteAlertLog(const std::string& name, const std::string& text, const std::string& period) {
    try {
        return WriteLine(AlertDirectory(), AlertLogFileName(name, period),
                         Stamp("%.4d/%.2d/%.2d %.2d:%.2d:%.2d:%.3d", CurrentTime()), text);
    } catch (...) {
        return false;
    }
}

bool WriteUpdateLog(const std::string& name, const std::string& text, const std::string& period) {
    try {
        return WriteLine(ProgramDirectoryOrEmpty(), AlertLogFileName(name, period),
                         Stamp("%.4d/%.2d/%.2d %.2d:%.2d:%.2d:%.3d", CurrentTime()), text);
    } catch (...) {
        return false;
    }
}

bool WriteGeneratorLog(const std::string& text) {
    try {
        // The short date and long time of the system's own formats.
        return WriteLine(GetLogBaseDirectory(), GeneratorLogFileName(),
                         Stamp("%.4d/%.2d/%.2d %.2d:%.2d:%.2d", CurrentTime()), text);
    } catch (...) {
        return false;
    }
}

std::string GetLogBaseDirectory() {
    try {
        std::string dir = GetVantrelPath();
        if (dir.empty()) {
            dir = GetTempDirectory();
            if (dir.size() > 255) dir.resize(255);
        }
        return dir.empty() ? "/tmp" : dir;
    } catch (...) {
        return "/tmp";
    }
}

void WriteExceptionReport(const std::exception* error, const std::string& location,
                          const std::string& programmerMessage) {
    try {
        const std::string dashes = "----------------------------------";
        std::string where = TrimBlanks(location);
        WriteGeneratorLog(dashes + (where.empty() ? "" : " on " + location + " ") + dashes);
        if (error) {
            WriteGeneratorLog(CN("讯息信息:"));
            int lines = 0;
            if (auto* db = dynamic_cast<const DBEngineError*>(error)) {
                for (const auto& sub : db->Errors)
                    WriteGeneratorLog(Printf("EDBEngineError Error %.2d: Code: %d, Message: %s", ++lines, sub.code,
                                             sub.message));
            } else if (auto* io = dynamic_cast<const std::ios_base::failure*>(error)) {
                WriteGeneratorLog(Printf("EInOutError Error %.2d: Code: %d, Message: %s", ++lines, io->code().value(),
                                         io->what()));
            } else if (auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(error)) {
                WriteGeneratorLog(Printf("EInOutError Error %.2d: Code: %d, Message: %s", ++lines, fs->code().value(),
                                         fs->what()));
            } else if (auto* os = dynamic_cast<const std::system_error*>(error)) {
                WriteGeneratorLog(Printf("EWin32Error Error %.2d: Code: %d, Message: %s", ++lines, os->code().value(),
                                         os->what()));
            } else {
                char head[64];
                std::snprintf(head, sizeof head, "Message %.2d: ", ++lines);
                WriteGeneratorLog("Exception is " + ClassName(*error) + "\r\n" + head + error->what());
            }
            char count[48];
            std::snprintf(count, sizeof count, "ErrorMessage Count: %d", lines);
            WriteGeneratorLog(count);
        }
        std::string message = TrimBlanks(programmerMessage);
        if (!message.empty()) WriteGeneratorLog("Programer Message: " + message);
    } catch (...) {
        // A report that cannot be written is given up quietly.
    }
}

}  // namespace vel
