#pragma once
// Bitmaps held as 24-bit pixels (or monochrome), with a transparent colour: by default the
// colour of the bottom-left pixel, as glyphs are authored.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/ui/object.h"

namespace vel {

enum class PixelFormat { pf1bit, pf24bit };

class VEL_API TBitmap : public TPersistent {
    VEL_CLASS(TBitmap, TPersistent)
public:
    TBitmap() = default;
    TBitmap(int width, int height, TColor fill = clWhite);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    void SetSize(int width, int height);  // new pixels are white
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    PixelFormat Format() const { return format_; }
    // Turning a bitmap monochrome maps each pixel to black or white (black stays black).
    void SetFormat(PixelFormat format);
    bool Monochrome() const { return format_ == PixelFormat::pf1bit; }

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Automatic: the bottom-left pixel's colour; or a fixed colour once set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color) { transparentColor_ = color; transparentFixed_ = true; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }

    void Fill(TColor color);
    void FillRect(int left, int top, int right, int bottom, TColor color);
    // Copies `source` with its top-left corner at (x, y), clipped to this bitmap.
    void Draw(int x, int y, const TBitmap& source);
    void Assign(const TBitmap& other);
    bool SamePixels(const TBitmap& other) const;

    // Simple text form for resources and tests: "WxH:" then RRGGBB per pixel, row by row.
    std::string ToHex() const;
    static TBitmap FromHex(const std::string& text);

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::pf24bit;
    std::vector<TColor> pixels_;
    TColor transparentColor_ = clWhite;
    bool transparentFixed_ = false;
    bool transparent_ = false;
};

}  // namespace vel
