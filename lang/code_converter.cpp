#include "lang/code_converter.h"

#include "platform/ui/forms.h"
#include "platform/ui/strings.h"

namespace vel {

VEL_DEFINE_COMPONENT(TCodeConverter,
    b.Enum("DesignType", {"dtClient", "dtServer"}, [](TCodeConverter& c) { return static_cast<int>(c.DesignType()); },
           [](TCodeConverter& c, int v) { c.SetDesignType(static_cast<TDesignType>(v)); }))

TCodeConverter::TCodeConverter(TComponent* owner) : TComponent(owner) { SetDesignType(TDesignType::dtClient); }

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::SetDesignType(TDesignType type) {
    designType_ = type;
    ApplySettings(ReadCodePageSettings(type));
}

void TCodeConverter::ApplySettings(const CodePageSettings& settings) {
    settings_ = settings;
    translator_.reset();
    if (settings_.screenMode != 0) translator_ = CreateLanguageTranslator();
}

void TCodeConverter::SetTranslator(std::unique_ptr<ITextTranslator> translator) { translator_ = std::move(translator); }

std::string TCodeConverter::ConvertText(int type, const std::string& text) const {
    if (!translator_ || text.empty()) return text;
    if (type == kBig5ToGB) return translator_->ConvertBig5ToGB(text);
    if (type == kGBToBig5) return translator_->ConvertGBToBig5(text);
    return text;
}

Variant TCodeConverter::ConvertVariant(int type, const Variant& value) const {
    Variant copy = value;
    if (type == 0 || !translator_ || value.IsEmpty() || value.IsNull()) return copy;
    bool converts = type == kBig5ToGB || type == kGBToBig5;
    if (copy.IsArray()) {
        auto& items = copy.ArrayData().items;
        if (copy.DimCount() == 1) {
            for (auto& item : items) {
                if (item.IsArray()) item = ConvertVariant(type, item);
                else if (converts) item = Variant(ConvertText(type, item.ToString()));
                else item = Variant(item.ToString());
            }
        } else if (copy.DimCount() == 2) {
            for (auto& item : items) item = ConvertVariant(type, item);
        }
        return copy;
    }
    if (converts) return Variant(ConvertText(type, copy.ToString()));
    return copy;
}

Variant TCodeConverter::ConvertDataToScreen(const Variant& value) const {
    int mode = settings_.dataMode;
    return mode == 1 ? ConvertVariant(kBig5ToGB, value) : mode == 2 ? ConvertVariant(kGBToBig5, value) : value;
}

Variant TCodeConverter::ConvertScreenToData(const Variant& value) const {
    try {
        int mode = settings_.dataMode;
        return mode == 1 ? ConvertVariant(kGBToBig5, value) : mode == 2 ? ConvertVariant(kBig5ToGB, value) : value;
    } catch (const std::exception&) {
        return value;
    }
}

Variant TCodeConverter::ConvertAuthoringToScreen(const Variant& value) const {
    try {
        int mode = settings_.screenMode;
        return mode == 1 ? ConvertVariant(kBig5ToGB, value) : mode == 2 ? ConvertVariant(kGBToBig5, value) : value;
    } catch (const std::exception&) {
        return value;
    }
}

Variant TCodeConverter::ConvertScreenToAuthoring(const Variant& value) const {
    try {
        int mode = settings_.screenMode;
        return mode == 1 ? ConvertVariant(kGBToBig5, value) : mode == 2 ? ConvertVariant(kBig5ToGB, value) : value;
    } catch (const std::exception&) {
        return value;
    }
}

std::string TCodeConverter::ConvertAuthoringToScreen(const std::string& text) const {
    return ConvertAuthoringToScreen(Variant(text)).ToString();
}

std::string TCodeConverter::Big5ToGBText(const std::string& text) const { return ConvertText(kBig5ToGB, text); }
std::string TCodeConverter::GBToBig5Text(const std::string& text) const { return ConvertText(kGBToBig5, text); }

void TCodeConverter::SetModeFont(int mode, TFont& font) {
    if (mode == 0 || mode == 1 || mode == 4) {
        font.name = "SimSun";
        font.charset = 134;
    } else if (mode == 2 || mode == 3) {
        font.name = "SimSun";
        font.charset = 136;
    }
}

void TCodeConverter::ConvertForm(TCustomForm& form) {
    if (!translator_) return;
    int mode = settings_.screenMode;
    if (settings_.systemCodePage == "950") form.SetCaption(GBToBig5Text(form.Caption()));
    form.SetHint(ConvertVariant(mode, Variant(form.Hint())).ToString());
    if (mode == 0) return;
    for (TComponent* c : form.ComponentList()) {
        for (const char* fontProp : {"Font", "TitleFont"}) {
            PropertyRef ref = FindPropertyPath(*c, fontProp);
            if (ref && ref.info->getObject)
                if (auto* font = dynamic_cast<TFont*>(ref.info->getObject(*ref.object))) SetModeFont(mode, *font);
        }
        for (const char* textProp : {"Caption", "Hint", "ButtonHint"}) {
            PropertyRef ref = FindPropertyPath(*c, textProp);
            if (ref && ref.info->kind == PropKind::String && ref.info->set)
                ref.info->set(*ref.object, ConvertVariant(mode, ref.info->get(*ref.object)));
        }
        for (const char* listProp : {"Items", "Lines"}) {
            PropertyRef ref = FindPropertyPath(*c, listProp);
            if (ref && ref.info->kind == PropKind::StringList)
                if (auto* list = dynamic_cast<TStringList*>(ref.info->getObject(*ref.object)))
                    list->SetText(ConvertVariant(mode, Variant(list->Text())).ToString());
        }
    }
}

int TCodeConverter::ShowConverterMessage(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons) {
    if (text.empty()) return 0;
    DialogRequest request;
    request.text = text;
    if (settings_.uiCodePage == "936" || settings_.systemCodePage == "936") request.text += "      ";
    request.type = kind;
    request.buttons = buttons;
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (form) {
        if (form->WindowState() == TWindowState::wsMinimized) form->SetWindowState(TWindowState::wsNormal);
        request.caption = form->Caption();
    }
    TFont font;
    SetModeFont(settings_.screenMode, font);
    request.fontName = font.name;
    request.fontCharset = font.charset;
    return Presenter().MessageDialog(request);
}

}  // namespace vel
