#include "lang/lang_controller.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <sys/stat.h>

#include "platform/system/inifile.h"
#include "platform/system/registry_store.h"
#include "platform/text/codepage.h"
#include "platform/ui/forms.h"

namespace vel {

class TLanguageDocument {
public:
    explicit TLanguageDocument(xmlDocPtr doc) : doc_(doc) {}
    ~TLanguageDocument() { xmlFreeDoc(doc_); }
    xmlDocPtr Get() const { return doc_; }

    static std::unique_ptr<TLanguageDocument> Load(const std::string& fileName) {
        xmlDocPtr doc = xmlReadFile(fileName.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        if (!doc) {
            const xmlError* err = xmlGetLastError();
            throw LanguageControllerError(err && err->message ? TrimText(err->message) : "Cannot load " + fileName);
        }
        return std::make_unique<TLanguageDocument>(doc);
    }

    // First element of that name anywhere in the document.
    xmlNodePtr FindElement(const std::string& name) const { return Find(xmlDocGetRootElement(doc_), name); }

private:
    static xmlNodePtr Find(xmlNodePtr node, const std::string& name) {
        for (xmlNodePtr n = node; n; n = n->next) {
            if (n->type != XML_ELEMENT_NODE) continue;
            if (name == reinterpret_cast<const char*>(n->name)) return n;
            if (xmlNodePtr inner = Find(n->children, name)) return inner;
        }
        return nullptr;
    }
    xmlDocPtr doc_;
};

namespace {

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string UiCodePageFor(TDesignType type) { return ReadCodePageSettings(type).uiCodePage; }

std::string InstallDirectory(TDesignType type) {
    auto value = Registry().ReadValue(kLocalMachine, "Software\\Vel\\Vantrel",
                                      type == TDesignType::dtClient ? "ClientPath" : "ServerPath");
    std::string dir = value ? *value : "";
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

// The language files are UTF-8; the form shows texts in its user-interface code page.
std::string FromFile(const xmlChar* text, TDesignType type) {
    std::string utf8 = text ? reinterpret_cast<const char*>(text) : "";
    std::string cp = UiCodePageFor(type);
    return Utf8ToCodePage(utf8, cp == "950" ? kCodePageBig5 : cp == "437" ? 437 : kCodePageGB);
}

// Items_3 -> ("Items", 3); no index -> -1.
std::pair<std::string, int> SplitIndexed(const std::string& part) {
    size_t us = part.rfind('_');
    if (us == std::string::npos) return {part, -1};
    std::string digits = part.substr(us + 1);
    int n = -1;
    if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos && digits.size() < 9)
        n = std::stoi(digits);
    return {part.substr(0, us), n};
}

void ApplyAttribute(TPersistent& component, const std::string& path, const std::string& value) {
    TPersistent* target = &component;
    std::string finalName = path;
    size_t start = 0;
    while (true) {
        size_t dot = path.find('.', start);
        if (dot == std::string::npos) {
            finalName = path.substr(start);
            break;
        }
        std::string part = path.substr(start, dot - start);
        auto [base, index] = SplitIndexed(part);
        PropertyRef ref = FindPropertyPath(*target, base);
        if (!ref || !ref.info->getObject) return;
        target = ref.info->getObject(*ref.object);
        if (!target) return;
        start = dot + 1;
    }
    try {
        auto [base, index] = SplitIndexed(finalName);
        if (index >= 0) {
            PropertyRef ref = FindPropertyPath(*target, base);
            if (!ref || ref.info->kind != PropKind::StringList) return;
            auto* list = dynamic_cast<TStringList*>(ref.info->getObject(*ref.object));
            if (!list) return;
            while (list->Count() <= index) list->Add("");
            list->Put(index, value);
            return;
        }
        SetPropValue(*target, finalName, Variant(TrimText(value).size() && value.front() == '[' ? TrimText(value) : value));
    } catch (const std::exception&) {
        // A property the component lacks, or a value it refuses, is skipped.
    }
}

}  // namespace

std::string LangDirectoryFor(const std::string& installDirectory, const std::string& uiCodePage) {
    const char* folder = uiCodePage == "936" ? "CHS" : uiCodePage == "950" ? "CHT" : uiCodePage == "437" ? "ENG" : nullptr;
    if (!folder || installDirectory.empty()) return "";
    std::string dir = installDirectory;
    if (dir.back() != '/') dir += '/';
    dir += std::string("MultiLanguage/") + folder + "/";
    return DirectoryExists(dir) ? dir : "";
}

std::string GetLangDirectory(TDesignType type) { return LangDirectoryFor(InstallDirectory(type), UiCodePageFor(type)); }

std::string GetLangString(TDesignType type, const std::string& className, const std::string& key,
                          const std::string& defaultText) {
    std::string dir = GetLangDirectory(type);
    if (dir.empty()) return defaultText;
    std::string file = dir + className + ".Lng";
    if (!FileExists(file)) return defaultText;
    try {
        auto doc = TLanguageDocument::Load(file);
        xmlNodePtr node = doc->FindElement(key);
        if (!node) return defaultText;
        xmlChar* msg = xmlGetProp(node, reinterpret_cast<const xmlChar*>("Msg"));
        if (!msg) return defaultText;
        std::string text = FromFile(msg, type);
        xmlFree(msg);
        return text;
    } catch (const std::exception&) {
        return defaultText;
    }
}

VEL_DEFINE_COMPONENT(TVelLangController,
    b.Bool("Active", [](TVelLangController& c) { return c.Active(); }, [](TVelLangController& c, bool v) { c.SetActive(v); });
    b.Str("LangPackageName", [](TVelLangController& c) { return c.LangPackageName(); },
          [](TVelLangController& c, const std::string& v) { c.SetLangPackageName(v); });
    b.Enum("DesignType", {"dtClient", "dtServer"}, [](TVelLangController& c) { return static_cast<int>(c.DesignType()); },
           [](TVelLangController& c, int v) { c.SetDesignType(static_cast<TDesignType>(v)); });
    b.Strings("ExcludeControls", [](TVelLangController& c) -> TPersistent* { return &c.ExcludeControls(); });
    b.Event("BeforeOpen", &TVelLangController::BeforeOpen);
    b.Event("AfterOpen", &TVelLangController::AfterOpen);
    b.Event("BeforeClose", &TVelLangController::BeforeClose);
    b.Event("AfterClose", &TVelLangController::AfterClose))

TVelLangController::TVelLangController(TComponent* owner) : TComponent(owner) {}
TVelLangController::~TVelLangController() = default;

void TVelLangController::SetLangPackageName(const std::string& name) {
    if (name == packageName_ && !fileName_.empty()) return;
    packageName_ = name;
    std::string file = GetLangDirectory(designType_) + name + ".Lng";
    if (file != fileName_) {
        fileName_ = file;
        SetActive(false);
    }
}

bool TVelLangController::Active() const { return document_ && xmlDocGetRootElement(document_->Get()); }

void TVelLangController::SetActive(bool active) {
    if (active == static_cast<bool>(document_)) return;
    if (active) {
        BeforeOpen(this);
        document_.reset();
        if (fileName_.empty()) throw LanguageControllerError("Cannot Find File " + fileName_ + "!");
        document_ = TLanguageDocument::Load(fileName_);
        AfterOpen(this);
    } else {
        BeforeClose(this);
        document_.reset();
        AfterClose(this);
    }
}

void TVelLangController::ReadComponent(TComponent& component) {
    if (!document_) throw LanguageControllerError("No active LanguageController!");
    xmlNodePtr root = xmlDocGetRootElement(document_->Get());
    if (root && dynamic_cast<TCustomForm*>(&component)) ApplyNode(component, root);
    std::string name = TrimText(component.Name());
    if (!name.empty()) {
        bool excluded = false;
        for (int i = 0; i < excludeControls_.Count(); ++i)
            if (SameText(TrimText(excludeControls_[i]), name)) excluded = true;
        if (!excluded)
            if (xmlNodePtr node = document_->FindElement(name)) ApplyNode(component, node);
    }
    std::vector<TComponent*> owned = component.ComponentList();
    for (TComponent* child : owned) ReadComponent(*child);
}

void TVelLangController::ApplyNode(TComponent& component, void* nodePtr) {
    auto* node = static_cast<xmlNodePtr>(nodePtr);
    for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
        xmlChar* value = xmlNodeListGetString(node->doc, attr->children, 1);
        std::string text = FromFile(value, designType_);
        if (value) xmlFree(value);
        ApplyAttribute(component, reinterpret_cast<const char*>(attr->name), text);
    }
}

}  // namespace vel
