#include "platform/ui/spin.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vel {

VEL_DEFINE_COMPONENT(TSpinEdit,
    b.Int("MinValue", [](TSpinEdit& c) { return c.MinValue(); }, [](TSpinEdit& c, int v) { c.SetMinValue(v); });
    b.Int("MaxValue", [](TSpinEdit& c) { return c.MaxValue(); }, [](TSpinEdit& c, int v) { c.SetMaxValue(v); });
    b.Int("Increment", [](TSpinEdit& c) { return c.Increment(); }, [](TSpinEdit& c, int v) { c.SetIncrement(v); });
    b.Int("Value", [](TSpinEdit& c) { return c.Value(); }, [](TSpinEdit& c, int v) { c.SetValue(v); });
    b.Bool("EditorEnabled", [](TSpinEdit& c) { return c.EditorEnabled(); }, [](TSpinEdit& c, bool v) { c.SetEditorEnabled(v); }))

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    width_ = 121;
    height_ = 22;
}

int TSpinEdit::CheckValue(int value) const {
    if (maxValue_ == minValue_) return value;
    if (value < minValue_) return minValue_;
    if (value > maxValue_) return maxValue_;
    return value;
}

int TSpinEdit::Value() const {
    std::string text = Caption();
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    if (b == std::string::npos) return minValue_;
    text = text.substr(b, e - b + 1);
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (!end || *end || errno == ERANGE || v < INT_MIN || v > INT_MAX) return minValue_;
    return CheckValue(static_cast<int>(v));
}

void TSpinEdit::SetValue(int value) { SetCaption(std::to_string(CheckValue(value))); }

void TSpinEdit::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomEdit::KeyDown(key, shift);
    if (readOnly_ || (key != VK_UP && key != VK_DOWN)) return;
    long long next = static_cast<long long>(Value()) + (key == VK_UP ? increment_ : -increment_);
    SetValue(static_cast<int>(std::clamp<long long>(next, INT_MIN, INT_MAX)));
    key = 0;
}

void TSpinEdit::KeyPress(char& key) {
    bool valid = (key >= '0' && key <= '9') || key == '+' || key == '-' ||
                 (static_cast<unsigned char>(key) < 0x20 && key != '\r');
    if (!valid || (!editorEnabled_ && static_cast<unsigned char>(key) >= 0x20)) key = 0;
    if (key) TCustomEdit::KeyPress(key);
}

}  // namespace vel
