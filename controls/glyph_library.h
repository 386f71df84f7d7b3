#pragma once
// The suite's glyph store, an outside library loaded by name on first use and kept loaded.
#include <string>

#include "platform/graphics/bitmap.h"

namespace vel {

// The highest glyph number. Raises vel::Exception when the library or its export is missing.
int GlyphMaxBmpID();
// Loads glyph `id` into `bitmap`; false when the store has no such picture (the bitmap is
// then left as it was). Raises vel::Exception when the library or its export is missing.
bool GlyphLoadBmp(TBitmap& bitmap, int id);

// The library's name ("Glyphor.dll" unless changed); changing it unloads the current one.
std::string GlyphLibraryName();
void SetGlyphLibraryName(const std::string& name);

}  // namespace vel
