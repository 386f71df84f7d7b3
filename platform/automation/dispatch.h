#pragma once
// Late-bound automation: objects answer calls by name. Arguments are passed by reference,
// so a callee writes by-reference results back into the caller's vector.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/variant/variant.h"

namespace vel {

enum class InvokeKind { Method, PropertyGet, PropertyPut };

class VEL_API IDispatch {
public:
    virtual ~IDispatch() = default;
    // Raises vel::OleException with the callee's message on failure.
    virtual Variant Invoke(const std::string& name, InvokeKind kind, std::vector<Variant>& args) = 0;
};

// A dispatch object whose members are registered handlers; names compare without case,
// as automation names do.
class VEL_API DispatchObject : public IDispatch {
public:
    using Method = std::function<Variant(std::vector<Variant>& args)>;

    Variant Invoke(const std::string& name, InvokeKind kind, std::vector<Variant>& args) override;

protected:
    void AddMethod(const std::string& name, Method method);
    void AddProperty(const std::string& name, std::function<Variant()> getter,
                     std::function<void(const Variant&)> setter = nullptr);
    virtual std::string ClassName() const { return "DispatchObject"; }

private:
    struct Property {
        std::function<Variant()> getter;
        std::function<void(const Variant&)> setter;
    };
    std::map<std::string, Method> methods_;
    std::map<std::string, Property> properties_;
};

// The class registry: CreateOleObject(progId) finds an in-process factory first, then a
// plug-in shared object named in the registry store under [HKEY_CLASSES_ROOT\<ProgID>],
// value "Library". A plug-in exports VelCreateObject (see below).
using ObjectFactory = std::function<DispatchPtr()>;
VEL_API void RegisterClassFactory(const std::string& progId, ObjectFactory factory);
VEL_API void UnregisterClassFactory(const std::string& progId);
VEL_API Variant CreateOleObject(const std::string& progId);

// Signature of the function a plug-in library exports under the name "VelCreateObject".
// It fills *out with a new object of the class, or leaves it empty for an unknown class.
using PluginCreateFn = void (*)(const char* progId, DispatchPtr* out);

}  // namespace vel
