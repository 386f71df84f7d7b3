#pragma once
// The label that attaches itself to a control: it takes the caption of the control's data
// field and places itself beside the control.
#include <cstdint>

#include "platform/ui/stdctrls.h"

namespace vel {

enum class TPos { psTop, psLeft, psRight, psBottom };

class TDBLabel : public TLabel {
    VEL_CLASS(TDBLabel, TLabel)
public:
    explicit TDBLabel(TComponent* owner);

    // Binding is refused, with an error dialog, when another TDBLabel of the same parent
    // already names the control; null unbinds.
    void SetFocusControl(TWinControl* control);
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool value);
    bool AutoCaption() const { return autoCaption_; }
    void SetAutoCaption(bool value);
    int Gap() const { return gap_; }
    void SetGap(int value);  // 0 to 255
    TPos Pos() const { return pos_; }
    void SetPos(TPos value);

    // Takes the caption of the bound control's field (when AutoCaption) and moves beside
    // the control (when AutoAlign).
    void Refresh();

private:
    void UpdateCaption();
    void UpdatePosition();

    bool autoAlign_ = true;
    bool autoCaption_ = true;
    uint8_t gap_ = 4;
    TPos pos_ = TPos::psLeft;
};

}  // namespace vel
