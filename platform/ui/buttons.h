#pragma once
// Glyph buttons: a speed button (no window of its own) and a bit button. A glyph may hold
// several images side by side (NumGlyphs): normal, disabled, ...
#include "platform/graphics/bitmap.h"
#include "platform/ui/stdctrls.h"

namespace vel {

class VEL_API TSpeedButton : public TControl {
    VEL_CLASS(TSpeedButton, TControl)
public:
    explicit TSpeedButton(TComponent* owner);
    TBitmap& Glyph() { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value) { numGlyphs_ = value < 1 ? 1 : value > 4 ? 4 : value; }
    bool Flat() const { return flat_; }
    void SetFlat(bool value) { flat_ = value; }
    bool Down() const { return down_; }
    void SetDown(bool value) { down_ = value; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }

private:
    TBitmap glyph_;
    int numGlyphs_ = 1;
    bool flat_ = false;
    bool down_ = false;
    int groupIndex_ = 0;
};

class VEL_API TBitBtn : public TButton {
    VEL_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    TBitmap& Glyph() { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value) { numGlyphs_ = value < 1 ? 1 : value > 4 ? 4 : value; }

private:
    TBitmap glyph_;
    int numGlyphs_ = 1;
};

}  // namespace vel
