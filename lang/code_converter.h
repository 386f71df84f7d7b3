#pragma once
// TCodeConverter: knows the installation's three code pages and converts texts between GB
// and Big5 where the screen or the database needs it: the form's own texts, variants to
// and from the server, fonts and dialogs.
#include <memory>
#include <string>

#include "platform/ui/component.h"
#include "platform/ui/graphics.h"
#include "platform/ui/presenter.h"

namespace vel {

class TCustomForm;

enum class TDesignType { dtClient, dtServer };

// Conversion types of ConvertVariant.
enum : int { kBig5ToGB = 1, kGBToBig5 = 2 };

// The code pages and conversion modes an installation runs with.
struct CodePageSettings {
    std::string systemCodePage = "936";
    std::string uiCodePage = "936";
    std::string dbCodePage = "936";
    uint8_t screenMode = 0;  // DeriveConversionModes (runtime/vantrel_ini.h) gives both
    uint8_t dataMode = 0;
};

// Byte-level GB/Big5 conversion; the language library bridge implements it.
class ITextTranslator {
public:
    virtual ~ITextTranslator() = default;
    virtual std::string ConvertGBToBig5(const std::string& text) = 0;
    virtual std::string ConvertBig5ToGB(const std::string& text) = 0;
};

class TCodeConverter : public TComponent {
    VEL_CLASS(TCodeConverter, TComponent)
public:
    explicit TCodeConverter(TComponent* owner);
    ~TCodeConverter() override;

    TDesignType DesignType() const { return designType_; }
    // Reads the settings of that side; creates the translator when the screen needs one.
    void SetDesignType(TDesignType type);
    // Replaces the settings (the settings reader normally supplies them).
    void ApplySettings(const CodePageSettings& settings);
    const CodePageSettings& Settings() const { return settings_; }
    uint8_t ScreenMode() const { return settings_.screenMode; }
    uint8_t DataMode() const { return settings_.dataMode; }
    const std::string& SystemCodePage() const { return settings_.systemCodePage; }
    const std::string& UICodePage() const { return settings_.uiCodePage; }
    const std::string& DBCodePage() const { return settings_.dbCodePage; }
    bool HasTranslator() const { return static_cast<bool>(translator_); }
    void SetTranslator(std::unique_ptr<ITextTranslator> translator);

    Variant ConvertVariant(int type, const Variant& value) const;
    Variant ConvertDataToScreen(const Variant& value) const;
    Variant ConvertScreenToData(const Variant& value) const;
    Variant ConvertAuthoringToScreen(const Variant& value) const;
    Variant ConvertScreenToAuthoring(const Variant& value) const;
    std::string ConvertAuthoringToScreen(const std::string& text) const;
    std::string Big5ToGBText(const std::string& text) const;
    std::string GBToBig5Text(const std::string& text) const;

    static void SetModeFont(int mode, TFont& font);
    void ConvertForm(TCustomForm& form);
    int ShowConverterMessage(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons);

private:
    std::string ConvertText(int type, const std::string& text) const;

    TDesignType designType_ = TDesignType::dtClient;
    CodePageSettings settings_;
    std::unique_ptr<ITextTranslator> translator_;
};

// The settings of a side, from the configuration readers.
CodePageSettings ReadCodePageSettings(TDesignType type);
// The language library bridge for a converter whose screen mode is not 0; raises its error.
std::unique_ptr<ITextTranslator> CreateLanguageTranslator();

}  // namespace vel
