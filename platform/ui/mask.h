#pragma once
// The mask edit: an edit whose text follows an edit mask "MASK;SAVE;BLANK".
//   MASK   characters: 0 required digit, 9 optional digit, # digit or sign, L/l letter,
//          A/a letter or digit, C/c any character; "\" makes the next character a literal;
//          everything else is a literal; a leading "!" keeps blanks at the end of the text.
//   SAVE   "1" (default) keeps the literals in Text, "0" drops them.
//   BLANK  the character shown in unfilled positions (default "_").
#include <string>

#include "platform/ui/stdctrls.h"

namespace vel {

struct EditMask {
    struct Slot {
        char mask = 0;      // mask character, or 0 for a literal
        char literal = 0;
    };
    std::vector<Slot> slots;
    bool saveLiterals = true;
    char blank = '_';
    bool empty = true;

    static EditMask Parse(const std::string& text);
    // The text an empty control shows: literals in place, blanks elsewhere.
    std::string EmptyText() const;
    bool Accepts(char mask, char c) const;
    // Places typed characters into the mask as a person typing them would: a literal typed
    // where the mask expects input jumps to just past that literal.
    std::string Apply(const std::string& typed) const;
    // Text as read through Text: literals dropped when they are not saved.
    std::string TextOf(const std::string& editText) const;
};

class VEL_API TMaskEdit : public TCustomEdit {
    VEL_CLASS(TMaskEdit, TCustomEdit)
public:
    explicit TMaskEdit(TComponent* owner);

    const std::string& EditMaskText() const { return maskText_; }
    void SetEditMask(const std::string& mask);
    bool IsMasked() const { return !mask_.empty; }
    const EditMask& Mask() const { return mask_; }
    // The text with literals and blanks, as shown.
    std::string EditText() const { return Caption(); }
    // The text as the program reads it.
    std::string MaskedText() const;
    void SetMaskedText(const std::string& text);

    void TypeText(const std::string& text) override;
    void KeyPress(char& key) override;

private:
    std::string maskText_;
    EditMask mask_;
    std::string typed_;  // what was typed since the text was last replaced
};

}  // namespace vel
