#include "platform/ui/graphics.h"

#include <cstdlib>

namespace vel {

VEL_DEFINE_PERSISTENT(TFont,
    b.Str("Name", [](TFont& f) { return f.name; }, [](TFont& f, const std::string& v) { f.name = v; });
    b.Int("Height", [](TFont& f) { return f.height; }, [](TFont& f, int v) { f.height = v; });
    b.Int("Size", [](TFont& f) { return f.Size(); }, [](TFont& f, int v) { f.SetSize(v); });
    b.Int("Charset", [](TFont& f) { return f.charset; }, [](TFont& f, int v) { f.charset = v; });
    b.Int("Color", [](TFont& f) { return f.color; }, [](TFont& f, int v) { f.color = v; });
    b.Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, [](TFont& f) { return f.style; },
          [](TFont& f, int v) { f.style = v; }))

void TFont::Assign(const TFont& other) {
    name = other.name;
    height = other.height;
    charset = other.charset;
    color = other.color;
    style = other.style;
}

bool TFont::operator==(const TFont& other) const {
    return name == other.name && height == other.height && charset == other.charset && color == other.color &&
           style == other.style;
}

int MeasureTextWidth(const std::string& text, const TFont& font) {
    int px = std::abs(font.height);
    int narrow = (px + 1) / 2;
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x81 && i + 1 < text.size()) {
            width += px;
            ++i;
        } else {
            width += narrow;
        }
    }
    return width;
}

int MeasureTextHeight(const TFont& font) { return std::abs(font.height) + 2; }

void TCanvas::FillRect(const TRect& r) { ops_.push_back(DrawOp{DrawOp::FillRect, r, brushColor, {}, {}, {}}); }
void TCanvas::FrameRect(const TRect& r) { ops_.push_back(DrawOp{DrawOp::FrameRect, r, penColor, {}, {}, {}}); }
void TCanvas::Rectangle(const TRect& r) { ops_.push_back(DrawOp{DrawOp::Rectangle, r, brushColor, {}, {}, {}}); }
void TCanvas::Line(int x1, int y1, int x2, int y2) {
    ops_.push_back(DrawOp{DrawOp::Line, TRect{x1, y1, x2, y2}, penColor, {}, {}, {}});
}
void TCanvas::TextOut(int x, int y, const std::string& text) {
    DrawOp op{DrawOp::Text, TRect{x, y, x + TextWidth(text), y + TextHeight(text)}, font.color, text, {}, {}};
    op.font.Assign(font);
    ops_.push_back(std::move(op));
}
void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    DrawOp op{DrawOp::Bitmap, TRect{x, y, x + bitmap.Width(), y + bitmap.Height()}, clNone, {}, {}, {}};
    op.bitmap.Assign(bitmap);
    ops_.push_back(std::move(op));
}
void TCanvas::DrawFocusRect(const TRect& r) { ops_.push_back(DrawOp{DrawOp::FocusRect, r, clBlack, {}, {}, {}}); }

}  // namespace vel
