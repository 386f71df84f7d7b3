#pragma once
// Variant: the tagged value that travels between the module, its host and its server.
// Arrays have value semantics: copying a variant copies its array.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/exception.h"

namespace vel {

class IDispatch;
using DispatchPtr = std::shared_ptr<IDispatch>;

// Type codes follow the automation numbering, so they can be compared with stored values.
enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    SmallInt = 2,   // 16-bit integer
    Integer = 3,    // 32-bit integer
    Double = 5,
    Date = 7,       // days since 30 Dec 1899, fraction = time of day
    OleStr = 8,     // wide text (UTF-16)
    Dispatch = 9,
    Boolean = 11,   // true is -1
    Variant = 12,   // element type of variant arrays
    Byte = 17,
    String = 0x100, // byte text in the machine's code page
    Array = 0x2000,
};

struct ArrayBound {
    int low = 0;
    int high = -1;
    int Count() const { return high - low + 1; }
};

class Variant;

// A one- or two-dimensional array of variants. Two-dimensional arrays are indexed
// [i, j] with i in the first dimension; storage is column-major as in automation.
struct VarArrayData {
    std::vector<ArrayBound> bounds;
    std::vector<Variant> items;
};

class VEL_API Variant {
public:
    Variant();
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    Variant(int value);                    // 32-bit integer
    Variant(int16_t value);
    Variant(uint8_t value);
    Variant(bool value);
    Variant(double value);
    Variant(const char* text);             // byte text
    Variant(const std::string& text);      // byte text
    Variant(std::string&& text);
    Variant(const std::u16string& text);   // wide text
    Variant(const char16_t* text);
    Variant(DispatchPtr object);

    static Variant Null();
    static Variant FromDate(double days);
    // One-dimensional variant array low..high filled with empties.
    static Variant Array(int low, int high);
    // Two-dimensional variant array.
    static Variant Array2(int low1, int high1, int low2, int high2);
    // One-dimensional array 0..n-1 of the given values.
    static Variant Of(std::initializer_list<Variant> values);

    VarType Type() const { return type_; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsArray() const { return type_ == VarType::Array; }
    bool IsText() const { return type_ == VarType::String || type_ == VarType::OleStr; }
    bool IsNumeric() const;
    bool IsDispatch() const { return type_ == VarType::Dispatch; }

    // Conversions; a value that cannot be converted raises vel::Exception.
    std::string ToString() const;        // byte text in the machine's code page
    std::u16string ToWide() const;
    int32_t ToInt() const;
    double ToDouble() const;
    bool ToBool() const;
    double ToDate() const;
    DispatchPtr ToDispatch() const;

    // Direct access to stored texts (no conversion); raises when the type differs.
    const std::string& Bytes() const;
    const std::u16string& Wide() const;

    // Arrays.
    int DimCount() const;
    int LowBound(int dim = 1) const;
    int HighBound(int dim = 1) const;
    Variant& operator[](int index);
    const Variant& operator[](int index) const;
    Variant& At(int i, int j);
    const Variant& At(int i, int j) const;
    VarArrayData& ArrayData();
    const VarArrayData& ArrayData() const;
    // Resizes a one-dimensional array to a new high bound, keeping elements.
    void Redim(int high);

    // Late-bound call on a dispatch variant (see platform/automation/dispatch.h).
    Variant Call(const std::string& name, std::vector<Variant>& args) const;
    Variant Call(const std::string& name, std::initializer_list<Variant> args = {}) const;
    Variant Get(const std::string& name) const;
    void Set(const std::string& name, const Variant& value) const;

    // Structural equality: same type and value, arrays element by element.
    bool operator==(const Variant& other) const;

    // Debug and test rendering: [a, b, [c]] with texts in quotes, UTF-8 not guaranteed.
    std::string Describe() const;

private:
    void Clear();
    void CopyFrom(const Variant& other);

    VarType type_ = VarType::Empty;
    union {
        int32_t i32_;
        int16_t i16_;
        uint8_t byte_;
        bool bool_;
        double dbl_;
    };
    std::string bytes_;
    std::u16string wide_;
    DispatchPtr object_;
    std::unique_ptr<VarArrayData> array_;
};

VEL_API std::string VarTypeName(VarType type);

}  // namespace vel
