#include "platform/variant/variant.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "platform/automation/dispatch.h"
#include "platform/text/codepage.h"

namespace vel {
namespace {

std::string FormatDouble(double value) {
    // Fifteen significant digits, general format, as the system's float-to-text does.
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s(buf);
    // "1E+20" style: drop the plus sign and leading exponent zeros.
    auto e = s.find('E');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string exp = s.substr(e + 1);
        bool neg = !exp.empty() && exp[0] == '-';
        if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) exp.erase(0, 1);
        while (exp.size() > 1 && exp[0] == '0') exp.erase(0, 1);
        s = mant + "E" + (neg ? "-" : "") + exp;
    }
    return s;
}

// Civil date from days since 30 Dec 1899.
void DaysToCivil(long long days, int& y, unsigned& m, unsigned& d) {
    long long z = days - 25569 + 719468;  // 25569 = days from 1899-12-30 to 1970-01-01
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long yy = static_cast<long long>(yoe) + era * 400;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yy + (m <= 2));
}

std::string FormatDate(double value) {
    double whole = std::floor(value);
    int y; unsigned m, d;
    DaysToCivil(static_cast<long long>(whole), y, m, d);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%u/%u", y, m, d);
    std::string s(buf);
    double frac = value - whole;
    if (frac > 0) {
        long secs = std::lround(frac * 86400.0);
        std::snprintf(buf, sizeof buf, " %ld:%02ld:%02ld", secs / 3600, (secs / 60) % 60, secs % 60);
        s += buf;
    }
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool ParseNumber(const std::string& text, double& out) {
    std::string t = Trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(t.c_str(), &end);
    return end && *end == '\0';
}

int32_t RoundToInt(double value) {
    if (std::isnan(value) || value > 2147483647.0 || value < -2147483648.0)
        throw Exception("Invalid variant type conversion");
    return static_cast<int32_t>(std::nearbyint(value));  // round half to even
}

bool EqualsIgnoreCase(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

Variant::Variant() : i32_(0) {}
Variant::~Variant() = default;

Variant::Variant(const Variant& other) : i32_(0) { CopyFrom(other); }
Variant::Variant(Variant&& other) noexcept
    : type_(other.type_), dbl_(other.dbl_), bytes_(std::move(other.bytes_)), wide_(std::move(other.wide_)),
      object_(std::move(other.object_)), array_(std::move(other.array_)) {
    other.type_ = VarType::Empty;
}
Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}
Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        type_ = other.type_;
        dbl_ = other.dbl_;
        bytes_ = std::move(other.bytes_);
        wide_ = std::move(other.wide_);
        object_ = std::move(other.object_);
        array_ = std::move(other.array_);
        other.type_ = VarType::Empty;
    }
    return *this;
}

void Variant::Clear() {
    type_ = VarType::Empty;
    dbl_ = 0;
    bytes_.clear();
    wide_.clear();
    object_.reset();
    array_.reset();
}

void Variant::CopyFrom(const Variant& other) {
    type_ = other.type_;
    dbl_ = other.dbl_;
    bytes_ = other.bytes_;
    wide_ = other.wide_;
    object_ = other.object_;
    array_ = other.array_ ? std::make_unique<VarArrayData>(*other.array_) : nullptr;
}

Variant::Variant(int value) : type_(VarType::Integer), dbl_(0) { i32_ = value; }
Variant::Variant(int16_t value) : type_(VarType::SmallInt), dbl_(0) { i16_ = value; }
Variant::Variant(uint8_t value) : type_(VarType::Byte), dbl_(0) { byte_ = value; }
Variant::Variant(bool value) : type_(VarType::Boolean), dbl_(0) { bool_ = value; }
Variant::Variant(double value) : type_(VarType::Double), dbl_(value) {}
Variant::Variant(const char* text) : type_(VarType::String), dbl_(0), bytes_(text ? text : "") {}
Variant::Variant(const std::string& text) : type_(VarType::String), dbl_(0), bytes_(text) {}
Variant::Variant(std::string&& text) : type_(VarType::String), dbl_(0), bytes_(std::move(text)) {}
Variant::Variant(const std::u16string& text) : type_(VarType::OleStr), dbl_(0), wide_(text) {}
Variant::Variant(const char16_t* text) : type_(VarType::OleStr), dbl_(0), wide_(text ? text : u"") {}
Variant::Variant(DispatchPtr object) : type_(object ? VarType::Dispatch : VarType::Empty), dbl_(0), object_(std::move(object)) {}

Variant Variant::Null() {
    Variant v;
    v.type_ = VarType::Null;
    return v;
}

Variant Variant::FromDate(double days) {
    Variant v(days);
    v.type_ = VarType::Date;
    return v;
}

Variant Variant::Array(int low, int high) {
    if (high < low - 1) throw Exception("Variant array bounds error");
    Variant v;
    v.type_ = VarType::Array;
    v.array_ = std::make_unique<VarArrayData>();
    v.array_->bounds = {ArrayBound{low, high}};
    v.array_->items.resize(static_cast<size_t>(high - low + 1));
    return v;
}

