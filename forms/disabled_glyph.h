#pragma once
// The embossed disabled image of a glyph, computed once when a form is created.
#include "platform/graphics/bitmap.h"

namespace vel {

// The outline mask: transparent colour everywhere, black where the glyph is dark
// (r + g + b < 384) or is a light pixel touching the transparent colour.
TBitmap DisabledGlyphOutline(TBitmap& source);
// The disabled image: button face, the outline drawn embossed (highlight at +1,+1, shadow at 0,0).
TBitmap MakeDisabledGlyph(TBitmap& source);
// Doubles the glyph's width: the original at the left, the disabled image at the right,
// on the glyph's transparent colour. Nothing happens to an empty glyph.
void AddDisabledImage(TBitmap& glyph);

}  // namespace vel
