#pragma once
// The contract between a host shell and a report module: the controller that the module's
// only export, GetController, hands out. The host drives the form through these virtual
// operations, whose order is fixed, and learns what happens through notification codes.
#include <cstdint>
#include <functional>
#include <string>

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

    // Virtual operations in slot order. The first eleven are abstract here.
    virtual void GetVersionStamp(std::u16string& stamp);
    virtual int32_t GetVisible();
    virtual void SetVisible(int16_t visible);
    virtual int32_t GetHandle();
    virtual int32_t Initialize(const vel::Variant& params);
    virtual int32_t PushConditions(const vel::Variant& payload);
    virtual int32_t HostCommand(int32_t code, int32_t unused, const vel::Variant& payload);
    virtual vel::Variant ShowModal();
    virtual void FreeForm();
    virtual int32_t GetInfo(vel::Variant& info);
    virtual bool FormIsNil();
    virtual void NotifyCreated();
    virtual void FormShowHook(vel::TComponent* sender);
    virtual void FormHideHook(vel::TComponent* sender);
    virtual void FormDestroyHook(vel::TComponent* sender);
    virtual void NotifyExtra();
    virtual void DoNotify(int32_t code);
    virtual void Spare();

    virtual ~TDLLBaseController();
};

// The module's only export: a new controller of the registered controller class.
extern "C" TDLLBaseController* GetController();
using GetControllerFn = TDLLBaseController* (*)();
