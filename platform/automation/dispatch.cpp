#include "platform/automation/dispatch.h"

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/system/dynlib.h"
#include "platform/system/registry_store.h"

namespace vel {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

struct ClassRegistry {
    std::mutex mutex;
    std::map<std::string, ObjectFactory> factories;
};

ClassRegistry& Classes() {
    static ClassRegistry registry;
    return registry;
}

}  // namespace

Variant DispatchObject::Invoke(const std::string& name, InvokeKind kind, std::vector<Variant>& args) {
    std::string key = Lower(name);
    if (kind != InvokeKind::PropertyPut) {
        if (auto m = methods_.find(key); m != methods_.end()) return m->second(args);
    }
    if (auto p = properties_.find(key); p != properties_.end()) {
        if (kind == InvokeKind::PropertyPut) {
            if (!p->second.setter || args.empty()) throw OleException("Property " + name + " is read-only");
            p->second.setter(args[0]);
            return Variant();
        }
        return p->second.getter();
    }
    throw OleException("Method '" + name + "' not supported by automation object");
}

void DispatchObject::AddMethod(const std::string& name, Method method) { methods_[Lower(name)] = std::move(method); }

void DispatchObject::AddProperty(const std::string& name, std::function<Variant()> getter,
                                 std::function<void(const Variant&)> setter) {
    properties_[Lower(name)] = Property{std::move(getter), std::move(setter)};
}

void RegisterClassFactory(const std::string& progId, ObjectFactory factory) {
    auto& r = Classes();
    std::lock_guard lock(r.mutex);
    r.factories[Lower(progId)] = std::move(factory);
}

void UnregisterClassFactory(const std::string& progId) {
    auto& r = Classes();
    std::lock_guard lock(r.mutex);
    r.factories.erase(Lower(progId));
}

Variant CreateOleObject(const std::string& progId) {
    ObjectFactory factory;
    {
        auto& r = Classes();
        std::lock_guard lock(r.mutex);
        if (auto it = r.factories.find(Lower(progId)); it != r.factories.end()) factory = it->second;
    }
    if (factory) {
        DispatchPtr object = factory();
        if (!object) throw OleException("Class " + progId + " could not create an object");
        return Variant(object);
    }
    auto library = Registry().ReadValue(kClassesRoot, progId, "Library");
    if (!library || library->empty()) throw OleException("Invalid class string");
    LibraryHandle handle = LoadLibraryByName(*library, reinterpret_cast<const void*>(&CreateOleObject));
    if (!handle) throw OleException("Cannot load " + *library + ": " + LastLibraryError());
    auto create = reinterpret_cast<PluginCreateFn>(GetProcAddress(handle, "VelCreateObject"));
    if (!create) throw OleException(*library + " does not export VelCreateObject");
    // The plug-in stays loaded: its objects' code lives in it for the rest of the process.
    DispatchPtr object;
    create(progId.c_str(), &object);
    if (!object) throw OleException("Class " + progId + " is not provided by " + *library);
    return Variant(object);
}

}  // namespace vel
