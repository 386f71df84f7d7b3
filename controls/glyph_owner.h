#pragma once
// Controls that embed glyph buttons (lookup edits, selection panels) list them here, so
// the form can give every glyph a disabled image.
#include <vector>

#include "platform/ui/buttons.h"

namespace vel {

class IGlyphButtonOwner {
public:
    virtual ~IGlyphButtonOwner() = default;
    virtual std::vector<TSpeedButton*> GlyphButtons() = 0;
};

}  // namespace vel
