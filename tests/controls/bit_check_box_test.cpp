#include "controls/bit_check_box.h"
#include "controls/module_bitmaps.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "tests/controls/controls_fixture.h"

using namespace vel;
using vel::test::ControlsTest;
using vel::test::OpsOf;
using S = TCheckBoxState;

namespace {

// A strip of `images` square images, image i filled with colours[i] on a fuchsia corner.
TBitmap Strip(int size, std::vector<TColor> colours) {
    TBitmap b(size * static_cast<int>(colours.size()), size);
    for (size_t i = 0; i < colours.size(); ++i)
        b.FillRect(static_cast<int>(i) * size, 0, static_cast<int>(i + 1) * size, size, colours[i]);
    b.SetPixel(0, size - 1, clFuchsia);
    return b;
}

struct CheckBoxForm : ControlsTest {
    void SetUp() override {
        ControlsTest::SetUp();
        box = new TBitCheckBox(&form);
        box->SetParent(&form);
        box->SetCaption("Ab");
        form.Show();
    }
    TForm form{nullptr};
    TBitCheckBox* box = nullptr;
    std::vector<std::string> log;
};

}  // namespace

TEST_F(CheckBoxForm, ClicksCycleThroughTheStatesBeforeTheClickEventThenTakeTheFocus) {
    auto* other = new TBitCheckBox(&form);
    other->SetParent(&form);
    form.SetActiveControl(other);
    box->OnClick = TNotifyEvent("log", nullptr, [&](TComponent*) {
        log.push_back(std::to_string(static_cast<int>(box->State())) + (box->Focused() ? " focused" : ""));
    });
    struct Case { bool allowGrayed; std::vector<S> states; } cases[] = {
        {false, {S::cbChecked, S::cbUnchecked, S::cbChecked}},
        {true, {S::cbGrayed, S::cbChecked, S::cbUnchecked}},
    };
    for (const auto& c : cases) {
        box->SetState(S::cbUnchecked);
        box->SetAllowGrayed(c.allowGrayed);
        for (S expected : c.states) {
            Application().PostClick(*box);
            Application().ProcessMessages();
            EXPECT_EQ(box->State(), expected) << c.allowGrayed;
        }
    }
    // The event sees the new state; the focus comes after it.
    EXPECT_EQ(log.front(), "1");
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->Checked(), false);
}

TEST_F(CheckBoxForm, SpaceClicksAndTheAcceleratorTogglesWithoutAClick) {
    int clicks = 0;
    box->OnClick = TNotifyEvent("count", nullptr, [&](TComponent*) { ++clicks; });
    Application().PostChar(*box, ' ');
    Application().ProcessMessages();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);

    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.SetActiveControl(edit);
    box->SetCaption("&Go");
    Application().PostKey(*edit, 'G', ssAlt);
    Application().ProcessMessages();
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(clicks, 1);

    // A disabled box leaves its accelerator alone; so does a caption without one.
    box->SetEnabled(false);
    form.SetActiveControl(edit);
    Application().PostKey(*edit, 'G', ssAlt);
    box->SetEnabled(true);
    box->SetCaption("Go && back");
    Application().PostKey(*edit, 'B', ssAlt);
    Application().ProcessMessages();
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(edit->Focused());
}

