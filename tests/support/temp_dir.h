#pragma once
// A temporary directory removed with its contents at the end of a test, and an
// environment variable set for the test's duration.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace veltest {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltest-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& relative) const { return path_ + "/" + relative; }
    std::string Write(const std::string& relative, const std::string& content) const {
        std::string file = File(relative);
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::string path_;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) { had_ = true; old_ = old; }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_) ::setenv(name_, old_.c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

}  // namespace veltest
