#pragma once
// Colours: 0x00BBGGRR values, or system colours (high byte 0x80) resolved through one
// fixed theme so that every drawing is exact and testable.
#include <cstdint>

#include "platform/core/exception.h"

namespace vel {

using TColor = int32_t;

constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clInfoBk = static_cast<TColor>(0x80000018);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = static_cast<TColor>(0x80000000);
constexpr TColor clActiveCaption = static_cast<TColor>(0x80000002);
constexpr TColor clInactiveCaption = static_cast<TColor>(0x80000003);
constexpr TColor clCaptionText = static_cast<TColor>(0x80000009);
constexpr TColor clInactiveCaptionText = static_cast<TColor>(0x80000013);
constexpr TColor clWindow = static_cast<TColor>(0x80000005);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clHighlight = static_cast<TColor>(0x8000000D);
constexpr TColor clHighlightText = static_cast<TColor>(0x8000000E);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010);
constexpr TColor clGrayText = static_cast<TColor>(0x80000011);
constexpr TColor clBtnText = static_cast<TColor>(0x80000012);
constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014);

// A system colour as the fixed theme paints it; plain colours are returned unchanged.
VEL_API TColor ColorToRGB(TColor color);
// "clRed", "clBtnFace" or "$00FF00FF" / decimal; raises on an unknown name.
VEL_API TColor StringToColor(const char* text);
VEL_API const char* ColorName(TColor color);  // null when the colour has no name

}  // namespace vel
