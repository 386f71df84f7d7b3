#include "platform/graphics/bitmap.h"

#include <cstdio>

namespace vel {

VEL_DEFINE_PERSISTENT(TBitmap,
    b.Int("Width", [](TBitmap& m) { return m.Width(); }, [](TBitmap& m, int v) { m.SetWidth(v); });
    b.Int("Height", [](TBitmap& m) { return m.Height(); }, [](TBitmap& m, int v) { m.SetHeight(v); });
    b.Str("Data", [](TBitmap& m) { return m.ToHex(); },
          [](TBitmap& m, const std::string& v) { m.Assign(TBitmap::FromHex(v)); }))

TBitmap::TBitmap(int width, int height, TColor fill) {
    SetSize(width, height);
    Fill(fill);
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0) throw Exception("Invalid bitmap size");
    std::vector<TColor> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), clWhite);
    for (int y = 0; y < std::min(height, height_); ++y)
        for (int x = 0; x < std::min(width, width_); ++x)
            pixels[static_cast<size_t>(y) * width + x] = pixels_[static_cast<size_t>(y) * width_ + x];
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
}

void TBitmap::SetFormat(PixelFormat format) {
    if (format == PixelFormat::pf1bit)
        for (auto& p : pixels_) p = (ColorToRGB(p) & 0xFFFFFF) == clBlack ? clBlack : clWhite;
    format_ = format;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) throw Exception("Pixel out of range");
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    TColor c = ColorToRGB(color) & 0xFFFFFF;
    if (format_ == PixelFormat::pf1bit) c = c == clBlack ? clBlack : clWhite;
    pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

TColor TBitmap::TransparentColor() const {
    if (transparentFixed_) return transparentColor_;
    if (Empty()) return clWhite;
    return Pixel(0, height_ - 1);
}

void TBitmap::Fill(TColor color) { FillRect(0, 0, width_, height_, color); }

void TBitmap::FillRect(int left, int top, int right, int bottom, TColor color) {
    for (int y = std::max(0, top); y < std::min(bottom, height_); ++y)
        for (int x = std::max(0, left); x < std::min(right, width_); ++x) SetPixel(x, y, color);
}

void TBitmap::Draw(int x, int y, const TBitmap& source) {
    for (int sy = 0; sy < source.height_; ++sy)
        for (int sx = 0; sx < source.width_; ++sx) SetPixel(x + sx, y + sy, source.Pixel(sx, sy));
}

void TBitmap::Assign(const TBitmap& other) {
    width_ = other.width_;
    height_ = other.height_;
    format_ = other.format_;
    pixels_ = other.pixels_;
    transparentColor_ = other.transparentColor_;
    transparentFixed_ = other.transparentFixed_;
    transparent_ = other.transparent_;
}

bool TBitmap::SamePixels(const TBitmap& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

std::string TBitmap::ToHex() const {
    std::string s = std::to_string(width_) + "x" + std::to_string(height_) + ":";
    char buf[8];
    for (TColor p : pixels_) {
        std::snprintf(buf, sizeof buf, "%02X%02X%02X", GetRValue(p), GetGValue(p), GetBValue(p));
        s += buf;
    }
    return s;
}

TBitmap TBitmap::FromHex(const std::string& text) {
    int w = 0, h = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%dx%d:%n", &w, &h, &consumed) != 2 || w < 0 || h < 0 || w > 4096 || h > 4096)
        throw Exception("Invalid bitmap data");
    size_t need = static_cast<size_t>(w) * h * 6;
    if (text.size() - static_cast<size_t>(consumed) != need) throw Exception("Invalid bitmap data");
    TBitmap bmp(w, h);
    const char* p = text.c_str() + consumed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, p += 6) {
            unsigned r, g, b;
            if (std::sscanf(p, "%2x%2x%2x", &r, &g, &b) != 3) throw Exception("Invalid bitmap data");
            bmp.SetPixel(x, y, RGB(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)));
        }
    return bmp;
}

}  // namespace vel
