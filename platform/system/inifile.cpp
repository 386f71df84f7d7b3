#include "platform/system/inifile.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <strings.h>

namespace vel {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string TrimText(const std::string& text) {
    size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    size_t e = text.find_last_not_of(" \t\r\n");
    return text.substr(b, e - b + 1);
}

std::vector<IniFile::Section> IniFile::Parse(const std::string& text) {
    std::vector<Section> sections;
    std::istringstream in(text);
    std::string line;
    Section* current = nullptr;
    bool first = true;
    while (std::getline(in, line)) {
        if (first) {  // a UTF-8 byte order mark is not part of the first line
            first = false;
            if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        }
        std::string t = TrimText(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            size_t close = t.find(']');
            std::string name = TrimText(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = nullptr;
            for (auto& s : sections)
                if (SameText(s.name, name)) current = &s;
            if (!current) {
                sections.push_back(Section{name, {}});
                current = &sections.back();
            }
            continue;
        }
        if (!current) continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        std::string key = TrimText(t.substr(0, eq));
        std::string value = TrimText(t.substr(eq + 1));
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                  (value.front() == '\'' && value.back() == '\'')))
            value = value.substr(1, value.size() - 2);
        bool seen = false;
        for (const auto& e : current->entries)
            if (SameText(e.key, key)) seen = true;
        if (!seen) current->entries.push_back(Entry{key, value});
    }
    return sections;
}

IniFile::IniFile(std::string fileName) : fileName_(std::move(fileName)) {
    std::ifstream in(fileName_, std::ios::binary);
    if (!in) return;
    exists_ = true;
    std::stringstream buffer;
    buffer << in.rdbuf();
    sections_ = Parse(buffer.str());
}

const IniFile::Section* IniFile::FindSection(const std::string& section) const {
    for (const auto& s : sections_)
        if (SameText(s.name, section)) return &s;
    return nullptr;
}

bool IniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return false;
    for (const auto& e : s->entries)
        if (SameText(e.key, key)) return true;
    return false;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    const Section* s = FindSection(section);
    if (!s) return defaultValue;
    for (const auto& e : s->entries)
        if (SameText(e.key, key)) return e.value;
    return defaultValue;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
    std::string v = ReadString(section, key, "");
    if (v.empty()) return defaultValue;
    char* end = nullptr;
    errno = 0;
    long n = std::strtol(v.c_str(), &end, 10);
    if (!end || *end != '\0' || errno == ERANGE || n < INT32_MIN || n > INT32_MAX) return defaultValue;
    return static_cast<int>(n);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& e : s->entries) keys.push_back(e.key);
    return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    Section* target = nullptr;
    for (auto& s : sections_)
        if (SameText(s.name, section)) target = &s;
    if (!target) {
        sections_.push_back(Section{section, {}});
        target = &sections_.back();
    }
    bool done = false;
    for (auto& e : target->entries)
        if (SameText(e.key, key)) { e.value = value; done = true; }
    if (!done) target->entries.push_back(Entry{key, value});
    Save();
    exists_ = true;
}

void IniFile::Save() const {
    std::ofstream out(fileName_, std::ios::binary | std::ios::trunc);
    if (!out) throw Exception("Cannot write " + fileName_);
    for (const auto& s : sections_) {
        out << '[' << s.name << "]\n";
        for (const auto& e : s.entries) out << e.key << '=' << e.value << '\n';
        out << '\n';
    }
}

}  // namespace vel
