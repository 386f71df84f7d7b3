#pragma once
// The framework's spin edit: a sign may stand only first, and an empty text raises no change.
#include "platform/ui/spin.h"

namespace vel {

class TVelSpinEdit : public TSpinEdit {
    VEL_CLASS(TVelSpinEdit, TSpinEdit)
public:
    explicit TVelSpinEdit(TComponent* owner);

protected:
    // While "+" or "-" stands after the first position the last character goes (typing
    // "12+" leaves "12"); OnChange runs once for the settled text, unless it is blank.
    void TextChanged() override;

private:
    bool settling_ = false;
};

}  // namespace vel
