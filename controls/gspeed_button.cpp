#include "controls/gspeed_button.h"

#include <string>

#include "controls/control_types.h"
#include "controls/glyph_library.h"
#include "platform/text/codepage.h"

namespace vel {

VEL_DEFINE_COMPONENT(TGSpeedButton,
    b.Int("GlyphIndex", [](TGSpeedButton& c) { return c.GlyphIndex(); }, [](TGSpeedButton& c, int v) { c.SetGlyphIndex(v); });
    b.Int("HintIndex", [](TGSpeedButton& c) { return c.HintIndex(); }, [](TGSpeedButton& c, int v) { c.SetHintIndex(v); }))

TGSpeedButton::TGSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TGSpeedButton::SetGlyphIndex(int value) {
    if (value == glyphIndex_) return;
    glyphIndex_ = value;
    SetCaption(std::to_string(value));
    try {
        // Numbers below 1 name no picture either; the store is not asked about them.
        TBitmap picture;
        if (value < 1 || value > GlyphMaxBmpID() || !GlyphLoadBmp(picture, value) || picture.Height() == 0) {
            Glyph().Assign(TBitmap());
            return;
        }
        Glyph().Assign(picture);
        SetCaption("");
        SetNumGlyphs(picture.Width() / picture.Height());
    } catch (const std::exception&) {
        // No stale picture of another number stays on the button.
        Glyph().Assign(TBitmap());
        ShowControlError(CN("读取 BMP 发生错误"));
    }
}

}  // namespace vel
