#pragma once
// Code pages: byte texts in 936 (GBK), 950 (Big5), 437 and others, converted through iconv.
// Characters the target cannot hold become '?', as the system conversion does.
#include <string>

#include "platform/core/exception.h"

namespace vel {

constexpr int kCodePageGB = 936;
constexpr int kCodePageBig5 = 950;
constexpr int kCodePageEnglish = 437;
constexpr int kCodePageUtf8 = 65001;

// The machine's ANSI code page: VEL_ACP, default 936.
VEL_API int SystemCodePage();

VEL_API std::string WideToCodePage(const std::u16string& text, int codePage);
VEL_API std::u16string CodePageToWide(const std::string& text, int codePage);
// Between two byte code pages.
VEL_API std::string ConvertCodePage(const std::string& text, int fromCodePage, int toCodePage);

VEL_API std::string Utf8ToCodePage(const std::string& utf8, int codePage);
VEL_API std::string CodePageToUtf8(const std::string& text, int codePage);
VEL_API std::u16string Utf8ToWide(const std::string& utf8);
VEL_API std::string WideToUtf8(const std::u16string& text);

// Machine code page <-> UTF-8, for command lines and terminals.
VEL_API std::string AnsiToUtf8(const std::string& text);
VEL_API std::string Utf8ToAnsi(const std::string& utf8);

// The forms are authored in simplified Chinese: a UTF-8 source literal becomes its
// code page 936 bytes, once.
VEL_API std::string CN(const char* utf8);

}  // namespace vel
