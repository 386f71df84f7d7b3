#pragma once
// Texts arriving from clients: byte texts are already in the data code page (936), wide
// texts are converted to it; for output documents both become UTF-8.
#include <string>

#include "platform/text/codepage.h"
#include "platform/variant/variant.h"

namespace velserver {

// A text argument in the data code page. Arrays are refused; other scalars read as text.
inline std::string DataText(const vel::Variant& v) {
    if (v.Type() == vel::VarType::String) return v.Bytes();
    if (v.Type() == vel::VarType::OleStr) return vel::WideToCodePage(v.Wide(), vel::kCodePageGB);
    if (v.IsArray()) throw vel::Exception("A text was expected, not an array");
    return v.ToString();
}

// Data code page bytes as UTF-8.
inline std::string DataToUtf8(const std::string& data) { return vel::CodePageToUtf8(data, vel::kCodePageGB); }

}  // namespace velserver
