#include "platform/ui/buttons.h"

namespace vel {

VEL_DEFINE_COMPONENT(TSpeedButton,
    b.Str("Caption", [](TSpeedButton& c) { return c.Caption(); }, [](TSpeedButton& c, const std::string& v) { c.SetCaption(v); });
    b.Obj("Glyph", [](TSpeedButton& c) -> TPersistent* { return &c.Glyph(); });
    b.Int("NumGlyphs", [](TSpeedButton& c) { return c.NumGlyphs(); }, [](TSpeedButton& c, int v) { c.SetNumGlyphs(v); });
    b.Bool("Flat", [](TSpeedButton& c) { return c.Flat(); }, [](TSpeedButton& c, bool v) { c.SetFlat(v); });
    b.Bool("Down", [](TSpeedButton& c) { return c.Down(); }, [](TSpeedButton& c, bool v) { c.SetDown(v); });
    b.Int("GroupIndex", [](TSpeedButton& c) { return c.GroupIndex(); }, [](TSpeedButton& c, int v) { c.SetGroupIndex(v); }))

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner) {
    width_ = 23;
    height_ = 22;
}

VEL_DEFINE_COMPONENT(TBitBtn,
    b.Obj("Glyph", [](TBitBtn& c) -> TPersistent* { return &c.Glyph(); });
    b.Int("NumGlyphs", [](TBitBtn& c) { return c.NumGlyphs(); }, [](TBitBtn& c, int v) { c.SetNumGlyphs(v); }))

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

}  // namespace vel
