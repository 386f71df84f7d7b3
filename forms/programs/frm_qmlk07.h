#pragma once
// TfrmQMLK07: the condition form of the cost report — the year-month, a range or list of
// items, a range or list of warehouses, and whether only items with differences print.
#include "controls/bit_check_box.h"
#include "forms/base_rpt.h"

namespace vel {

class TfrmQMLK07 : public TfrmBaseRpt {
    VEL_CLASS(TfrmQMLK07, TfrmBaseRpt)
public:
    explicit TfrmQMLK07(TComponent* owner);

    TLabel* lbl01 = nullptr;
    TMaskEdit* ed01 = nullptr;
    TWinControl* sp02 = nullptr;
    TWinControl* sp03 = nullptr;
    TBitCheckBox* chk04 = nullptr;

    bool InitializeForm(const Variant& params) override;
    void DeclareFields() override;
    bool PackOptionTexts(Variant& texts, int ownCount) override;
    bool PackOptionValues(Variant& values, int ownCount) override;
    void HandleF2(uint16_t key, TWinControl* control) override;

    // The value a selection panel puts into the parameters.
    static Variant PanelParameter(TWinControl* panel);
};

}  // namespace vel
