#pragma once
// The check box drawn with pictures: one glyph per state (checked, grayed, unchecked), each
// a strip of one or two images (normal, disabled).
#include "controls/control_types.h"
#include "platform/ui/stdctrls.h"

namespace vel {

class TBitCheckBox : public TWinControl {
    VEL_CLASS(TBitCheckBox, TWinControl)
public:
    explicit TBitCheckBox(TComponent* owner);

    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    // Setting the state (or Checked) raises no click event.
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool value) { SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);

    TBitmap& Glyph(TCheckBoxState state) { return glyphs_[Slot(state)]; }
    // Copies `picture` in; null (or an empty picture) restores the default picture with one
    // image. A picture whose width is a multiple of its height holds that many images.
    void SetGlyph(TCheckBoxState state, const TBitmap* picture);
    int NumGlyphs(TCheckBoxState state) const { return numGlyphs_[Slot(state)]; }
    void SetNumGlyphs(TCheckBoxState state, int value);  // 1 or 2

    // A click moves unchecked -> grayed (when allowed, else checked) -> checked -> unchecked,
    // then raises OnClick, then takes the focus when it can.
    void Click() override;
    void KeyPress(char& key) override;
    // The caption's accelerator focuses an enabled box and toggles it without a click event.
    bool DialogChar(char key) override;
    void DoEnter() override;
    void DoExit() override;

    // The caption's rectangle as Paint lays it out.
    TRect CaptionRect() const;
    void Paint(TCanvas& canvas) override;

protected:
    void TextChanged() override { Repaint(); }
    void FontChanged() override { Repaint(); }
    void EnabledChanged() override { Repaint(); }

private:
    static int Slot(TCheckBoxState state) { return static_cast<int>(state); }
    void Toggle();

    TLeftRight alignment_ = TLeftRight::taRightJustify;
    bool allowGrayed_ = false;
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool ctl3D_ = true;
    TBitmap glyphs_[3];
    int numGlyphs_[3] = {1, 1, 1};
};

}  // namespace vel
