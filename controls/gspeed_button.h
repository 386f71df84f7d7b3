#pragma once
// The speed button that takes its picture from the glyph store by number.
#include "platform/ui/buttons.h"

namespace vel {

class TGSpeedButton : public TSpeedButton {
    VEL_CLASS(TGSpeedButton, TSpeedButton)
public:
    explicit TGSpeedButton(TComponent* owner);

    int GlyphIndex() const { return glyphIndex_; }
    // Shows glyph `value` of the store; the caption shows the number while no picture does.
    // A store that cannot be read is reported in an error dialog and leaves no picture.
    void SetGlyphIndex(int value);
    // Kept for the forms that set it; the button does not use it.
    int HintIndex() const { return hintIndex_; }
    void SetHintIndex(int value) { hintIndex_ = value; }

private:
    int glyphIndex_ = 0;
    int hintIndex_ = 0;
};

}  // namespace vel
