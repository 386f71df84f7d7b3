#pragma once
// Plain text logs for failures the user is not shown. Each call opens the file, appends one
// line "[time stamp] text" and closes it; a log that cannot be written makes the writer
// return false and nothing else — logging never fails its caller.
#include <exception>
#include <string>
#include <vector>

#include "platform/core/exception.h"

namespace vel {

// <product directory>/Log/Alert_<name>_<stamp>[.log]; the product directory is the
// registry's client (else server) directory, else the host program's directory.
// period "M" stamps yyyymm, "Y" yyyy, anything else yyyymmdd. ".log" is added only when the
// name has no ".".
bool WriteAlertLog(const std::string& name, const std::string& text, const std::string& period);
// As WriteAlertLog, always below the host program's directory.
bool WriteUpdateLog(const std::string& name, const std::string& text, const std::string& period);
// <GetLogBaseDirectory()>/Log/Alert_TavroERPGenerator_<yyyymmdd>.log.
bool WriteGeneratorLog(const std::string& text);
// The product directory, else the temporary directory, else "/tmp".
std::string GetLogBaseDirectory();

// A database engine's failure with its list of sub-errors, reported one line each.
class DBEngineError : public Exception {
public:
    struct SubError {
        int code = 0;
        std::string message;
    };
    DBEngineError(const std::string& message, std::vector<SubError> errors)
        : Exception(message), Errors(std::move(errors)) {}
    std::vector<SubError> Errors;
};

// Writes a header naming the location, the exception's lines when one is given, and the
// programmer's message, each line through WriteGeneratorLog. Operating-system errors
// (std::system_error) and input/output errors (std::ios_base::failure,
// std::filesystem::filesystem_error) are written with their codes.
void WriteExceptionReport(const std::exception* error, const std::string& location,
                          const std::string& programmerMessage);

// File names, exposed so that callers and tests can find a log.
std::string AlertLogFileName(const std::string& name, const std::string& period);
std::string GeneratorLogFileName();

}  // namespace vel
