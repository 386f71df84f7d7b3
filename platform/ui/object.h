#pragma once
// Run-time type information of the UI layer: classes with ancestry, published properties
// by name and published methods by name, as the form toolkit offers them.
#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/core/exception.h"
#include "platform/variant/variant.h"

namespace vel {

class TPersistent;
class TComponent;
class TObject;

// An event handler with an identity: the method's name and the object it is bound to.
// Two handlers are the same when both agree, so handlers can be saved, compared and
// restored by name.
template <class... Args>
struct Handler {
    std::string name;
    const void* target = nullptr;
    std::function<void(Args...)> fn;

    Handler() = default;
    Handler(std::string methodName, const void* boundTo, std::function<void(Args...)> body)
        : name(std::move(methodName)), target(boundTo), fn(std::move(body)) {}

    explicit operator bool() const { return static_cast<bool>(fn); }
    void operator()(Args... args) const {
        if (fn) fn(args...);
    }
    bool operator==(const Handler& other) const {
        return name == other.name && target == other.target && static_cast<bool>(fn) == static_cast<bool>(other.fn);
    }
};

enum class PropKind { Integer, Char, Enumeration, Set, Float, String, StringList, Object, Event };

struct PropInfo {
    std::string name;
    PropKind kind = PropKind::Integer;
    std::vector<std::string> valueNames;             // enumeration values, set elements
    std::type_index eventType = typeid(void);        // handler type of an event property
    bool readOnly = false;
    std::function<Variant(TPersistent&)> get;        // scalar kinds (enumerations and sets as ordinals)
    std::function<void(TPersistent&, const Variant&)> set;
    std::function<TPersistent*(TPersistent&)> getObject;         // Object and StringList
    std::function<void(TPersistent&, TPersistent*)> setObject;   // Object references (may be null)
    std::function<std::any(TPersistent&)> getEvent;
    std::function<void(TPersistent&, const std::any&)> setEvent;
};

// A published method: binds to an instance and yields a handler (as std::any of Handler<...>).
struct MethodInfo {
    std::string name;
    std::type_index eventType = typeid(void);
    std::function<std::any(TPersistent&)> bind;
};

// A published field: a component reference the resource reader fills by name.
struct FieldInfo {
    std::string name;
    std::function<void(TPersistent&, TComponent*)> bind;
};

struct ClassInfo {
    std::string name;
    std::vector<FieldInfo> fields;
    const ClassInfo* parent = nullptr;
    std::vector<PropInfo> properties;
    std::vector<MethodInfo> methods;
    // Creates a component of the class with an owner (null for classes that are not components).
    std::function<TComponent*(TComponent* owner)> create;

    bool InheritsFrom(const ClassInfo& other) const;
    bool InheritsFrom(const std::string& className) const;
    const PropInfo* FindProperty(const std::string& propName) const;  // own or inherited, no case
    const MethodInfo* FindMethod(const std::string& methodName) const;
};

// Registry of classes by name, for form resources and "find class".
VEL_API void RegisterClass(const ClassInfo& info);
VEL_API const ClassInfo* FindClass(const std::string& name);

// The root of everything that has published properties.
class VEL_API TPersistent {
public:
    virtual ~TPersistent() = default;
    static ClassInfo& StaticClass();
    virtual const ClassInfo& Class() const { return StaticClass(); }
    std::string ClassName() const { return Class().name; }
    bool InheritsFrom(const std::string& className) const { return Class().InheritsFrom(className); }
};

// Declares the class information of a UI class; the class body defines
// `static void DefineClass(ClassInfo&)` in its .cpp through VEL_DEFINE_CLASS.
#define VEL_CLASS(Self, Parent)                                        \
public:                                                                \
    using Inherited = Parent;                                          \
    static ::vel::ClassInfo& StaticClass();                            \
    const ::vel::ClassInfo& Class() const override { return StaticClass(); } \
private:

// Defines StaticClass for a component class that can be created with an owner.
#define VEL_DEFINE_COMPONENT(Self, Body)                                \
    ::vel::ClassInfo& Self::StaticClass() {                             \
        static ::vel::ClassInfo* info = [] {                            \
            auto* ci = new ::vel::ClassInfo;                            \
            ci->name = #Self;                                           \
            ci->parent = &Inherited::StaticClass();                     \
            ci->create = [](::vel::TComponent* owner) -> ::vel::TComponent* { return new Self(owner); }; \
            ::vel::PropBuilder<Self> b(*ci);                            \
            Body;                                                       \
            ::vel::RegisterClass(*ci);                                  \
            return ci;                                                  \
        }();                                                            \
        return *info;                                                   \
    }                                                                   \
    static const ::vel::ClassInfo& vel_registered_##Self [[maybe_unused]] = Self::StaticClass();

// Defines StaticClass for a persistent class (not created by the resource reader).
#define VEL_DEFINE_PERSISTENT(Self, Body)                               \
    ::vel::ClassInfo& Self::StaticClass() {                             \
        static ::vel::ClassInfo* info = [] {                            \
            auto* ci = new ::vel::ClassInfo;                            \
            ci->name = #Self;                                           \
            ci->parent = &Inherited::StaticClass();                     \
            ::vel::PropBuilder<Self> b(*ci);                            \
            Body;                                                       \
            ::vel::RegisterClass(*ci);                                  \
            return ci;                                                  \
        }();                                                            \
        return *info;                                                   \
    }                                                                   \
    static const ::vel::ClassInfo& vel_registered_##Self [[maybe_unused]] = Self::StaticClass();

// Fluent registration of published properties and methods for class T.
template <class T>
class PropBuilder {
public:
    explicit PropBuilder(ClassInfo& info) : info_(info) {}

