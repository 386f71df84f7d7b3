#pragma once
// JSON for the command-line tools: arrays become variant arrays (low bound 0), strings
// byte texts in the machine's code page, numbers integers or doubles, true/false booleans,
// null the null variant. Malformed input raises vel::Exception with the offset.
#include <string>

#include "platform/variant/variant.h"

namespace vel {

VEL_API Variant ParseJson(const std::string& utf8);
// Texts are written in UTF-8; empty as null; two-dimensional arrays as arrays of columns.
VEL_API std::string ToJson(const Variant& value);

}  // namespace vel
