#include "platform/text/json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/text/codepage.h"

namespace vel {
namespace {

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : s_(text) {}

    Variant Document() {
        Variant v = Value(0);
        Space();
        if (p_ != s_.size()) Fail("text after the value");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw Exception("JSON error at offset " + std::to_string(p_) + ": " + what);
    }
    void Space() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r')) ++p_;
    }
    bool Take(const char* word) {
        size_t n = std::char_traits<char>::length(word);
        if (s_.compare(p_, n, word) == 0) {
            p_ += n;
            return true;
        }
        return false;
    }

    Variant Value(int depth) {
        if (depth > 64) Fail("nesting too deep");
        Space();
        if (p_ >= s_.size()) Fail("value expected");
        char c = s_[p_];
        if (c == '[') return Array(depth);
        if (c == '"') return Variant(Utf8ToAnsi(String()));
        if (Take("true")) return Variant(true);
        if (Take("false")) return Variant(false);
        if (Take("null")) return Variant::Null();
        if (c == '-' || (c >= '0' && c <= '9')) return Number();
        Fail(std::string("unexpected character '") + c + "'");
    }

    Variant Array(int depth) {
        ++p_;
        std::vector<Variant> items;
        Space();
        if (p_ < s_.size() && s_[p_] == ']') {
            ++p_;
            return Variant::Array(0, -1);
        }
        while (true) {
            items.push_back(Value(depth + 1));
            Space();
            if (p_ < s_.size() && s_[p_] == ',') { ++p_; continue; }
            if (p_ < s_.size() && s_[p_] == ']') { ++p_; break; }
            Fail("',' or ']' expected");
        }
        Variant a = Variant::Array(0, static_cast<int>(items.size()) - 1);
        for (size_t i = 0; i < items.size(); ++i) a[static_cast<int>(i)] = std::move(items[i]);
        return a;
    }

    std::string String() {
        ++p_;
        std::string out;
        while (true) {
            if (p_ >= s_.size()) Fail("unterminated string");
            char c = s_[p_++];
            if (c == '"') return out;
            if (c != '\\') { out += c; continue; }
            if (p_ >= s_.size()) Fail("unterminated escape");
            char e = s_[p_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    if (p_ + 4 > s_.size()) Fail("bad \\u escape");
                    unsigned code = 0;
                    for (int i = 0; i < 4; ++i) {
                        char h = s_[p_++];
                        code <<= 4;
                        if (h >= '0' && h <= '9') code |= static_cast<unsigned>(h - '0');
                        else if (h >= 'a' && h <= 'f') code |= static_cast<unsigned>(h - 'a' + 10);
                        else if (h >= 'A' && h <= 'F') code |= static_cast<unsigned>(h - 'A' + 10);
                        else Fail("bad \\u escape");
                    }
                    out += WideToUtf8(std::u16string(1, static_cast<char16_t>(code)));
                    break;
                }
                default: Fail("bad escape");
            }
        }
    }

    Variant Number() {
        size_t start = p_;
        if (s_[p_] == '-') ++p_;
        bool fractional = false;
        while (p_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[p_])) || s_[p_] == '.' || s_[p_] == 'e' ||
                                  s_[p_] == 'E' || s_[p_] == '+' || s_[p_] == '-')) {
            if (s_[p_] == '.' || s_[p_] == 'e' || s_[p_] == 'E') fractional = true;
            ++p_;
        }
        std::string text = s_.substr(start, p_ - start);
        char* end = nullptr;
        double d = std::strtod(text.c_str(), &end);
        if (!end || *end) Fail("bad number " + text);
        if (!fractional && d >= -2147483648.0 && d <= 2147483647.0) return Variant(static_cast<int>(d));
        return Variant(d);
    }

    const std::string& s_;
    size_t p_ = 0;
};

void Quote(const std::string& utf8, std::string& out) {
    out += '"';
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

void Write(const Variant& v, std::string& out) {
    switch (v.Type()) {
        case VarType::Empty: case VarType::Null: out += "null"; return;
        case VarType::Boolean: out += v.ToBool() ? "true" : "false"; return;
        case VarType::SmallInt: case VarType::Integer: case VarType::Byte: case VarType::Double:
            out += v.ToString();
            return;
        case VarType::String: Quote(AnsiToUtf8(v.Bytes()), out); return;
        case VarType::OleStr: Quote(WideToUtf8(v.Wide()), out); return;
        case VarType::Date: Quote(v.ToString(), out); return;
        case VarType::Array: {
            out += '[';
            if (v.DimCount() == 2) {
                for (int i = v.LowBound(1); i <= v.HighBound(1); ++i) {
                    if (i > v.LowBound(1)) out += ',';
                    out += '[';
                    for (int j = v.LowBound(2); j <= v.HighBound(2); ++j) {
                        if (j > v.LowBound(2)) out += ',';
                        Write(v.At(i, j), out);
                    }
                    out += ']';
                }
            } else {
                for (int i = v.LowBound(); i <= v.HighBound(); ++i) {
                    if (i > v.LowBound()) out += ',';
                    Write(v[i], out);
                }
            }
            out += ']';
            return;
        }
        default: out += "null";
    }
}

}  // namespace

Variant ParseJson(const std::string& utf8) { return JsonReader(utf8).Document(); }

std::string ToJson(const Variant& value) {
    std::string out;
    Write(value, out);
    return out;
}

}  // namespace vel
