#pragma once
// TfrmQMLK07: the cost report's condition form.
#include "forms/base_gene.h"

namespace vel {

class TfrmQMLK07 : public TfrmBaseGene {
    VEL_CLASS(TfrmQMLK07, TfrmBaseGene)
public:
    explicit TfrmQMLK07(TComponent* owner);
};

}  // namespace vel
