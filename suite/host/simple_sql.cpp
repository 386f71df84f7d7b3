#include "suite/host/simple_sql.h"

#include <cctype>
#include <strings.h>

namespace velhost {
namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : t_(text) {}
    void Blanks() {
        while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_]))) ++i_;
    }
    bool AtEnd() {
        Blanks();
        if (i_ < t_.size() && t_[i_] == ';') ++i_;
        Blanks();
        return i_ == t_.size();
    }
    bool Word(const char* word) {
        Blanks();
        size_t n = std::char_traits<char>::length(word);
        if (t_.size() - i_ < n || strncasecmp(t_.c_str() + i_, word, n) != 0) return false;
        if (i_ + n < t_.size() && IsNamePart(t_[i_ + n])) return false;
        i_ += n;
        return true;
    }
    bool Char(char c) {
        Blanks();
        if (i_ < t_.size() && t_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    bool Name(std::string& out) {
        Blanks();
        if (i_ >= t_.size() || !(std::isalpha(static_cast<unsigned char>(t_[i_])) || t_[i_] == '_')) return false;
        size_t start = i_;
        while (i_ < t_.size() && IsNamePart(t_[i_])) ++i_;
        out = t_.substr(start, i_ - start);
        return true;
    }
    // 'text' with '' for a quote, or a plain number.
    bool Value(std::string& out) {
        Blanks();
        out.clear();
        if (i_ < t_.size() && t_[i_] == '\'') {
            for (++i_; i_ < t_.size(); ++i_) {
                if (t_[i_] != '\'') {
                    out += t_[i_];
                } else if (i_ + 1 < t_.size() && t_[i_ + 1] == '\'') {
                    out += '\'';
                    ++i_;
                } else {
                    ++i_;
                    return true;
                }
            }
            return false;  // unterminated
        }
        size_t start = i_;
        if (i_ < t_.size() && (t_[i_] == '-' || t_[i_] == '+')) ++i_;
        while (i_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[i_])) || t_[i_] == '.')) ++i_;
        out = t_.substr(start, i_ - start);
        return !out.empty() && std::isdigit(static_cast<unsigned char>(out.back()));
    }

private:
    static bool IsNamePart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
    const std::string& t_;
    size_t i_ = 0;
};

}  // namespace

bool ParseSimpleSelect(const std::string& text, SimpleSelect& out, std::string& error) {
    out = SimpleSelect();
    Reader r(text);
    error = "SimpleSQL reads only \"SELECT column, ... FROM table [WHERE column = value AND ...]\"";
    if (!r.Word("SELECT")) return false;
    do {
        std::string column;
        if (!r.Name(column)) return false;
        out.columns.push_back(column);
    } while (r.Char(','));
    if (!r.Word("FROM") || !r.Name(out.table)) return false;
    if (r.Word("WHERE")) {
        do {
            std::string column, value;
            if (!r.Name(column) || !r.Char('=') || !r.Value(value)) return false;
            out.conditions.emplace_back(column, value);
        } while (r.Word("AND"));
    }
    if (!r.AtEnd()) return false;
    error.clear();
    return true;
}

vel::Variant RunSimpleSql(ServerLink& link, const vel::Variant& value) {
    vel::Variant textValue = value.IsArray() ? (value.HighBound() >= value.LowBound() ? value[value.LowBound()] : vel::Variant()) : value;
    if (textValue.IsArray()) throw vel::OleException("SimpleSQL expects a text");
    SimpleSelect select;
    std::string error;
    if (!ParseSimpleSelect(textValue.ToString(), select, error)) throw vel::OleException(error);
    vel::Variant columns = vel::Variant::Array(0, static_cast<int>(select.columns.size()) - 1);
    for (size_t i = 0; i < select.columns.size(); ++i) columns[static_cast<int>(i)] = vel::Variant(select.columns[i]);
    int n = static_cast<int>(select.conditions.size());
    vel::Variant names = vel::Variant::Array(0, n - 1), values = vel::Variant::Array(0, n - 1);
    for (int i = 0; i < n; ++i) {
        names[i] = vel::Variant(select.conditions[static_cast<size_t>(i)].first);
        values[i] = vel::Variant(select.conditions[static_cast<size_t>(i)].second);
    }
    return link.Call("SelectRows", {vel::Variant(select.table), columns, names, values});
}

}  // namespace velhost
