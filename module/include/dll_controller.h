#pragma once
// The contract between a host shell and a report module: the controller that the module's
// only export, GetController, hands out. The host drives the form through these virtual
// operations, whose order is fixed, and learns what happens through notification codes.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/exception.h"
#include "platform/variant/variant.h"

namespace vel {
class TComponent;
}

// Notification codes sent through OnNotify.
enum : int32_t {
    ncFormCreated = 256,
    ncFormShown = 272,
    ncFormHidden = 288,
    ncFormDestroyed = 304,
    ncExtra = 320,
};

class TDLLBaseController;
using TControllerNotifyEvent = std::function<void(int32_t code, TDLLBaseController* sender)>;

class TDLLBaseController {
public:
    // Fields, in declaration order.
    vel::Variant HostApp;
    int32_t ResultCode = 0;
    vel::Variant ResultData;
    TControllerNotifyEvent OnNotify;

    // Virtual operations in slot order. The first eleven are abstract here. The bodies are
    // inline so that a host has the class's type information without linking the module.
    virtual void GetVersionStamp(std::u16string&) { throw vel::AbstractError(); }
    virtual int32_t GetVisible() { throw vel::AbstractError(); }
    virtual void SetVisible(int16_t) { throw vel::AbstractError(); }
    virtual int32_t GetHandle() { throw vel::AbstractError(); }
    virtual int32_t Initialize(const vel::Variant&) { throw vel::AbstractError(); }
    virtual int32_t PushConditions(const vel::Variant&) { throw vel::AbstractError(); }
    virtual int32_t HostCommand(int32_t, int32_t, const vel::Variant&) { throw vel::AbstractError(); }
    virtual vel::Variant ShowModal() { throw vel::AbstractError(); }
    virtual void FreeForm() { throw vel::AbstractError(); }
    virtual int32_t GetInfo(vel::Variant&) { throw vel::AbstractError(); }
    virtual bool FormIsNil() { throw vel::AbstractError(); }
    virtual void NotifyCreated() { DoNotify(ncFormCreated); }
    virtual void FormShowHook(vel::TComponent*) { DoNotify(ncFormShown); }
    virtual void FormHideHook(vel::TComponent*) { DoNotify(ncFormHidden); }
    virtual void FormDestroyHook(vel::TComponent*) { DoNotify(ncFormDestroyed); }
    virtual void NotifyExtra() { DoNotify(ncExtra); }
    virtual void DoNotify(int32_t code) {
        if (OnNotify) OnNotify(code, this);
    }
    virtual void Spare() {}

    virtual ~TDLLBaseController() = default;
};

// The module's only export: a new controller of the registered controller class.
extern "C" TDLLBaseController* GetController();
using GetControllerFn = TDLLBaseController* (*)();
