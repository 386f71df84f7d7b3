#pragma once
// Fonts and the recording canvas. Painting is recorded as drawing operations so that
// layout and painting rules can be checked exactly and replayed by a renderer.
#include <string>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/color.h"
#include "platform/ui/object.h"

namespace vel {

enum FontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class VEL_API TFont : public TPersistent {
    VEL_CLASS(TFont, TPersistent)
public:
    std::string name = "MS Sans Serif";
    int height = -11;
    int charset = 1;  // DEFAULT_CHARSET
    TColor color = clWindowText;
    int style = 0;

    int Size() const { return (-height * 72 + 48) / 96; }
    void SetSize(int points) { height = -(points * 96 + 36) / 72; }
    void Assign(const TFont& other);
    bool operator==(const TFont& other) const;
};

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const TRect&) const = default;
};

struct DrawOp {
    enum Kind { FillRect, FrameRect, Rectangle, Line, Text, Bitmap, FocusRect };
    Kind kind;
    TRect rect;
    TColor color = clBlack;      // brush colour for fills, pen colour for frames and lines
    std::string text;
    TFont font;                  // for Text
    TBitmap bitmap;              // for Bitmap
};

// The one fixed font metric: a single-byte character is half the font's pixel height wide
// (rounded up), a double-byte character the full height; a line is the height plus 2.
VEL_API int MeasureTextWidth(const std::string& text, const TFont& font);
VEL_API int MeasureTextHeight(const TFont& font);

class VEL_API TCanvas {
public:
    TFont font;
    TColor brushColor = clWhite;
    TColor penColor = clBlack;

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(const TRect& r);
    void Line(int x1, int y1, int x2, int y2);
    void TextOut(int x, int y, const std::string& text);
    void Draw(int x, int y, const TBitmap& bitmap);
    void DrawFocusRect(const TRect& r);
    int TextWidth(const std::string& text) const { return MeasureTextWidth(text, font); }
    int TextHeight(const std::string&) const { return MeasureTextHeight(font); }

    const std::vector<DrawOp>& Ops() const { return ops_; }
    void Clear() { ops_.clear(); }

private:
    std::vector<DrawOp> ops_;
};

}  // namespace vel
