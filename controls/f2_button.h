#pragma once
// The lookup button that stands beside an edit: a click focuses the edit and asks the form
// for a lookup with the lookup message.
#include <cstdint>

#include "controls/gspeed_button.h"

namespace vel {

// The lookup message a form answers as it answers F2 in the control named by lParam.
constexpr uint32_t WM_F2LOOKUP = WM_USER + 10;  // 1034

// Sends the lookup message for `control` to its form and waits for it; false without a form.
bool SendLookupMessage(TWinControl* control);

class TF2Button : public TGSpeedButton {
    VEL_CLASS(TF2Button, TGSpeedButton)
public:
    explicit TF2Button(TComponent* owner);
    ~TF2Button() override;

    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool value);
    TWinControl* F2Control() const { return f2Control_; }
    // Refused, with an error dialog, when another lookup button already serves `control`;
    // false then. Binding to nothing always succeeds.
    bool SetF2Control(TWinControl* control);
    int Gap() const { return gap_; }
    void SetGap(int value);

    // Places the button beside its control when AutoAlign is on: a square of the control's
    // height, Gap pixels right of it, top aligned.
    void AlignToControl();

    // OnClick first; then an enabled control takes the focus and the form gets the lookup
    // message for it.
    void Click() override;

protected:
    void Notification(TComponent* component, bool removing) override;

private:
    TF2Button* OtherButtonFor(const TWinControl* control) const;

    bool autoAlign_ = true;
    TWinControl* f2Control_ = nullptr;
    uint8_t gap_ = 2;
};

}  // namespace vel
