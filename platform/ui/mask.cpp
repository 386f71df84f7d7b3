#include "platform/ui/mask.h"

#include <cctype>

namespace vel {

EditMask EditMask::Parse(const std::string& text) {
    EditMask m;
    if (text.empty()) return m;
    m.empty = false;
    // The last two ";" fields are the save flag and the blank character.
    std::string body = text;
    size_t last = body.rfind(';');
    if (last != std::string::npos && last > 0) {
        size_t prev = body.rfind(';', last - 1);
        if (prev != std::string::npos && (prev == 0 || body[prev - 1] != '\\')) {
            std::string save = body.substr(prev + 1, last - prev - 1);
            std::string blank = body.substr(last + 1);
            m.saveLiterals = save != "0";
            if (!blank.empty()) m.blank = blank[0];
            body = body.substr(0, prev);
        }
    }
    size_t i = 0;
    if (!body.empty() && body[0] == '!') i = 1;
    for (; i < body.size(); ++i) {
        char c = body[i];
        if (c == '\\' && i + 1 < body.size()) {
            m.slots.push_back(Slot{0, body[++i]});
        } else if (c == '>' || c == '<') {
            continue;  // case switches do not take a position
        } else if (std::string("09#LlAaCc").find(c) != std::string::npos) {
            m.slots.push_back(Slot{c, 0});
        } else {
            m.slots.push_back(Slot{0, c});
        }
    }
    return m;
}

std::string EditMask::EmptyText() const {
    std::string s;
    for (const auto& slot : slots) s += slot.mask ? blank : slot.literal;
    return s;
}

bool EditMask::Accepts(char mask, char c) const {
    unsigned char u = static_cast<unsigned char>(c);
    switch (mask) {
        case '0': case '9': return std::isdigit(u);
        case '#': return std::isdigit(u) || c == '+' || c == '-';
        case 'L': case 'l': return std::isalpha(u);
        case 'A': case 'a': return std::isalnum(u);
        case 'C': case 'c': return u >= 0x20;
        default: return false;
    }
}

std::string EditMask::Apply(const std::string& typed) const {
    std::string out = EmptyText();
    size_t pos = 0;
    for (char c : typed) {
        if (pos >= slots.size()) break;
        // Skip literals the person did not type themselves.
        if (!slots[pos].mask && slots[pos].literal != c) {
            while (pos < slots.size() && !slots[pos].mask) ++pos;
            if (pos >= slots.size()) break;
        }
        if (!slots[pos].mask) {
            ++pos;  // the typed literal matches this position
            continue;
        }
        if (Accepts(slots[pos].mask, c)) {
            out[pos++] = c;
            continue;
        }
        // A typed literal ends the current field: jump past the next matching literal.
        size_t next = pos;
        while (next < slots.size() && !(slots[next].mask == 0 && slots[next].literal == c)) ++next;
        if (next < slots.size()) pos = next + 1;
    }
    return out;
}

std::string EditMask::TextOf(const std::string& editText) const {
    if (empty || saveLiterals) return editText;
    std::string s;
    for (size_t i = 0; i < editText.size() && i < slots.size(); ++i)
        if (slots[i].mask) s += editText[i];
    return s;
}

VEL_DEFINE_COMPONENT(TMaskEdit,
    b.Str("EditMask", [](TMaskEdit& e) { return e.EditMaskText(); }, [](TMaskEdit& e, const std::string& v) { e.SetEditMask(v); });
    b.Str("Text", [](TMaskEdit& e) { return e.MaskedText(); }, [](TMaskEdit& e, const std::string& v) { e.SetMaskedText(v); });
    b.Str("EditText", [](TMaskEdit& e) { return e.EditText(); }))

TMaskEdit::TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TMaskEdit::SetEditMask(const std::string& mask) {
    if (mask == maskText_) return;
    std::string old = MaskedText();
    maskText_ = mask;
    mask_ = EditMask::Parse(mask);
    if (mask_.empty) SetCaption(old);
    else SetCaption(mask_.Apply(old));
}

std::string TMaskEdit::MaskedText() const { return mask_.TextOf(Caption()); }

void TMaskEdit::SetMaskedText(const std::string& text) {
    typed_.clear();
    if (mask_.empty) {
        SetCaption(text);
        return;
    }
    // A text already laid out for the mask is taken as it is.
    if (text.size() == mask_.slots.size()) {
        bool laidOut = true;
        for (size_t i = 0; i < text.size(); ++i)
            if (!mask_.slots[i].mask && text[i] != mask_.slots[i].literal) laidOut = false;
        if (laidOut) {
            SetCaption(text);
            return;
        }
    }
    SetCaption(mask_.Apply(text));
}

void TMaskEdit::TypeText(const std::string& text) {
    if (readOnly_) return;
    typed_ = text;
    allSelected_ = false;
    if (mask_.empty) {
        TCustomEdit::TypeText(text);
        return;
    }
    SetCaption(mask_.Apply(text));
}

void TMaskEdit::KeyPress(char& key) {
    if (mask_.empty) {
        TCustomEdit::KeyPress(key);
        return;
    }
    TWinControl::KeyPress(key);
    if (!key || readOnly_) return;
    if (allSelected_) {
        allSelected_ = false;
        typed_.clear();
    } else if (typed_.empty()) {
        // Typing continues after what the field already holds.
        std::string current = Caption();
        size_t lastFilled = std::string::npos;
        for (size_t i = 0; i < current.size() && i < mask_.slots.size(); ++i)
            if (mask_.slots[i].mask && current[i] != mask_.blank) lastFilled = i;
        typed_ = lastFilled == std::string::npos ? std::string() : current.substr(0, lastFilled + 1);
    }
    if (key == '\b') {
        if (!typed_.empty()) typed_.pop_back();
    } else {
        // A key the mask refuses is dropped; a literal is kept, it moves the caret.
        bool literal = false;
        for (const auto& slot : mask_.slots)
            if (!slot.mask && slot.literal == key) literal = true;
        if (literal || mask_.Apply(typed_ + key) != mask_.Apply(typed_)) typed_ += key;
    }
    SetCaption(mask_.Apply(typed_));
}

}  // namespace vel
