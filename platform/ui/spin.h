#pragma once
// The spin edit: an edit for whole numbers with up and down steps.
#include "platform/ui/stdctrls.h"

namespace vel {

class VEL_API TSpinEdit : public TCustomEdit {
    VEL_CLASS(TSpinEdit, TCustomEdit)
public:
    explicit TSpinEdit(TComponent* owner);

    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }
    int Increment() const { return increment_; }
    void SetIncrement(int value) { increment_ = value; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool value) { editorEnabled_ = value; }

    // The text as a number; MinValue when it is not one. Values are kept within MinValue and
    // MaxValue unless both are equal (no limits).
    int Value() const;
    void SetValue(int value);

    // Up and Down step the value; typing accepts digits, signs and control characters only.
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;

protected:
    int CheckValue(int value) const;

private:
    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
};

}  // namespace vel
