#pragma once
// A concrete level with four conditions on the real form chain, which a test can tell to
// leave one option text out.
#include "forms/base_rpt.h"

namespace vel {

// A concrete level with four conditions that can be told to leave one text out.
class TfrmFourConditions : public TfrmBaseRpt {
    VEL_CLASS(TfrmFourConditions, TfrmBaseRpt)
public:
    using TfrmBaseRpt::TfrmBaseRpt;
    int textsFilled = 4;
    int textsHigh = 0;  // when set, the option texts come back with this high bound

    void DeclareFields() override {
        TfrmBaseRpt::DeclareFields();
        SetConditionCount(4);
    }
    bool PackOptionTexts(Variant& texts, int own) override {
        if (!TfrmBaseRpt::PackOptionTexts(texts, own)) return false;
        for (int i = 1; i <= textsFilled; ++i) texts[i] = Variant::Of({Variant("c"), Variant("ed0" + std::to_string(i))});
        if (textsHigh > 0) {
            Variant resized = Variant::Array(1, textsHigh);
            for (int i = 1; i <= textsHigh && i <= texts.HighBound(); ++i) resized[i] = texts[i];
            texts = resized;
        }
        return true;
    }
    bool PackOptionValues(Variant& values, int own) override {
        if (!TfrmBaseRpt::PackOptionValues(values, own)) return false;
        for (int i = 1; i <= own; ++i) values[i] = Variant("v");
        return true;
    }
};


}  // namespace vel