Variant Variant::Array2(int low1, int high1, int low2, int high2) {
    if (high1 < low1 - 1 || high2 < low2 - 1) throw Exception("Variant array bounds error");
    Variant v;
    v.type_ = VarType::Array;
    v.array_ = std::make_unique<VarArrayData>();
    v.array_->bounds = {ArrayBound{low1, high1}, ArrayBound{low2, high2}};
    v.array_->items.resize(static_cast<size_t>(high1 - low1 + 1) * static_cast<size_t>(high2 - low2 + 1));
    return v;
}

Variant Variant::Of(std::initializer_list<Variant> values) {
    Variant v = Array(0, static_cast<int>(values.size()) - 1);
    size_t i = 0;
    for (const auto& value : values) v.array_->items[i++] = value;
    return v;
}

bool Variant::IsNumeric() const {
    switch (type_) {
        case VarType::SmallInt: case VarType::Integer: case VarType::Double:
        case VarType::Byte: case VarType::Boolean: return true;
        default: return false;
    }
}

std::string Variant::ToString() const {
    switch (type_) {
        case VarType::Empty: case VarType::Null: return "";
        case VarType::SmallInt: return std::to_string(i16_);
        case VarType::Integer: return std::to_string(i32_);
        case VarType::Byte: return std::to_string(byte_);
        case VarType::Boolean: return bool_ ? "True" : "False";
        case VarType::Double: return FormatDouble(dbl_);
        case VarType::Date: return FormatDate(dbl_);
        case VarType::String: return bytes_;
        case VarType::OleStr: return WideToCodePage(wide_, SystemCodePage());
        default: throw Exception("Invalid variant type conversion");
    }
}

std::u16string Variant::ToWide() const {
    if (type_ == VarType::OleStr) return wide_;
    return CodePageToWide(ToString(), SystemCodePage());
}

int32_t Variant::ToInt() const {
    switch (type_) {
        case VarType::Empty: return 0;
        case VarType::SmallInt: return i16_;
        case VarType::Integer: return i32_;
        case VarType::Byte: return byte_;
        case VarType::Boolean: return bool_ ? -1 : 0;
        case VarType::Double: case VarType::Date: return RoundToInt(dbl_);
        case VarType::String: case VarType::OleStr: {
            double d;
            if (!ParseNumber(ToString(), d))
                throw Exception("Could not convert variant of type (String) into type (Integer)");
            return RoundToInt(d);
        }
        default: throw Exception("Could not convert variant of type (" + VarTypeName(type_) + ") into type (Integer)");
    }
}

double Variant::ToDouble() const {
    switch (type_) {
        case VarType::Empty: return 0;
        case VarType::SmallInt: return i16_;
        case VarType::Integer: return i32_;
        case VarType::Byte: return byte_;
        case VarType::Boolean: return bool_ ? -1 : 0;
        case VarType::Double: case VarType::Date: return dbl_;
        case VarType::String: case VarType::OleStr: {
            double d;
            if (!ParseNumber(ToString(), d))
                throw Exception("Could not convert variant of type (String) into type (Double)");
            return d;
        }
        default: throw Exception("Could not convert variant of type (" + VarTypeName(type_) + ") into type (Double)");
    }
}

bool Variant::ToBool() const {
    switch (type_) {
        case VarType::Empty: return false;
        case VarType::Boolean: return bool_;
        case VarType::String: case VarType::OleStr: {
            std::string t = Trim(ToString());
            if (EqualsIgnoreCase(t, "true")) return true;
            if (EqualsIgnoreCase(t, "false")) return false;
            double d;
            if (ParseNumber(t, d)) return d != 0;
            throw Exception("Could not convert variant of type (String) into type (Boolean)");
        }
        default: return ToDouble() != 0;
    }
}

double Variant::ToDate() const {
    if (type_ == VarType::Date) return dbl_;
    return ToDouble();
}

DispatchPtr Variant::ToDispatch() const {
    if (type_ == VarType::Dispatch) return object_;
    throw Exception("Variant does not reference an automation object");
}

const std::string& Variant::Bytes() const {
    if (type_ != VarType::String) throw Exception("Variant is not a byte text");
    return bytes_;
}

const std::u16string& Variant::Wide() const {
    if (type_ != VarType::OleStr) throw Exception("Variant is not a wide text");
    return wide_;
}

int Variant::DimCount() const { return array_ ? static_cast<int>(array_->bounds.size()) : 0; }

int Variant::LowBound(int dim) const {
    if (!array_ || dim < 1 || dim > DimCount()) throw Exception("Variant array bounds error");
    return array_->bounds[dim - 1].low;
}

int Variant::HighBound(int dim) const {
    if (!array_ || dim < 1 || dim > DimCount()) throw Exception("Variant array bounds error");
    return array_->bounds[dim - 1].high;
}

Variant& Variant::operator[](int index) {
    return const_cast<Variant&>(static_cast<const Variant&>(*this)[index]);
}

