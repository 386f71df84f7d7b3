#include "platform/ui/resource.h"

#include <cctype>
#include <map>
#include <mutex>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/system/inifile.h"
#include "platform/text/codepage.h"
#include "platform/ui/control.h"
#include "platform/ui/forms.h"
#include "platform/ui/strings.h"

namespace vel {
namespace {

std::map<std::string, std::string>& Resources() {
    static std::map<std::string, std::string> resources;
    return resources;
}

std::mutex& ResourceMutex() {
    static std::mutex m;
    return m;
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// One property value as written in the resource.
struct Value {
    enum Kind { Integer, Float, String, Ident, Set, List } kind = Integer;
    long long integer = 0;
    double number = 0;
    std::string text;                 // String (936 bytes) or Ident
    std::vector<std::string> items;   // Set elements or List strings
};

class Reader {
public:
    Reader(TComponent& root, const std::string& text) : root_(root), text_(text) {}

    void Run() {
        SkipSpace();
        std::string word = Word();
        if (word != "object" && word != "inherited") Fail("object or inherited expected");
        ReadBody(&root_, word == "inherited", true);
        SkipSpace();
        if (pos_ < text_.size()) Fail("text after the final end");
        for (auto& f : fixups_) ApplyFixup(f);
        // A failed read leaves its components marked: the form that holds them is not created.
        for (TComponent* c : loading_) c->EndLoading();
    }

private:
    struct Fixup {
        TPersistent* object;
        std::string property;
        std::string target;
        int line;
    };

    [[noreturn]] void Fail(const std::string& what) const {
        throw Exception("Form resource error at line " + std::to_string(line_) + ": " + what);
    }

    void SkipSpace() {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '\n') ++line_;
            if (std::isspace(static_cast<unsigned char>(c))) { ++pos_; continue; }
            if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
                continue;
            }
            break;
        }
    }

    bool IsIdentChar(char c) const { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

    std::string Word() {
        SkipSpace();
        size_t start = pos_;
        while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
        if (start == pos_) Fail("name expected");
        return text_.substr(start, pos_ - start);
    }

    void Expect(char c) {
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != c) Fail(std::string("'") + c + "' expected");
        ++pos_;
    }

    bool Peek(char c) {
        SkipSpace();
        return pos_ < text_.size() && text_[pos_] == c;
    }

