#include "tests/forms/four_conditions_form.h"

namespace vel {

VEL_DEFINE_FORM(TfrmFourConditions, (void)b)

}  // namespace vel
