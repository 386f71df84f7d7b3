#include "forms/disabled_glyph.h"

namespace vel {

TBitmap DisabledGlyphOutline(TBitmap& source) {
    source.SetFormat(PixelFormat::pf24bit);
    const TColor t = source.TransparentColor();
    const int w = source.Width(), h = source.Height();
    TBitmap outline(w, h, t);
    auto at = [&](int x, int y) { return source.Pixel(x, y); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            TColor p = at(x, y);
            if (p == t) continue;
            bool dark = GetRValue(p) + GetGValue(p) + GetBValue(p) < 384;
            // At the border the pixel itself stands in for the missing neighbour.
            bool marked = !dark && (at(x, y > 0 ? y - 1 : y) == t || at(x, y < h - 1 ? y + 1 : y) == t ||
                                    at(x > 0 ? x - 1 : x, y) == t || at(x < w - 1 ? x + 1 : x, y) == t);
            if (dark || marked) outline.SetPixel(x, y, clBlack);
        }
    return outline;
}

TBitmap MakeDisabledGlyph(TBitmap& source) {
    TBitmap outline = DisabledGlyphOutline(source);
    const int w = outline.Width(), h = outline.Height();
    TBitmap result(w, h, clBtnFace);
    const TColor highlight = ColorToRGB(clBtnHighlight);
    const TColor shadow = ColorToRGB(clBtnShadow);
    // The brush is painted where the mask is black: first the highlight one pixel down and
    // right, then the shadow in place.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (outline.Pixel(x, y) == clBlack) result.SetPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (outline.Pixel(x, y) == clBlack) result.SetPixel(x, y, shadow);
    return result;
}

void AddDisabledImage(TBitmap& glyph) {
    if (glyph.Empty()) return;
    TBitmap disabled = MakeDisabledGlyph(glyph);
    TBitmap copy;
    copy.Assign(glyph);
    const TColor t = glyph.TransparentColor();
    const int width = glyph.Width();
    glyph.SetSize(width * 2, glyph.Height());
    glyph.Fill(t);
    glyph.Draw(0, 0, copy);
    glyph.Draw(width, 0, disabled);
}

}  // namespace vel
