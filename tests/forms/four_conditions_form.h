#pragma once
// A concrete level with four conditions on the real form chain, which a test can tell to
// leave one option text out.
#include "forms/programs/frm_qmlk07.h"

namespace vel {

// A concrete level with four conditions that can be told to leave one text out.
class TfrmFourConditions : public TfrmQMLK07 {
    VEL_CLASS(TfrmFourConditions, TfrmQMLK07)
public:
    using TfrmQMLK07::TfrmQMLK07;
    int textsFilled = 4;

    void DeclareFields() override {
        TfrmQMLK07::DeclareFields();
        SetConditionCount(4);
    }
    bool PackOptionTexts(Variant& texts, int own) override {
        if (!TfrmQMLK07::PackOptionTexts(texts, own)) return false;
        for (int i = 1; i <= textsFilled; ++i) texts[i] = Variant::Of({Variant("c"), Variant("ed0" + std::to_string(i))});
        return true;
    }
    bool PackOptionValues(Variant& values, int own) override {
        if (!TfrmQMLK07::PackOptionValues(values, own)) return false;
        for (int i = 1; i <= own; ++i) values[i] = Variant("v");
        return true;
    }
};


}  // namespace vel
