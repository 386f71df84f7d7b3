#include "controls/module_bitmaps.h"

#include <cstring>

namespace vel {
namespace {

// The module's pictures, drawn as text: one character per pixel, rows from the top.
//   . transparent (the bottom-left pixel)   k frame   w white   s silver   m tick   g grey tick
struct Art {
    const char* name;
    const char* rows[14];
};

constexpr Art kArt[] = {
    {"CHECKED",
     {"..kkkkkkkkkkkkk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwmwk....",
      "..kwwwwwwwwmmwk....",
      "..kwwwwwwwmmmwk....",
      "..kwwmwwwmmmwwk....",
      "..kwwmmwmmmwwwk....",
      "..kwwmmmmmwwwwk....",
      "..kwwwmmmwwwwwk....",
      "..kwwwwmwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kkkkkkkkkkkkk....",
      "..................."}},
    {"GRAYED",
     {"..kkkkkkkkkkkkk....",
      "..ksssssssssssk....",
      "..ksssssssssssk....",
      "..ksssssssssgsk....",
      "..kssssssssggsk....",
      "..ksssssssgggsk....",
      "..kssgsssgggssk....",
      "..kssggsgggsssk....",
      "..kssgggggssssk....",
      "..ksssgggsssssk....",
      "..kssssgssssssk....",
      "..ksssssssssssk....",
      "..kkkkkkkkkkkkk....",
      "..................."}},
    {"UNCHECKED",
     {"..kkkkkkkkkkkkk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kwwwwwwwwwwwk....",
      "..kkkkkkkkkkkkk....",
      "..................."}},
};

TColor PaletteColor(char c) {
    switch (c) {
        case 'k': return RGB(64, 64, 64);
        case 'w': return clWhite;
        case 's': return clSilver;
        case 'm': return RGB(0, 0, 0);
        case 'g': return clGray;
        default: return clFuchsia;
    }
}

}  // namespace

TBitmap ModuleBitmap(const std::string& name) {
    for (const Art& art : kArt) {
        if (name != art.name) continue;
        int width = static_cast<int>(std::strlen(art.rows[0]));
        int height = static_cast<int>(sizeof art.rows / sizeof art.rows[0]);
        TBitmap bitmap(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, PaletteColor(art.rows[y][x]));
        return bitmap;
    }
    throw Exception("No bitmap resource " + name);
}

}  // namespace vel
