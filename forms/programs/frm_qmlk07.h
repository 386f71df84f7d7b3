#pragma once
// TfrmQMLK07: the cost report's condition form.
#include "forms/base_rpt.h"

namespace vel {

class TfrmQMLK07 : public TfrmBaseRpt {
    VEL_CLASS(TfrmQMLK07, TfrmBaseRpt)
public:
    explicit TfrmQMLK07(TComponent* owner);
};

}  // namespace vel
