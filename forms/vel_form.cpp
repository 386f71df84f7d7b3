#include "forms/vel_form.h"

#include <sys/stat.h>

#include "controls/glyph_owner.h"
#include "forms/disabled_glyph.h"
#include "platform/ui/buttons.h"
#include "platform/ui/resource.h"

namespace vel {

VEL_DEFINE_FORM(TVelForm,
    b.Field("VelConverter", &TVelForm::VelConverter);
    b.Field("LangController", &TVelForm::LangController);
    b.Method<TNotifyEvent>("FormCreate", &TVelForm::FormCreate);
    b.Method<TNotifyEvent>("FormShow", &TVelForm::FormShow);
    b.Bool("Scaled", [](TVelForm&) { return false; }, [](TVelForm&, bool) {}))

static FormResource kVelFormResource("TVelForm", R"(
object VelForm: TVelForm
  Caption = 'VelForm'
  Width = 400
  Height = 191
  Color = clBtnFace
  Font.Charset = 1
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = '宋体'
  KeyPreview = True
  Position = poScreenCenter
  Scaled = False
  ShowHint = True
  OnCreate = FormCreate
  OnShow = FormShow
  object VelConverter: TCodeConverter
    DesignType = dtClient
  end
  object LangController: TVelLangController
    Active = False
  end
end
)");

TVelForm::TVelForm(TComponent* owner) : TForm(owner) {}

void TVelForm::FormCreate(TComponent*) {
    textsConverted_ = false;
    translateOnShow_ = true;
    const bool english = UICodePage() == "437";
    std::vector<TComponent*> owned = ComponentList();
    for (TComponent* c : owned) {
        if (IsPublishedProp(*c, "ImeName")) SetPropValue(*c, "ImeName", Variant(""));
        if (english && IsPublishedProp(*c, "Font")) {
            SetPropValue(*c, "Font.Charset", Variant(134));
            SetPropValue(*c, "Font.Name", Variant("Tahoma"));
        }
        if (auto* owner = dynamic_cast<IGlyphButtonOwner*>(c)) {
            for (TSpeedButton* button : owner->GlyphButtons())
                if (button && button->NumGlyphs() <= 1 && !button->Glyph().Empty()) {
                    AddDisabledImage(button->Glyph());
                    button->SetNumGlyphs(2);
                }
        } else if (auto* speed = dynamic_cast<TSpeedButton*>(c)) {
            if (speed->NumGlyphs() <= 1 && !speed->Glyph().Empty()) {
                AddDisabledImage(speed->Glyph());
                speed->SetNumGlyphs(2);
            }
        } else if (auto* bit = dynamic_cast<TBitBtn*>(c)) {
            if (bit->NumGlyphs() <= 1 && !bit->Glyph().Empty()) {
                AddDisabledImage(bit->Glyph());
                bit->SetNumGlyphs(2);
            }
        }
    }
}

void TVelForm::FormShow(TComponent*) {
    if (translateOnShow_) TranslateSelf(true);
}

void TVelForm::TranslateSelf(bool wholeChain) { TranslateComponent(*this, wholeChain); }

std::vector<std::string> TVelForm::PackageChain(const ClassInfo& cls, bool wholeChain, bool stopAtBase) {
    if (!wholeChain) return {cls.name};
    std::vector<std::string> names;
    for (const ClassInfo* c = &cls; c; c = c->parent) {
        if (c->name == "TForm" || c->name == "TCustomForm") break;
        if (stopAtBase && c->name == "TVelForm") break;
        names.insert(names.begin(), c->name);
    }
    return names;
}

void TVelForm::TranslateWith(TComponent& target, const std::vector<std::string>& packages) {
    if (!LangController) return;
    for (const auto& name : packages) {
        LangController->SetLangPackageName(name);
        struct stat st {};
        if (::stat(LangController->FileName().c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            LangController->SetActive(true);
            LangController->ReadComponent(target);
        }
    }
}

void TVelForm::TranslateComponent(TComponent& target, bool wholeChain) {
    TranslateWith(target, PackageChain(target.Class(), wholeChain, false));
}

void TVelForm::TranslateComponentBelowBase(TComponent& target, bool wholeChain) {
    TranslateWith(target, PackageChain(target.Class(), wholeChain, true));
}

void TVelForm::ConvertTexts() {
    if (textsConverted_) return;
    if (VelConverter) VelConverter->ConvertForm(*this);
    textsConverted_ = true;
}

int TVelForm::ShowDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return VelConverter ? VelConverter->ShowConverterMessage(text, type, buttons) : 0;
}

std::string TVelForm::SystemCodePage() const { return VelConverter ? VelConverter->SystemCodePage() : "936"; }
std::string TVelForm::UICodePage() const { return VelConverter ? VelConverter->UICodePage() : "936"; }
uint8_t TVelForm::UiConversionMode() const { return VelConverter ? VelConverter->ScreenMode() : 0; }
uint8_t TVelForm::DbConversionMode() const { return VelConverter ? VelConverter->DataMode() : 0; }

void TVelForm::GetLangText(const std::string& className, const std::string& key, std::string& text, bool convert,
                           const std::string& defaultText) {
    std::string fallback = convert && VelConverter ? VelConverter->ConvertAuthoringToScreen(defaultText) : defaultText;
    text = GetLangString(LangController ? LangController->DesignType() : TDesignType::dtClient, className, key, fallback);
}

std::string TVelForm::LangText(const std::string& className, const std::string& key, const std::string& defaultText) {
    std::string text;
    GetLangText(className, key, text, true, defaultText);
    return text;
}

}  // namespace vel