const Variant& Variant::operator[](int index) const {
    if (!array_) throw Exception("Variant is not an array");
    if (array_->bounds.size() != 1) throw Exception("Variant array has more than one dimension");
    const auto& b = array_->bounds[0];
    if (index < b.low || index > b.high) throw Exception("Variant array index out of bounds");
    return array_->items[static_cast<size_t>(index - b.low)];
}

Variant& Variant::At(int i, int j) { return const_cast<Variant&>(static_cast<const Variant&>(*this).At(i, j)); }

const Variant& Variant::At(int i, int j) const {
    if (!array_ || array_->bounds.size() != 2) throw Exception("Variant is not a two-dimensional array");
    const auto& b1 = array_->bounds[0];
    const auto& b2 = array_->bounds[1];
    if (i < b1.low || i > b1.high || j < b2.low || j > b2.high) throw Exception("Variant array index out of bounds");
    size_t index = static_cast<size_t>(i - b1.low) + static_cast<size_t>(j - b2.low) * static_cast<size_t>(b1.Count());
    return array_->items[index];
}

VarArrayData& Variant::ArrayData() {
    if (!array_) throw Exception("Variant is not an array");
    return *array_;
}

const VarArrayData& Variant::ArrayData() const {
    if (!array_) throw Exception("Variant is not an array");
    return *array_;
}

void Variant::Redim(int high) {
    if (!array_ || array_->bounds.size() != 1) throw Exception("Variant is not a one-dimensional array");
    auto& b = array_->bounds[0];
    if (high < b.low - 1) throw Exception("Variant array bounds error");
    b.high = high;
    array_->items.resize(static_cast<size_t>(high - b.low + 1));
}

Variant Variant::Call(const std::string& name, std::vector<Variant>& args) const {
    if (type_ != VarType::Dispatch || !object_) throw Exception("Variant does not reference an automation object");
    return object_->Invoke(name, InvokeKind::Method, args);
}

Variant Variant::Call(const std::string& name, std::initializer_list<Variant> args) const {
    std::vector<Variant> list(args);
    return Call(name, list);
}

Variant Variant::Get(const std::string& name) const {
    if (type_ != VarType::Dispatch || !object_) throw Exception("Variant does not reference an automation object");
    std::vector<Variant> none;
    return object_->Invoke(name, InvokeKind::PropertyGet, none);
}

void Variant::Set(const std::string& name, const Variant& value) const {
    if (type_ != VarType::Dispatch || !object_) throw Exception("Variant does not reference an automation object");
    std::vector<Variant> args{value};
    object_->Invoke(name, InvokeKind::PropertyPut, args);
}

bool Variant::operator==(const Variant& other) const {
    if (type_ != other.type_) return false;
    switch (type_) {
        case VarType::Empty: case VarType::Null: return true;
        case VarType::SmallInt: return i16_ == other.i16_;
        case VarType::Integer: return i32_ == other.i32_;
        case VarType::Byte: return byte_ == other.byte_;
        case VarType::Boolean: return bool_ == other.bool_;
        case VarType::Double: case VarType::Date: return dbl_ == other.dbl_;
        case VarType::String: return bytes_ == other.bytes_;
        case VarType::OleStr: return wide_ == other.wide_;
        case VarType::Dispatch: return object_ == other.object_;
        case VarType::Array: {
            if (array_->bounds.size() != other.array_->bounds.size()) return false;
            for (size_t i = 0; i < array_->bounds.size(); ++i)
                if (array_->bounds[i].low != other.array_->bounds[i].low ||
                    array_->bounds[i].high != other.array_->bounds[i].high)
                    return false;
            return array_->items == other.array_->items;
        }
        default: return false;
    }
}

std::string Variant::Describe() const {
    switch (type_) {
        case VarType::Empty: return "<empty>";
        case VarType::Null: return "<null>";
        case VarType::String: return "\"" + bytes_ + "\"";
        case VarType::OleStr: return "L\"" + WideToUtf8(wide_) + "\"";
        case VarType::Dispatch: return "<object>";
        case VarType::Array: {
            std::string s = "[";
            for (size_t i = 0; i < array_->items.size(); ++i) {
                if (i) s += ", ";
                s += array_->items[i].Describe();
            }
            return s + "]";
        }
        default: return ToString();
    }
}

std::string VarTypeName(VarType type) {
    switch (type) {
        case VarType::Empty: return "Empty";
        case VarType::Null: return "Null";
        case VarType::SmallInt: return "Smallint";
        case VarType::Integer: return "Integer";
        case VarType::Double: return "Double";
        case VarType::Date: return "Date";
        case VarType::OleStr: return "OleStr";
        case VarType::Dispatch: return "Dispatch";
        case VarType::Boolean: return "Boolean";
        case VarType::Byte: return "Byte";
        case VarType::String: return "String";
        case VarType::Array: return "Array";
        default: return "Unknown";
    }
}

}  // namespace vel
