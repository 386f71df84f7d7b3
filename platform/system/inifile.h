#pragma once
// INI files with the private-profile rules users expect: section and key names compared
// without case, the first occurrence wins, values trimmed. A missing file reads as empty.
#include <map>
#include <string>
#include <vector>

#include "platform/core/exception.h"

namespace vel {

class VEL_API IniFile {
public:
    explicit IniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    bool Exists() const { return exists_; }

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // A value that is not a whole number gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // "0" is false, any other whole number true; anything else gives the default.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // Key names of a section, in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;
    std::vector<std::string> ReadSections() const;

    // Writes a value and saves the file at once (sections and keys keep their order).
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // Parses INI text; exposed for the registry store, which shares the format.
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    static std::vector<Section> Parse(const std::string& text);

private:
    const Section* FindSection(const std::string& section) const;
    void Save() const;

    std::string fileName_;
    bool exists_ = false;
    std::vector<Section> sections_;
};

VEL_API bool SameText(const std::string& a, const std::string& b);
VEL_API std::string TrimText(const std::string& text);

}  // namespace vel
