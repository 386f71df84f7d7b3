#include "platform/graphics/color.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

namespace vel {
namespace {

struct NamedColor {
    const char* name;
    TColor value;
};

constexpr NamedColor kNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clScrollBar", clScrollBar}, {"clWindow", clWindow}, {"clWindowText", clWindowText},
    {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clBtnHighlight", clBtnHighlight}, {"clInfoBk", clInfoBk}, {"clNone", clNone}, {"clDefault", clDefault},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption}, {"clCaptionText", clCaptionText},
    {"clInactiveCaptionText", clInactiveCaptionText},
};

}  // namespace

TColor ColorToRGB(TColor color) {
    if ((static_cast<uint32_t>(color) & 0xFF000000u) != 0x80000000u) return color;
    switch (color) {
        case clWindow: return RGB(255, 255, 255);
        case clWindowText: return RGB(0, 0, 0);
        case clHighlight: return RGB(0, 120, 215);
        case clHighlightText: return RGB(255, 255, 255);
        case clBtnFace: return RGB(240, 240, 240);
        case clBtnShadow: return RGB(160, 160, 160);
        case clGrayText: return RGB(109, 109, 109);
        case clBtnText: return RGB(0, 0, 0);
        case clBtnHighlight: return RGB(255, 255, 255);
        case clInfoBk: return RGB(255, 255, 225);
        case clScrollBar: return RGB(200, 200, 200);
        case clActiveCaption: return RGB(153, 180, 209);
        case clInactiveCaption: return RGB(191, 205, 219);
        case clCaptionText: return RGB(0, 0, 0);
        case clInactiveCaptionText: return RGB(67, 78, 84);
        default: return RGB(0, 0, 0);
    }
}

TColor StringToColor(const char* text) {
    for (const auto& n : kNames)
        if (strcasecmp(n.name, text) == 0) return n.value;
    const char* p = text;
    int base = 10;
    if (*p == '$') { ++p; base = 16; }
    char* end = nullptr;
    long long v = std::strtoll(p, &end, base);
    if (!*p || !end || *end) throw Exception(std::string("Invalid colour: ") + text);
    return static_cast<TColor>(static_cast<uint32_t>(v));
}

const char* ColorName(TColor color) {
    for (const auto& n : kNames)
        if (n.value == color) return n.name;
    return nullptr;
}

}  // namespace vel
