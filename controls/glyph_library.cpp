#include "controls/glyph_library.h"

#include <vector>

#include "platform/system/dynlib.h"
#include "suite/libs/Glyphor/glyphor.h"

namespace vel {
namespace {

struct GlyphStore {
    std::string name = "Glyphor.dll";
    LibraryHandle handle = nullptr;
    GetMaxBmpIDProc getMax = nullptr;
    LoadBmpProc load = nullptr;

    void Unload() {
        FreeLibrary(handle);
        handle = nullptr;
        getMax = nullptr;
        load = nullptr;
    }

    void Ensure() {
        if (handle) return;
        LibraryHandle h = LoadLibraryByName(name, reinterpret_cast<const void*>(&GlyphMaxBmpID));
        if (!h) throw Exception("Cannot load " + name + ": " + LastLibraryError());
        auto max = reinterpret_cast<GetMaxBmpIDProc>(GetProcAddress(h, "GetMaxBmpID"));
        auto load = reinterpret_cast<LoadBmpProc>(GetProcAddress(h, "LoadBmp"));
        if (!max || !load) {
            FreeLibrary(h);
            throw Exception(name + " lacks GetMaxBmpID or LoadBmp");
        }
        handle = h;
        getMax = max;
        this->load = load;
    }
};

// The UI thread is the only caller, as for every control.
GlyphStore& Store() {
    static GlyphStore store;
    return store;
}

}  // namespace

int GlyphMaxBmpID() {
    Store().Ensure();
    return Store().getMax();
}

bool GlyphLoadBmp(TBitmap& bitmap, int id) {
    GlyphStore& store = Store();
    store.Ensure();
    int width = 0, height = 0;
    store.load(id, &width, &height, nullptr, 0);  // asks for the size only
    // Guard against a store that answers absurd sizes rather than trusting it with a buffer.
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return false;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (!store.load(id, &width, &height, pixels.data(), static_cast<int>(pixels.size()))) return false;
    TBitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, static_cast<TColor>(pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF));
    bitmap.Assign(picture);
    return true;
}

std::string GlyphLibraryName() { return Store().name; }

void SetGlyphLibraryName(const std::string& name) {
    if (name == Store().name) return;
    Store().Unload();
    Store().name = name;
}

}  // namespace vel
