#pragma once
// The language controller: re-labels components from a language file (XML) named after a
// form class, in the folder of the user-interface code page, and looks up texts by key.
#include <memory>
#include <string>

#include "lang/code_converter.h"
#include "platform/ui/component.h"
#include "platform/ui/strings.h"

namespace vel {

class LanguageControllerError : public Exception {
public:
    using Exception::Exception;
};

// Client (or server) directory + "MultiLanguage/" + CHS, CHT or ENG + "/"; empty when the code
// page has no folder or the directory does not exist.
std::string GetLangDirectory(TDesignType type);
std::string LangDirectoryFor(const std::string& installDirectory, const std::string& uiCodePage);
// Text of key's "Msg" attribute in the class's language file, or the default.
std::string GetLangString(TDesignType type, const std::string& className, const std::string& key,
                          const std::string& defaultText);

class TLanguageDocument;

class TVelLangController : public TComponent {
    VEL_CLASS(TVelLangController, TComponent)
public:
    explicit TVelLangController(TComponent* owner);
    ~TVelLangController() override;

    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType type) { designType_ = type; }
    const std::string& LangPackageName() const { return packageName_; }
    void SetLangPackageName(const std::string& name);
    const std::string& FileName() const { return fileName_; }
    bool Active() const;
    void SetActive(bool active);
    TStringList& ExcludeControls() { return excludeControls_; }

    // Translates the component and everything it owns; raises when no document is open.
    void ReadComponent(TComponent& component);

    TNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;

private:
    void ApplyNode(TComponent& component, void* node);
    TDesignType designType_ = TDesignType::dtClient;
    std::string packageName_;
    std::string fileName_;
    TStringList excludeControls_;
    std::unique_ptr<TLanguageDocument> document_;
};

}  // namespace vel
