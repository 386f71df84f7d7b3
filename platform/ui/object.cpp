#include "platform/ui/object.h"

#include <mutex>
#include <strings.h>

#include "platform/system/inifile.h"

namespace vel {
namespace {

struct ClassTable {
    std::mutex mutex;
    std::map<std::string, const ClassInfo*> byLowerName;
};

ClassTable& Table() {
    static ClassTable table;
    return table;
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int OrdinalOf(const PropInfo& info, const std::string& name) {
    for (size_t i = 0; i < info.valueNames.size(); ++i)
        if (SameText(info.valueNames[i], name)) return static_cast<int>(i);
    return -1;
}

int ParseSet(const PropInfo& info, const std::string& text) {
    std::string t = TrimText(text);
    if (!t.empty() && t.front() == '[') t.erase(0, 1);
    if (!t.empty() && t.back() == ']') t.pop_back();
    int mask = 0;
    size_t start = 0;
    while (start <= t.size()) {
        size_t comma = t.find(',', start);
        std::string item = TrimText(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!item.empty()) {
            int ord = OrdinalOf(info, item);
            if (ord < 0) throw Exception("Invalid property element: " + item);
            mask |= 1 << ord;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return mask;
}

}  // namespace

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        if (c == &other) return true;
    return false;
}

bool ClassInfo::InheritsFrom(const std::string& className) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        if (SameText(c->name, className)) return true;
    return false;
}

const PropInfo* ClassInfo::FindProperty(const std::string& propName) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        for (const auto& p : c->properties)
            if (SameText(p.name, propName)) return &p;
    return nullptr;
}

const MethodInfo* ClassInfo::FindMethod(const std::string& methodName) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        for (const auto& m : c->methods)
            if (SameText(m.name, methodName)) return &m;
    return nullptr;
}

void RegisterClass(const ClassInfo& info) {
    auto& t = Table();
    std::lock_guard lock(t.mutex);
    t.byLowerName[Lower(info.name)] = &info;
}

const ClassInfo* FindClass(const std::string& name) {
    auto& t = Table();
    std::lock_guard lock(t.mutex);
    auto it = t.byLowerName.find(Lower(name));
    return it == t.byLowerName.end() ? nullptr : it->second;
}

ClassInfo& TPersistent::StaticClass() {
    static ClassInfo* info = [] {
        auto* ci = new ClassInfo;
        ci->name = "TPersistent";
        RegisterClass(*ci);
        return ci;
    }();
    return *info;
}

PropertyRef FindPropertyPath(TPersistent& object, const std::string& path) {
    TPersistent* current = &object;
    size_t start = 0;
    while (true) {
        size_t dot = path.find('.', start);
        std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const PropInfo* info = current->Class().FindProperty(part);
        if (!info) return {};
        if (dot == std::string::npos) return PropertyRef{current, info};
        if (info->kind != PropKind::Object || !info->getObject) return {};
        current = info->getObject(*current);
        if (!current) return {};
        start = dot + 1;
    }
}

bool IsPublishedProp(TPersistent& object, const std::string& path) {
    return static_cast<bool>(FindPropertyPath(object, path));
}

static PropertyRef Require(TPersistent& object, const std::string& path) {
    PropertyRef ref = FindPropertyPath(object, path);
    if (!ref) throw Exception("Property " + path + " does not exist");
    return ref;
}

Variant GetPropValue(TPersistent& object, const std::string& path) {
    PropertyRef ref = Require(object, path);
    const PropInfo& p = *ref.info;
    switch (p.kind) {
        case PropKind::Object: case PropKind::StringList: case PropKind::Event:
            throw Exception("Property " + path + " has no simple value");
        default: return p.get(*ref.object);
    }
}

void SetPropValue(TPersistent& object, const std::string& path, const Variant& value) {
    PropertyRef ref = Require(object, path);
    const PropInfo& p = *ref.info;
    if (p.readOnly || (!p.set && p.kind != PropKind::StringList)) throw Exception("Property " + path + " is read-only");
    switch (p.kind) {
        case PropKind::Enumeration: {
            if (value.IsText()) {
                int ord = OrdinalOf(p, value.ToString());
                if (ord < 0) {
                    double d;
                    try { d = value.ToDouble(); } catch (const Exception&) {
                        throw Exception("Invalid property value " + value.ToString() + " for " + path);
                    }
                    ord = static_cast<int>(d);
                }
                p.set(*ref.object, Variant(ord));
            } else {
                p.set(*ref.object, Variant(value.ToInt() == -1 && p.valueNames.size() == 2 ? 1 : value.ToInt()));
            }
            return;
        }
        case PropKind::Set:
            p.set(*ref.object, Variant(value.IsText() ? ParseSet(p, value.ToString()) : value.ToInt()));
            return;
        case PropKind::Object: case PropKind::StringList: case PropKind::Event:
            throw Exception("Property " + path + " has no simple value");
        default: p.set(*ref.object, value);
    }
}

std::string GetPropText(TPersistent& object, const std::string& path) {
    PropertyRef ref = Require(object, path);
    const PropInfo& p = *ref.info;
    if (p.kind == PropKind::Enumeration) {
        int ord = p.get(*ref.object).ToInt();
        return ord >= 0 && ord < static_cast<int>(p.valueNames.size()) ? p.valueNames[ord] : std::to_string(ord);
    }
    if (p.kind == PropKind::Set) {
        int mask = p.get(*ref.object).ToInt();
        std::string s = "[";
        for (size_t i = 0; i < p.valueNames.size(); ++i)
            if (mask & (1 << i)) {
                if (s.size() > 1) s += ",";
                s += p.valueNames[i];
            }
        return s + "]";
    }
    return GetPropValue(object, path).ToString();
}

TPersistent* GetObjectProp(TPersistent& object, const std::string& path) {
    PropertyRef ref = Require(object, path);
    if (!ref.info->getObject) throw Exception("Property " + path + " is not an object");
    return ref.info->getObject(*ref.object);
}

std::any GetEventProp(TPersistent& object, const std::string& path) {
    PropertyRef ref = Require(object, path);
    if (ref.info->kind != PropKind::Event) throw Exception("Property " + path + " is not an event");
    return ref.info->getEvent(*ref.object);
}

void SetEventProp(TPersistent& object, const std::string& path, const std::any& handler) {
    PropertyRef ref = Require(object, path);
    if (ref.info->kind != PropKind::Event) throw Exception("Property " + path + " is not an event");
    if (!ref.info->setEvent) throw Exception("Property " + path + " is read-only");
    if (handler.has_value() && std::type_index(handler.type()) != ref.info->eventType)
        throw Exception("Handler type does not match event " + path);
    ref.info->setEvent(*ref.object, handler);
}

std::any MethodAddress(TPersistent& object, const std::string& methodName) {
    const MethodInfo* m = object.Class().FindMethod(methodName);
    return m ? m->bind(object) : std::any();
}

}  // namespace vel
