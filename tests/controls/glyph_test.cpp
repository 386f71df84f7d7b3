#include <cstdint>
#include <vector>

#include "controls/glyph_library.h"
#include "controls/gspeed_button.h"
#include "platform/system/dynlib.h"
#include "platform/text/codepage.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "suite/libs/Glyphor/glyphor.h"
#include "tests/controls/controls_fixture.h"

using namespace vel;
using vel::test::ControlsTest;

namespace {

struct GlyphorLibrary {
    GlyphorLibrary() : handle(LoadLibraryByName("Glyphor.dll")) {
        getMax = reinterpret_cast<GetMaxBmpIDProc>(GetProcAddress(handle, "GetMaxBmpID"));
        load = reinterpret_cast<LoadBmpProc>(GetProcAddress(handle, "LoadBmp"));
    }
    ~GlyphorLibrary() { FreeLibrary(handle); }
    LibraryHandle handle;
    GetMaxBmpIDProc getMax = nullptr;
    LoadBmpProc load = nullptr;
};

}  // namespace

TEST(Glyphor, EveryNumberUpToTheMaximumIsASquareStripWithATransparentCorner) {
    GlyphorLibrary lib;
    ASSERT_TRUE(lib.handle) << LastLibraryError();
    ASSERT_TRUE(lib.getMax && lib.load);
    int max = lib.getMax();
    ASSERT_GE(max, 68);  // the forms use 4, 8, 9, 47, 63 and 68
    for (int id = 1; id <= max; ++id) {
        int w = 0, h = 0;
        EXPECT_EQ(lib.load(id, &w, &h, nullptr, 0), 0) << id;  // size query only
        ASSERT_GT(h, 0) << id;
        EXPECT_EQ(w % h, 0) << id;
        std::vector<uint32_t> px(static_cast<size_t>(w * h), 0xDEADBEEF);
        ASSERT_EQ(lib.load(id, &w, &h, px.data(), w * h), 1) << id;
        uint32_t transparent = px[static_cast<size_t>((h - 1) * w)];
        int drawn = 0;
        for (uint32_t p : px) {
            EXPECT_EQ(p & 0xFF000000u, 0u) << id;
            drawn += p != transparent;
        }
        EXPECT_GT(drawn, 0) << "picture " << id << " is blank";
    }
}

TEST(Glyphor, RefusesUnknownNumbersNullOutputsAndShortBuffers) {
    GlyphorLibrary lib;
    ASSERT_TRUE(lib.load);
    int max = lib.getMax();
    std::vector<uint32_t> px(1024);
    int w = -1, h = -1;
    for (int id : {0, -1, max + 1}) {
        EXPECT_EQ(lib.load(id, &w, &h, px.data(), 1024), 0) << id;
        EXPECT_EQ(w, -1) << id;  // nothing is reported for a picture that does not exist
    }
    EXPECT_EQ(lib.load(1, nullptr, &h, px.data(), 1024), 0);
    EXPECT_EQ(lib.load(1, &w, nullptr, px.data(), 1024), 0);
    px.assign(1024, 7);
    EXPECT_EQ(lib.load(1, &w, &h, px.data(), w * h - 1), 0);
    EXPECT_EQ(px[0], 7u);  // a short buffer is left untouched
    // The clear-list picture carries its own disabled image.
    EXPECT_EQ(lib.load(4, &w, &h, px.data(), 1024), 1);
    EXPECT_EQ(w, 2 * h);
}

TEST_F(ControlsTest, GlyphIndexLoadsThePictureOrShowsTheNumber) {
    TGSpeedButton button(nullptr);
    EXPECT_EQ(button.GlyphIndex(), 0);

    button.SetGlyphIndex(9);
    EXPECT_EQ(button.Caption(), "");
    EXPECT_EQ(button.Glyph().Width(), 16);
    EXPECT_EQ(button.Glyph().Height(), 16);
    EXPECT_EQ(button.NumGlyphs(), 1);
    TBitmap nine;
    ASSERT_TRUE(GlyphLoadBmp(nine, 9));
    EXPECT_TRUE(button.Glyph().SamePixels(nine));

    button.SetGlyphIndex(4);  // two images side by side
    EXPECT_EQ(button.NumGlyphs(), 2);

    int above = GlyphMaxBmpID() + 1;
    button.SetGlyphIndex(above);
    EXPECT_EQ(button.Caption(), std::to_string(above));
    EXPECT_TRUE(button.Glyph().Empty());

    button.SetGlyphIndex(8);
    button.SetGlyphIndex(0);
    EXPECT_EQ(button.Caption(), "0");
    EXPECT_TRUE(button.Glyph().Empty());
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(ControlsTest, SettingTheSameGlyphIndexAgainChangesNothing) {
    TGSpeedButton button(nullptr);
    button.SetGlyphIndex(8);
    button.SetCaption("kept");
    button.SetGlyphIndex(8);
    EXPECT_EQ(button.Caption(), "kept");
}

TEST_F(ControlsTest, AnUnreadableGlyphStoreIsReportedAndLeavesNoStalePicture) {
    TGSpeedButton button(nullptr);
    button.SetGlyphIndex(8);
    std::string saved = GlyphLibraryName();
    SetGlyphLibraryName("NoSuchGlyphStore.dll");
    button.SetGlyphIndex(9);
    SetGlyphLibraryName(saved);
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{CN("读取 BMP 发生错误")});
    EXPECT_EQ(presenter.shown[0].request.type, TMsgDlgType::mtError);
    EXPECT_EQ(presenter.shown[0].request.buttons, mbOK);
    EXPECT_EQ(button.Caption(), "9");
    EXPECT_TRUE(button.Glyph().Empty());
    // Glyph 0 needs no store at all.
    SetGlyphLibraryName("NoSuchGlyphStore.dll");
    button.SetGlyphIndex(0);
    SetGlyphLibraryName(saved);
    EXPECT_EQ(presenter.shown.size(), 1u);
}

TEST_F(ControlsTest, GlyphAndHintIndexAreSetByName) {
    TForm root(nullptr);
    ReadComponentResource(root, R"(
object Root: TForm
  object btnDate: TGSpeedButton
    GlyphIndex = 9
    HintIndex = 12
    Flat = True
  end
end
)");
    auto* button = FindComponentAs<TGSpeedButton>(root, "btnDate");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GlyphIndex(), 9);
    EXPECT_EQ(button->HintIndex(), 12);
    EXPECT_FALSE(button->Glyph().Empty());
    EXPECT_EQ(GetPropValue(*button, "GlyphIndex").ToInt(), 9);
}
