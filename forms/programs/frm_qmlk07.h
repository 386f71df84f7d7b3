#pragma once
// TfrmQMLK07: the cost report's condition form.
#include "forms/base_opt.h"

namespace vel {

class TfrmQMLK07 : public TfrmBaseOpt {
    VEL_CLASS(TfrmQMLK07, TfrmBaseOpt)
public:
    explicit TfrmQMLK07(TComponent* owner);
};

}  // namespace vel
