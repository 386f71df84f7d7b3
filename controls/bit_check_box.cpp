#include "controls/bit_check_box.h"

#include <algorithm>

#include "controls/module_bitmaps.h"

namespace vel {
namespace {

constexpr const char* kDefaultGlyph[] = {"UNCHECKED", "CHECKED", "GRAYED"};  // by state

}  // namespace

VEL_DEFINE_COMPONENT(TBitCheckBox,
    b.Str("Caption", [](TBitCheckBox& c) { return c.Caption(); }, [](TBitCheckBox& c, const std::string& v) { c.SetCaption(v); });
    b.Enum("Alignment", LeftRightNames(), [](TBitCheckBox& c) { return static_cast<int>(c.Alignment()); },
           [](TBitCheckBox& c, int v) { c.SetAlignment(static_cast<TLeftRight>(v)); });
    b.Bool("AllowGrayed", [](TBitCheckBox& c) { return c.AllowGrayed(); }, [](TBitCheckBox& c, bool v) { c.SetAllowGrayed(v); });
    b.Bool("Checked", [](TBitCheckBox& c) { return c.Checked(); }, [](TBitCheckBox& c, bool v) { c.SetChecked(v); });
    b.Enum("State", std::vector<std::string>{"cbUnchecked", "cbChecked", "cbGrayed"},
           [](TBitCheckBox& c) { return static_cast<int>(c.State()); },
           [](TBitCheckBox& c, int v) { c.SetState(static_cast<TCheckBoxState>(v)); });
    b.Obj("CheckedGlyph", [](TBitCheckBox& c) -> TPersistent* { return &c.Glyph(TCheckBoxState::cbChecked); });
    b.Obj("GrayedGlyph", [](TBitCheckBox& c) -> TPersistent* { return &c.Glyph(TCheckBoxState::cbGrayed); });
    b.Obj("UncheckedGlyph", [](TBitCheckBox& c) -> TPersistent* { return &c.Glyph(TCheckBoxState::cbUnchecked); });
    b.Int("CheckedNumGlyphs", [](TBitCheckBox& c) { return c.NumGlyphs(TCheckBoxState::cbChecked); },
          [](TBitCheckBox& c, int v) { c.SetNumGlyphs(TCheckBoxState::cbChecked, v); });
    b.Int("GrayedNumGlyphs", [](TBitCheckBox& c) { return c.NumGlyphs(TCheckBoxState::cbGrayed); },
          [](TBitCheckBox& c, int v) { c.SetNumGlyphs(TCheckBoxState::cbGrayed, v); });
    b.Int("UncheckedNumGlyphs", [](TBitCheckBox& c) { return c.NumGlyphs(TCheckBoxState::cbUnchecked); },
          [](TBitCheckBox& c, int v) { c.SetNumGlyphs(TCheckBoxState::cbUnchecked, v); });
    b.Bool("Ctl3D", [](TBitCheckBox& c) { return c.Ctl3D(); }, [](TBitCheckBox& c, bool v) { c.SetCtl3D(v); }))

TBitCheckBox::TBitCheckBox(TComponent* owner) : TWinControl(owner) {
    for (int i = 0; i < 3; ++i) glyphs_[i] = ModuleBitmap(kDefaultGlyph[i]);
    width_ = 97;
    height_ = 17;
    SetTabStop(true);
}

void TBitCheckBox::SetAlignment(TLeftRight value) {
    alignment_ = value;
    Repaint();
}

void TBitCheckBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    Repaint();
}

void TBitCheckBox::SetCtl3D(bool value) {
    ctl3D_ = value;
    Repaint();
}

void TBitCheckBox::SetGlyph(TCheckBoxState state, const TBitmap* picture) {
    int slot = Slot(state);
    // An empty picture counts as none: it has no height to divide its width by.
    if (!picture || picture->Empty()) {
        glyphs_[slot] = ModuleBitmap(kDefaultGlyph[slot]);
        numGlyphs_[slot] = 1;
    } else {
        glyphs_[slot].Assign(*picture);
        if (picture->Width() % picture->Height() == 0) SetNumGlyphs(state, picture->Width() / picture->Height());
    }
    Repaint();
}

void TBitCheckBox::SetNumGlyphs(TCheckBoxState state, int value) {
    numGlyphs_[Slot(state)] = std::clamp(value, 1, 2);
    Repaint();
}

void TBitCheckBox::Toggle() {
    switch (state_) {
        case TCheckBoxState::cbUnchecked:
            SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
            break;
        case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
        case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
    }
}

void TBitCheckBox::Click() {
    Toggle();
    TWinControl::Click();
    if (CanFocus()) SetFocus();
}

void TBitCheckBox::KeyPress(char& key) {
    TWinControl::KeyPress(key);
    if (key == ' ') {
        key = 0;
        Click();
    }
}

bool TBitCheckBox::DialogChar(char key) {
    if (!IsAccel(key, caption_) || !CanFocus()) return false;
    SetFocus();
    Toggle();
    return true;
}

void TBitCheckBox::DoEnter() {
    Repaint();
    TWinControl::DoEnter();
}

void TBitCheckBox::DoExit() {
    Repaint();
    TWinControl::DoExit();
}

TRect TBitCheckBox::CaptionRect() const {
    const TBitmap& glyph = glyphs_[Slot(state_)];
    int imageWidth = glyph.Width() / numGlyphs_[Slot(state_)];
    int textWidth = MeasureTextWidth(caption_, font_);
    if (caption_.find('&') != std::string::npos) textWidth -= MeasureTextWidth("&", font_);
    int textHeight = MeasureTextHeight(font_);
    int left = alignment_ == TLeftRight::taRightJustify ? imageWidth + 4 : 1;
    int top = (height_ - textHeight) / 2 - 2;
    TRect r{left, top, left + textWidth, top + textHeight + 3};
    return TRect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_), std::min(r.bottom, height_)};
}

void TBitCheckBox::Paint(TCanvas& canvas) {
    canvas.brushColor = color_;
    canvas.FillRect(ClientRect());

    const TBitmap& glyph = glyphs_[Slot(state_)];
    int images = numGlyphs_[Slot(state_)];
    int imageWidth = glyph.Width() / images;
    int imageIndex = !enabled_ && images == 2 ? 1 : 0;
    TBitmap image(imageWidth, glyph.Height());
    image.Draw(-imageIndex * imageWidth, 0, glyph);
    image.SetTransparentColor(glyph.TransparentColor());
    image.SetTransparent(true);
    int imageLeft = alignment_ == TLeftRight::taRightJustify ? 0 : width_ - imageWidth;
    canvas.Draw(imageLeft, (height_ - glyph.Height()) / 2, image);

    TRect r = CaptionRect();
    std::string text = DisplayCaption(caption_);
    canvas.font.Assign(font_);
    int textTop = r.top + (r.Height() - canvas.TextHeight(text)) / 2;
    if (!enabled_) {
        if (ctl3D_) {
            canvas.font.color = clBtnHighlight;
            canvas.TextOut(r.left + 1, textTop + 1, text);
        }
        canvas.font.color = clGrayText;
    }
    canvas.TextOut(r.left, textTop, text);
    if (Focused())
        canvas.DrawFocusRect(TRect{std::max(r.left - 1, 0), std::max(r.top - 1, 0), std::min(r.right + 1, width_),
                                   std::min(r.bottom + 1, height_)});
}

}  // namespace vel
