#pragma once
// TVelForm: the base of every form of the module. At creation it gives the form a uniform
// look and every glyph button a disabled image; when shown it translates the form from the
// language files of its class chain; on demand it converts the form's texts once.
#include <string>

#include "lang/code_converter.h"
#include "lang/lang_controller.h"
#include "platform/ui/forms.h"

namespace vel {

class TVelForm : public TForm {
    VEL_CLASS(TVelForm, TForm)
public:
    explicit TVelForm(TComponent* owner);

    TCodeConverter* VelConverter = nullptr;
    TVelLangController* LangController = nullptr;

    // Virtual operations, in slot order.
    virtual void TranslateComponent(TComponent& target, bool wholeChain);
    virtual void TranslateComponentBelowBase(TComponent& target, bool wholeChain);

    void FormCreate(TComponent* sender);
    void FormShow(TComponent* sender);
    void TranslateSelf(bool wholeChain);
    void ConvertTexts();
    int ShowDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
    std::string SystemCodePage() const;
    std::string UICodePage() const;
    uint8_t UiConversionMode() const;
    uint8_t DbConversionMode() const;
    // The text of `key` in the language package of `className`, else the (converted) default.
    void GetLangText(const std::string& className, const std::string& key, std::string& text, bool convert,
                     const std::string& defaultText);
    std::string LangText(const std::string& className, const std::string& key, const std::string& defaultText);

    bool TextsConverted() const { return textsConverted_; }
    bool TranslateOnShow() const { return translateOnShow_; }
    void SetTranslateOnShow(bool value) { translateOnShow_ = value; }

    // Package names of the class chain, most general first; `stopAtBase` also stops before TVelForm.
    static std::vector<std::string> PackageChain(const ClassInfo& cls, bool wholeChain, bool stopAtBase);

protected:
    void TranslateWith(TComponent& target, const std::vector<std::string>& packages);

private:
    bool textsConverted_ = false;
    bool translateOnShow_ = true;
};

}  // namespace vel