    // 'text' pieces and #nn character codes written together ('a'#13'b'), or joined with
    // "+" across spaces and lines. Pieces apart without "+" are separate texts, as the items
    // of a list are.
    std::string StringLiteral() {
        std::string out;
        SkipSpace();
        while (pos_ < text_.size()) {
            if (text_[pos_] == '\'') {
                ++pos_;
                while (true) {
                    if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated text");
                    if (text_[pos_] == '\'') {
                        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') { out += '\''; pos_ += 2; continue; }
                        ++pos_;
                        break;
                    }
                    out += text_[pos_++];
                }
            } else if (text_[pos_] == '#') {
                ++pos_;
                size_t start = pos_;
                while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
                if (start == pos_) Fail("character code expected");
                int code = std::stoi(text_.substr(start, pos_ - start));
                if (code < 0 || code > 255) Fail("character code out of range");
                out += static_cast<char>(code);
            } else {
                break;
            }
            if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) continue;
            size_t save = pos_;
            int saveLine = line_;
            SkipSpace();
            if (pos_ < text_.size() && text_[pos_] == '+') {
                ++pos_;
                SkipSpace();
                continue;
            }
            pos_ = save;
            line_ = saveLine;
            break;
        }
        return Utf8ToCodePage(out, kCodePageGB);
    }

    Value ReadValue() {
        SkipSpace();
        if (pos_ >= text_.size()) Fail("value expected");
        char c = text_[pos_];
        Value v;
        if (c == '\'' || c == '#') {
            v.kind = Value::String;
            v.text = StringLiteral();
        } else if (c == '[') {
            ++pos_;
            v.kind = Value::Set;
            while (!Peek(']')) {
                v.items.push_back(Word());
                if (Peek(',')) ++pos_;
                else if (!Peek(']')) Fail("',' or ']' expected");
            }
            ++pos_;
        } else if (c == '(') {
            ++pos_;
            v.kind = Value::List;
            while (!Peek(')')) {
                if (!Peek('\'') && !Peek('#')) Fail("text expected in list");
                v.items.push_back(StringLiteral());
            }
            ++pos_;
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = pos_;
            ++pos_;
            while (pos_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.' ||
                                           text_[pos_] == 'E' || text_[pos_] == 'e'))
                ++pos_;
            std::string num = text_.substr(start, pos_ - start);
            try {
                if (num.find_first_of(".Ee") != std::string::npos) {
                    v.kind = Value::Float;
                    v.number = std::stod(num);
                } else {
                    v.integer = std::stoll(num);
                }
            } catch (const std::exception&) {
                Fail("bad number " + num);
            }
        } else if (c == '$') {
            size_t start = pos_++;
            while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            v.kind = Value::Integer;
            v.integer = static_cast<long long>(static_cast<uint32_t>(StringToColor(text_.substr(start, pos_ - start).c_str())));
        } else {
            v.kind = Value::Ident;
            v.text = Word();
        }
        return v;
    }

    void ReadBody(TComponent* current, bool inherited, bool isRoot) {
        // Header: NAME: TClass (the name may be absent for the root).
        std::string name = Word();
        std::string className;
        if (Peek(':')) {
            ++pos_;
            className = Word();
        } else {
            className = name;
            name.clear();
        }
        TComponent* target = current;
        if (isRoot) {
            if (!name.empty()) root_.SetName(name);
        } else if (inherited) {
            target = root_.FindComponent(name);
            if (!target) Fail("inherited component " + name + " not found");
            MarkLoading(target);
        } else {
            const ClassInfo* info = FindClass(className);
            if (!info || !info->create) Fail("class " + className + " not found");
            target = info->create(&root_);
            MarkLoading(target);
            if (!name.empty()) target->SetName(name);
            current->ReadChild(target);
        }
        while (true) {
            SkipSpace();
            if (pos_ >= text_.size()) Fail("end expected");
            size_t save = pos_;
            int saveLine = line_;
            std::string word = Word();
            if (word == "end") return;
            if (word == "object" || word == "inherited") {
                ReadBody(target, word == "inherited", false);
                continue;
            }
            pos_ = save;
            line_ = saveLine;
            std::string prop = Word();
            Expect('=');
            Value value = ReadValue();
            Assign(*target, prop, value);
        }
    }

    void MarkLoading(TComponent* component) {
        if (component->Loading()) return;
        component->BeginLoading();
        loading_.push_back(component);
    }

    void Assign(TComponent& component, const std::string& path, const Value& value) {
        // "Items.Strings = (...)" fills a string list.
        std::string propPath = path;
        if (value.kind == Value::List) {
            if (propPath.size() > 8 && SameText(propPath.substr(propPath.size() - 8), ".Strings"))
                propPath.resize(propPath.size() - 8);
            PropertyRef ref = FindPropertyPath(component, propPath);
            if (!ref || ref.info->kind != PropKind::StringList) Fail("string list property " + path + " not found");
            auto* list = dynamic_cast<TStringList*>(ref.info->getObject(*ref.object));
            if (!list) Fail("string list property " + path + " not found");
            list->Clear();
            for (const auto& item : value.items) list->Add(item);
            return;
        }
        PropertyRef ref = FindPropertyPath(component, propPath);
        if (!ref) Fail("property " + component.ClassName() + "." + path + " not found");
        const PropInfo& info = *ref.info;
        try {
            switch (info.kind) {
                case PropKind::Event: {
                    if (value.kind != Value::Ident) Fail("method name expected for " + path);
                    std::any handler = MethodAddress(root_, value.text);
                    if (!handler.has_value()) Fail("method " + value.text + " not found");
                    SetEventProp(*ref.object, info.name, handler);
                    return;
                }
                case PropKind::Object:
                    if (value.kind != Value::Ident || !info.setObject) Fail("component name expected for " + path);
                    fixups_.push_back(Fixup{ref.object, info.name, value.text, line_});
                    return;
                case PropKind::Set: {
                    if (value.kind != Value::Set) Fail("set expected for " + path);
                    std::string s = "[";
                    for (size_t i = 0; i < value.items.size(); ++i) s += (i ? "," : "") + value.items[i];
                    SetPropValue(*ref.object, info.name, Variant(s + "]"));
                    return;
                }
                case PropKind::Integer:
                    if (value.kind == Value::Ident) {
                        SetPropValue(*ref.object, info.name, Variant(static_cast<int>(StringToColor(value.text.c_str()))));
                        return;
                    }
                    break;
                default: break;
            }
            switch (value.kind) {
                case Value::Integer:
                    SetPropValue(*ref.object, info.name, Variant(static_cast<int>(value.integer)));
                    break;
                case Value::Float: SetPropValue(*ref.object, info.name, Variant(value.number)); break;
                case Value::String: case Value::Ident:
                    SetPropValue(*ref.object, info.name, Variant(value.text));
                    break;
                default: Fail("unexpected value for " + path);
            }
        } catch (const Exception& e) {
            std::string msg = e.what();
            if (msg.rfind("Form resource error", 0) == 0) throw;
            Fail(msg);
        }
    }

    void ApplyFixup(const Fixup& f) {
        TComponent* target = SameText(f.target, root_.Name()) ? &root_ : root_.FindComponent(f.target);
        if (!target) {
            line_ = f.line;
            Fail("component " + f.target + " not found");
        }
        const PropInfo* info = f.object->Class().FindProperty(f.property);
        info->setObject(*f.object, target);
    }

    TComponent& root_;
    const std::string& text_;
    size_t pos_ = 0;
    int line_ = 1;
    std::vector<Fixup> fixups_;
    std::vector<TComponent*> loading_;  // in creation order; Loaded() runs in that order
};

}  // namespace

void RegisterFormResource(const std::string& className, std::string text) {
    std::lock_guard lock(ResourceMutex());
    Resources()[Lower(className)] = std::move(text);
}

const std::string* FindFormResource(const std::string& className) {
    std::lock_guard lock(ResourceMutex());
    auto it = Resources().find(Lower(className));
    return it == Resources().end() ? nullptr : &it->second;
}

void ReadComponentResource(TComponent& root, const std::string& text) { Reader(root, text).Run(); }

void ReadFormResources(TCustomForm& form) {
    std::vector<const ClassInfo*> chain;
    for (const ClassInfo* c = &form.Class(); c && c->name != "TForm" && c->name != "TCustomForm"; c = c->parent)
        chain.insert(chain.begin(), c);
    for (const ClassInfo* c : chain)
        if (const std::string* text = FindFormResource(c->name)) ReadComponentResource(form, *text);
    for (const ClassInfo* c : chain)
        for (const auto& field : c->fields) field.bind(form, form.FindComponent(field.name));
}

}  // namespace vel
