#pragma once
// TDLLRPCtrller: the report-program controller. It creates the registered condition form,
// hooks its show, hide and destroy events and keeps the form's outcome for the host.
#include "forms/base_gene.h"
#include "module/include/dll_controller.h"

// Class references the library registers at load time; empty until then.
using ControllerClass = TDLLBaseController* (*)();
extern ControllerClass DLLControllerClass;
extern const vel::ClassInfo* frmBaseGeneClass;

class TDLLRPCtrller : public TDLLBaseController {
public:
    vel::TfrmBaseGene* Form = nullptr;
    vel::TNotifyEvent SavedOnShow;
    vel::TNotifyEvent SavedOnHide;
    vel::TNotifyEvent SavedOnDestroy;

    void GetVersionStamp(std::u16string& stamp) override;
    int32_t GetVisible() override;
    void SetVisible(int16_t visible) override;
    int32_t GetHandle() override;
    int32_t Initialize(const vel::Variant& params) override;
    int32_t PushConditions(const vel::Variant& payload) override;
    int32_t HostCommand(int32_t code, int32_t unused, const vel::Variant& payload) override;
    vel::Variant ShowModal() override;
    void FreeForm() override;
    int32_t GetInfo(vel::Variant& info) override;
    bool FormIsNil() override;
    void FormShowHook(vel::TComponent* sender) override;
    void FormHideHook(vel::TComponent* sender) override;
    void FormDestroyHook(vel::TComponent* sender) override;

    ~TDLLRPCtrller() override;

protected:
    // The library's own file name (at most 260 characters).
    virtual std::string LibraryFileName() const;
};

// The texts of the internal errors raised when a class reference is missing.
std::string NotAssignedError(const char* variable);
