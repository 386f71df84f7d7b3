#pragma once
// String lists: ordered texts with an optional object per line and name=value access.
#include <string>
#include <vector>

#include "platform/ui/object.h"

namespace vel {

class VEL_API TStringList : public TPersistent {
    VEL_CLASS(TStringList, TPersistent)
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines);

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(static_cast<size_t>(index)).text; }
    const std::string& Strings(int index) const { return (*this)[index]; }
    void Put(int index, const std::string& text) { lines_.at(static_cast<size_t>(index)).text = text; Changed(); }
    void* Objects(int index) const { return lines_.at(static_cast<size_t>(index)).object; }
    void PutObject(int index, void* object) { lines_.at(static_cast<size_t>(index)).object = object; }

    int Add(const std::string& text, void* object = nullptr);
    void Insert(int index, const std::string& text, void* object = nullptr);
    void Delete(int index);
    void Clear();
    int IndexOf(const std::string& text) const;  // no case
    // "Name=value" lines.
    int IndexOfName(const std::string& name) const;
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);

    // Lines joined with line breaks (each line followed by "\r\n"), and split back.
    std::string Text() const;
    void SetText(const std::string& text);
    // Comma-separated, with quotes around lines holding spaces, commas or quotes.
    std::string CommaText() const;
    void SetCommaText(const std::string& text);
    std::vector<std::string> ToVector() const;
    void Assign(const TStringList& other);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

    Handler<TStringList*> OnChange;

private:
    void Changed() { OnChange(this); }
    struct Line {
        std::string text;
        void* object = nullptr;
    };
    std::vector<Line> lines_;
    bool sorted_ = false;
};

using TStrings = TStringList;

}  // namespace vel
