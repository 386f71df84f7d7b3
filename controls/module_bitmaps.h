#pragma once
// Bitmaps that ship inside the module, by resource name: "CHECKED", "GRAYED" and
// "UNCHECKED" (19 x 14, the glyph check box's default pictures).
#include <string>

#include "platform/graphics/bitmap.h"

namespace vel {

// A copy of the named picture; raises vel::Exception for an unknown name.
TBitmap ModuleBitmap(const std::string& name);

}  // namespace vel
