#include "controls/vel_spin_edit.h"

#include <algorithm>

namespace vel {

VEL_DEFINE_COMPONENT(TVelSpinEdit, (void)b)

TVelSpinEdit::TVelSpinEdit(TComponent* owner) : TSpinEdit(owner) {}

void TVelSpinEdit::TextChanged() {
    if (settling_) return;
    settling_ = true;
    std::string text = caption_;
    while (text.find_first_of("+-", 1) != std::string::npos) text.pop_back();
    SetCaption(text);
    settling_ = false;
    modified_ = true;
    bool blank = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    if (!blank) OnChange(this);
}

}  // namespace vel