TEST_F(ControlsTest, CheckedIsTheCheckedStateAndWritingItRaisesNoClick) {
    TBitCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = TNotifyEvent("count", nullptr, [&](TComponent*) { ++clicks; });
    box.SetState(S::cbGrayed);
    EXPECT_FALSE(box.Checked());
    box.SetChecked(true);
    EXPECT_EQ(box.State(), S::cbChecked);
    box.SetChecked(false);
    EXPECT_EQ(box.State(), S::cbUnchecked);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ControlsTest, DefaultPicturesAndGlyphAssignment) {
    TBitCheckBox box(nullptr);
    EXPECT_EQ(box.Width(), 97);
    EXPECT_EQ(box.Height(), 17);
    EXPECT_TRUE(box.TabStop());
    const char* names[] = {"UNCHECKED", "CHECKED", "GRAYED"};
    for (S s : {S::cbUnchecked, S::cbChecked, S::cbGrayed}) {
        TBitmap expected = ModuleBitmap(names[static_cast<int>(s)]);
        EXPECT_EQ(expected.Width(), 19);
        EXPECT_EQ(expected.Height(), 14);
        EXPECT_TRUE(box.Glyph(s).SamePixels(expected)) << names[static_cast<int>(s)];
        EXPECT_EQ(box.NumGlyphs(s), 1);
    }
    EXPECT_FALSE(box.Glyph(S::cbChecked).SamePixels(box.Glyph(S::cbUnchecked)));
    EXPECT_FALSE(box.Glyph(S::cbChecked).SamePixels(box.Glyph(S::cbGrayed)));

    struct Case { TBitmap picture; int numGlyphs; } cases[] = {
        {Strip(10, {clRed, clBlue}), 2},
        {Strip(10, {clRed, clBlue, clGreen}), 2},  // limited to two images
        {Strip(10, {clRed}), 1},
    };
    for (auto& c : cases) {
        box.SetGlyph(S::cbChecked, &c.picture);
        EXPECT_TRUE(box.Glyph(S::cbChecked).SamePixels(c.picture));
        EXPECT_EQ(box.NumGlyphs(S::cbChecked), c.numGlyphs);
    }
    // A picture that is not a strip of squares keeps the number of images.
    box.SetNumGlyphs(S::cbChecked, 2);
    TBitmap odd(15, 10);
    box.SetGlyph(S::cbChecked, &odd);
    EXPECT_EQ(box.NumGlyphs(S::cbChecked), 2);
    // None, or an empty picture, brings the default back.
    TBitmap empty;
    for (const TBitmap* none : std::vector<const TBitmap*>{nullptr, &empty}) {
        box.SetGlyph(S::cbChecked, &odd);
        box.SetGlyph(S::cbChecked, none);
        EXPECT_TRUE(box.Glyph(S::cbChecked).SamePixels(ModuleBitmap("CHECKED")));
        EXPECT_EQ(box.NumGlyphs(S::cbChecked), 1);
    }
}

TEST_F(ControlsTest, PaintingPlacesPictureAndCaptionBySide) {
    // Default font: text 13 high, 6 per character. Client 97 x 17, pictures 19 x 14.
    struct Case { TLeftRight side; std::string caption; int imageLeft; TRect captionRect; } cases[] = {
        {TLeftRight::taRightJustify, "Ab", 0, {23, 0, 35, 16}},
        {TLeftRight::taRightJustify, "&Ab", 0, {23, 0, 35, 16}},  // the "&" takes no room
        {TLeftRight::taLeftJustify, "Ab", 78, {1, 0, 13, 16}},
    };
    for (const auto& c : cases) {
        TBitCheckBox box(nullptr);
        box.SetColor(clYellow);
        box.SetAlignment(c.side);
        box.SetCaption(c.caption);
        box.SetChecked(true);
        TCanvas canvas;
        box.Paint(canvas);
        const auto& ops = canvas.Ops();
        ASSERT_EQ(ops.size(), 3u) << c.caption;
        EXPECT_EQ(ops[0].kind, DrawOp::FillRect);
        EXPECT_EQ(ops[0].rect, (TRect{0, 0, 97, 17}));
        EXPECT_EQ(ops[0].color, clYellow);
        EXPECT_EQ(ops[1].kind, DrawOp::Bitmap);
        EXPECT_EQ(ops[1].rect, (TRect{c.imageLeft, 1, c.imageLeft + 19, 15}));
        EXPECT_TRUE(ops[1].bitmap.SamePixels(box.Glyph(S::cbChecked)));
        EXPECT_TRUE(ops[1].bitmap.Transparent());
        EXPECT_EQ(ops[1].bitmap.TransparentColor(), clFuchsia);
        EXPECT_EQ(box.CaptionRect(), c.captionRect);
        EXPECT_EQ(ops[2].kind, DrawOp::Text);
        EXPECT_EQ(ops[2].text, "Ab");
        EXPECT_EQ(ops[2].rect.left, c.captionRect.left);
        EXPECT_EQ(ops[2].rect.top, 1);  // centred in the 16-high caption rectangle
        EXPECT_EQ(ops[2].color, clWindowText);
    }
}

