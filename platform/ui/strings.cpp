#include "platform/ui/strings.h"

#include <algorithm>

#include "platform/system/inifile.h"

namespace vel {

VEL_DEFINE_PERSISTENT(TStringList,
    b.Str("Text", [](TStringList& s) { return s.Text(); }, [](TStringList& s, const std::string& v) { s.SetText(v); });
    b.Str("CommaText", [](TStringList& s) { return s.CommaText(); },
          [](TStringList& s, const std::string& v) { s.SetCommaText(v); }))

TStringList::TStringList(std::initializer_list<std::string> lines) {
    for (const auto& l : lines) lines_.push_back(Line{l, nullptr});
}

int TStringList::Add(const std::string& text, void* object) {
    if (sorted_) {
        auto it = std::upper_bound(lines_.begin(), lines_.end(), text,
                                   [](const std::string& t, const Line& l) { return t < l.text; });
        int index = static_cast<int>(it - lines_.begin());
        lines_.insert(it, Line{text, object});
        Changed();
        return index;
    }
    lines_.push_back(Line{text, object});
    Changed();
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& text, void* object) {
    if (index < 0 || index > Count()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    lines_.insert(lines_.begin() + index, Line{text, object});
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    lines_.erase(lines_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed();
}

int TStringList::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(lines_[i].text, text)) return i;
    return -1;
}

int TStringList::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Names(i), name)) return i;
    return -1;
}

std::string TStringList::Names(int index) const {
    const std::string& t = (*this)[index];
    size_t eq = t.find('=');
    return eq == std::string::npos ? std::string() : t.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const {
    const std::string& t = (*this)[index];
    size_t eq = t.find('=');
    return eq == std::string::npos ? std::string() : t.substr(eq + 1);
}

std::string TStringList::Values(const std::string& name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i >= 0) {
        Put(i, name + "=" + value);
    } else {
        Add(name + "=" + value);
    }
}

std::string TStringList::Text() const {
    std::string s;
    for (const auto& l : lines_) s += l.text + "\r\n";
    return s;
}

void TStringList::SetText(const std::string& text) {
    lines_.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines_.push_back(Line{text.substr(start), nullptr});
            break;
        }
        lines_.push_back(Line{text.substr(start, end - start), nullptr});
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    if (sorted_) std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) { return a.text < b.text; });
    Changed();
}

std::string TStringList::CommaText() const {
    std::string s;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i) s += ",";
        const std::string& t = lines_[i].text;
        if (t.empty() || t.find_first_of(" ,\"") != std::string::npos) {
            s += '"';
            for (char c : t) {
                if (c == '"') s += '"';
                s += c;
            }
            s += '"';
        } else {
            s += t;
        }
    }
    return s;
}

void TStringList::SetCommaText(const std::string& text) {
    lines_.clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        std::string item;
        if (i < text.size() && text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') { item += '"'; i += 2; continue; }
                    ++i;
                    break;
                }
                item += text[i++];
            }
            while (i < text.size() && text[i] != ',') ++i;
        } else {
            while (i < text.size() && text[i] != ',') item += text[i++];
            item = TrimText(item);
        }
        lines_.push_back(Line{item, nullptr});
        if (i < text.size() && text[i] == ',') {
            ++i;
            if (i == text.size()) lines_.push_back(Line{"", nullptr});
        }
    }
    Changed();
}

std::vector<std::string> TStringList::ToVector() const {
    std::vector<std::string> v;
    for (const auto& l : lines_) v.push_back(l.text);
    return v;
}

void TStringList::Assign(const TStringList& other) {
    lines_.clear();
    for (const auto& l : other.lines_) lines_.push_back(l);
    if (sorted_) std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) { return a.text < b.text; });
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) { return a.text < b.text; });
}

}  // namespace vel