    PropBuilder& Int(const std::string& name, std::function<int(T&)> get, std::function<void(T&, int)> set = nullptr) {
        PropInfo p = Base(name, PropKind::Integer);
        p.get = [get](TPersistent& o) { return Variant(get(static_cast<T&>(o))); };
        if (set) p.set = [set](TPersistent& o, const Variant& v) { set(static_cast<T&>(o), v.ToInt()); };
        p.readOnly = !set;
        return Add(std::move(p));
    }
    PropBuilder& Bool(const std::string& name, std::function<bool(T&)> get, std::function<void(T&, bool)> set = nullptr) {
        PropInfo p = Base(name, PropKind::Enumeration);
        p.valueNames = {"False", "True"};
        p.get = [get](TPersistent& o) { return Variant(get(static_cast<T&>(o)) ? 1 : 0); };
        if (set) p.set = [set](TPersistent& o, const Variant& v) { set(static_cast<T&>(o), v.ToInt() != 0); };
        p.readOnly = !set;
        return Add(std::move(p));
    }
    PropBuilder& Char(const std::string& name, std::function<char(T&)> get, std::function<void(T&, char)> set = nullptr) {
        PropInfo p = Base(name, PropKind::Char);
        p.get = [get](TPersistent& o) { return Variant(std::string(1, get(static_cast<T&>(o)))); };
        if (set)
            p.set = [set](TPersistent& o, const Variant& v) {
                std::string s = v.ToString();
                set(static_cast<T&>(o), s.empty() ? '\0' : s[0]);
            };
        p.readOnly = !set;
        return Add(std::move(p));
    }
    PropBuilder& Float(const std::string& name, std::function<double(T&)> get, std::function<void(T&, double)> set = nullptr) {
        PropInfo p = Base(name, PropKind::Float);
        p.get = [get](TPersistent& o) { return Variant(get(static_cast<T&>(o))); };
        if (set) p.set = [set](TPersistent& o, const Variant& v) { set(static_cast<T&>(o), v.ToDouble()); };
        p.readOnly = !set;
        return Add(std::move(p));
    }
    PropBuilder& Str(const std::string& name, std::function<std::string(T&)> get,
                     std::function<void(T&, const std::string&)> set = nullptr) {
        PropInfo p = Base(name, PropKind::String);
        p.get = [get](TPersistent& o) { return Variant(get(static_cast<T&>(o))); };
        if (set) p.set = [set](TPersistent& o, const Variant& v) { set(static_cast<T&>(o), v.ToString()); };
        p.readOnly = !set;
        return Add(std::move(p));
    }
    PropBuilder& Enum(const std::string& name, std::vector<std::string> values, std::function<int(T&)> get,
                      std::function<void(T&, int)> set = nullptr) {
        PropInfo p = Base(name, PropKind::Enumeration);
        p.valueNames = std::move(values);
        p.get = [get](TPersistent& o) { return Variant(get(static_cast<T&>(o))); };
        if (set) p.set = [set](TPersistent& o, const Variant& v) { set(static_cast<T&>(o), v.ToInt()); };
        p.readOnly = !set;
        return Add(std::move(p));
    }
    // A set is held as a bit mask over its element names.
    PropBuilder& Set(const std::string& name, std::vector<std::string> elements, std::function<int(T&)> get,
                     std::function<void(T&, int)> set = nullptr) {
        PropInfo p = Base(name, PropKind::Set);
        p.valueNames = std::move(elements);
        p.get = [get](TPersistent& o) { return Variant(get(static_cast<T&>(o))); };
        if (set) p.set = [set](TPersistent& o, const Variant& v) { set(static_cast<T&>(o), v.ToInt()); };
        p.readOnly = !set;
        return Add(std::move(p));
    }
    // An owned sub-object (Font, Glyph) or a reference (FocusControl) when `set` is given.
    PropBuilder& Obj(const std::string& name, std::function<TPersistent*(T&)> get,
                     std::function<void(T&, TPersistent*)> set = nullptr) {
        PropInfo p = Base(name, PropKind::Object);
        p.getObject = [get](TPersistent& o) { return get(static_cast<T&>(o)); };
        if (set) p.setObject = [set](TPersistent& o, TPersistent* v) { set(static_cast<T&>(o), v); };
        return Add(std::move(p));
    }
    PropBuilder& Strings(const std::string& name, std::function<TPersistent*(T&)> get) {
        PropInfo p = Base(name, PropKind::StringList);
        p.getObject = [get](TPersistent& o) { return get(static_cast<T&>(o)); };
        return Add(std::move(p));
    }
    template <class H>
    PropBuilder& Event(const std::string& name, H T::*member, bool readOnly = false) {
        PropInfo p = Base(name, PropKind::Event);
        p.eventType = typeid(H);
        p.readOnly = readOnly;
        p.getEvent = [member](TPersistent& o) { return std::any(static_cast<T&>(o).*member); };
        if (!readOnly)
            p.setEvent = [member](TPersistent& o, const std::any& v) {
                static_cast<T&>(o).*member = v.has_value() ? std::any_cast<H>(v) : H();
            };
        return Add(std::move(p));
    }
    // A read-only event property whose value is computed (a form's own handler).
    template <class H>
    PropBuilder& EventGetter(const std::string& name, std::function<H(T&)> get) {
        PropInfo p = Base(name, PropKind::Event);
        p.eventType = typeid(H);
        p.readOnly = true;
        p.getEvent = [get](TPersistent& o) { return std::any(get(static_cast<T&>(o))); };
        return Add(std::move(p));
    }
    // A published field bound by name to the component the form resource creates.
    template <class C>
    PropBuilder& Field(const std::string& name, C* T::*member) {
        info_.fields.push_back(FieldInfo{name, [member](TPersistent& o, TComponent* c) {
            static_cast<T&>(o).*member = dynamic_cast<C*>(c);
        }});
        return *this;
    }
    // A published method usable as a handler of type H = Handler<Args...>.
    template <class H, class... Args>
    PropBuilder& Method(const std::string& name, void (T::*fn)(Args...)) {
        MethodInfo m;
        m.name = name;
        m.eventType = typeid(H);
        m.bind = [name, fn](TPersistent& o) {
            T* self = &static_cast<T&>(o);
            return std::any(H(name, self, [self, fn](Args... args) { (self->*fn)(args...); }));
        };
        info_.methods.push_back(std::move(m));
        return *this;
    }

private:
    PropInfo Base(const std::string& name, PropKind kind) {
        PropInfo p;
        p.name = name;
        p.kind = kind;
        return p;
    }
    PropBuilder& Add(PropInfo p) {
        for (auto& existing : info_.properties)
            if (existing.name == p.name) {
                existing = std::move(p);
                return *this;
            }
        info_.properties.push_back(std::move(p));
        return *this;
    }
    ClassInfo& info_;
};

// Property access by name. A path such as "Font.Name" walks object properties.
// Missing properties raise vel::Exception unless stated otherwise.
struct PropertyRef {
    TPersistent* object = nullptr;
    const PropInfo* info = nullptr;
    explicit operator bool() const { return object && info; }
};
VEL_API PropertyRef FindPropertyPath(TPersistent& object, const std::string& path);  // empty when missing
VEL_API bool IsPublishedProp(TPersistent& object, const std::string& path);
VEL_API Variant GetPropValue(TPersistent& object, const std::string& path);
// Enumerations accept a value name or an ordinal; sets accept "[a,b]" or a mask; strings any text.
VEL_API void SetPropValue(TPersistent& object, const std::string& path, const Variant& value);
// Text of a property as a form resource would write it (enumeration names, "[a,b]" sets).
VEL_API std::string GetPropText(TPersistent& object, const std::string& path);
VEL_API TPersistent* GetObjectProp(TPersistent& object, const std::string& path);
VEL_API std::any GetEventProp(TPersistent& object, const std::string& path);
VEL_API void SetEventProp(TPersistent& object, const std::string& path, const std::any& handler);
// A published method of the object bound to it, as a handler; empty when missing.
VEL_API std::any MethodAddress(TPersistent& object, const std::string& methodName);

}  // namespace vel