TEST_F(ControlsTest, ADisabledBoxUsesTheSecondImageAndEmbossedGreyText) {
    TBitCheckBox box(nullptr);
    box.SetCaption("Ab");
    TBitmap two = Strip(14, {clRed, clBlue});
    box.SetGlyph(S::cbUnchecked, &two);
    box.SetEnabled(false);
    TCanvas canvas;
    box.Paint(canvas);
    auto bitmaps = OpsOf(canvas, DrawOp::Bitmap);
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_EQ(bitmaps[0].rect, (TRect{0, 1, 14, 15}));
    EXPECT_EQ(bitmaps[0].bitmap.Pixel(5, 5), clBlue);
    auto texts = OpsOf(canvas, DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].color, clBtnHighlight);
    EXPECT_EQ(texts[0].rect.left, texts[1].rect.left + 1);
    EXPECT_EQ(texts[0].rect.top, texts[1].rect.top + 1);
    EXPECT_EQ(texts[1].color, clGrayText);

    // Flat: no highlight; one image only: the first image even when disabled.
    box.SetCtl3D(false);
    box.SetGlyph(S::cbUnchecked, nullptr);
    canvas.Clear();
    box.Paint(canvas);
    EXPECT_EQ(OpsOf(canvas, DrawOp::Text).size(), 1u);
    EXPECT_TRUE(OpsOf(canvas, DrawOp::Bitmap)[0].bitmap.SamePixels(ModuleBitmap("UNCHECKED")));
}

TEST_F(CheckBoxForm, TheFocusedBoxFramesItsCaptionWithinItsEdges) {
    form.SetActiveControl(box);
    TCanvas canvas;
    box->Paint(canvas);
    auto focus = OpsOf(canvas, DrawOp::FocusRect);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].rect, (TRect{22, 0, 36, 17}));  // caption {23,0,35,16} one larger, clipped
    int before = box->PaintCount();
    form.SetActiveControl(nullptr);
    EXPECT_GT(box->PaintCount(), before);
    canvas.Clear();
    box->Paint(canvas);
    EXPECT_TRUE(OpsOf(canvas, DrawOp::FocusRect).empty());
}

TEST_F(ControlsTest, PublishedPropertiesAreSetFromAResource) {
    TForm root(nullptr);
    ReadComponentResource(root, R"(
object Root: TForm
  object chkView: TBitCheckBox
    Caption = 'View'
    Alignment = taLeftJustify
    AllowGrayed = True
    State = cbGrayed
    CheckedNumGlyphs = 2
    Ctl3D = False
    TabOrder = 0
  end
end
)");
    auto* box = FindComponentAs<TBitCheckBox>(root, "chkView");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Parent(), &root);
    EXPECT_EQ(box->Alignment(), TLeftRight::taLeftJustify);
    EXPECT_TRUE(box->AllowGrayed());
    EXPECT_EQ(box->State(), S::cbGrayed);
    EXPECT_EQ(box->NumGlyphs(S::cbChecked), 2);
    EXPECT_FALSE(box->Ctl3D());
    SetPropValue(*box, "Checked", Variant(true));
    EXPECT_EQ(GetPropText(*box, "State"), "cbChecked");
    EXPECT_EQ(GetPropValue(*box, "CheckedGlyph.Width").ToInt(), 19);
}
