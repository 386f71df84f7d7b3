#include "forms/programs/frm_qmlk07.h"

#include "platform/ui/resource.h"

namespace vel {

VEL_DEFINE_FORM(TfrmQMLK07, (void)b)

static FormResource kQMLK07Resource("TfrmQMLK07", R"(
inherited frmQMLK07: TfrmQMLK07
  Caption = 'frmQMLK07'
end
)");

TfrmQMLK07::TfrmQMLK07(TComponent* owner) : TfrmBaseRpt(owner) {}

}  // namespace vel
