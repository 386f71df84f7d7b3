#pragma once
// Running a built program through the shell as a person would, for tests of whole tools.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace veltest {

// A word for the shell, quoted so that it stays one word whatever it holds.
inline std::string ShellQuote(const std::string& word) {
    std::string q = "'";
    for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs `command` through the shell and answers its standard output; `exitCode` gets the
// exit status (-1 when it did not exit normally or could not start).
inline std::string ShellOutput(const std::string& command, int* exitCode = nullptr) {
    std::string out;
    if (exitCode) *exitCode = -1;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int status = ::pclose(p);
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

}  // namespace veltest
