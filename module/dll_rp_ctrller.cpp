#include "module/dll_rp_ctrller.h"

#include "platform/system/dynlib.h"
#include "platform/text/codepage.h"

using vel::Variant;

ControllerClass DLLControllerClass = nullptr;
const vel::ClassInfo* frmBaseGeneClass = nullptr;

std::string NotAssignedError(const char* variable) {
    return std::string("Vel DLL Internal Error :\r") + "Not Assign \"" + variable + "\" varible";
}

// Unit initialisation: this controller class serves the library.
__attribute__((constructor(200))) static void RegisterControllerClass() {
    DLLControllerClass = [] { return static_cast<TDLLBaseController*>(new TDLLRPCtrller); };
}

void TDLLRPCtrller::GetVersionStamp(std::u16string& stamp) {
    if (Form) stamp = vel::CodePageToWide(Form->VersionStamp, vel::SystemCodePage());
}

int32_t TDLLRPCtrller::GetVisible() { return Form && Form->Visible() ? -1 : 0; }

void TDLLRPCtrller::SetVisible(int16_t visible) {
    if (!Form) return;
    if (visible != 0) {
        if (Form->WindowState() == vel::TWindowState::wsMinimized) Form->SetWindowState(vel::TWindowState::wsNormal);
        Form->Show();
    } else {
        Form->Hide();
    }
}

int32_t TDLLRPCtrller::GetHandle() { return Form ? Form->Handle() : 0; }

int32_t TDLLRPCtrller::Initialize(const Variant& params) {
    int32_t result = -1;
    const Variant copy = params;
    if (!Form) {
        if (!frmBaseGeneClass) throw vel::Exception(NotAssignedError("frmBaseGeneClass"));
        vel::TComponent* created = frmBaseGeneClass->create(nullptr);
        Form = dynamic_cast<vel::TfrmBaseGene*>(created);
        if (!Form) {
            vel::FreeComponent(created);
            throw vel::Exception("The registered form class is not a condition form");
        }
        Form->SetModuleFile(LibraryFileName());
        Form->HostApp = HostApp;
        NotifyCreated();
    }
    SavedOnShow = Form->OnShow;
    SavedOnHide = Form->OnHide;
    SavedOnDestroy = Form->OnDestroy;
    Form->OnShow = vel::TNotifyEvent("FormShowHook", this, [this](vel::TComponent* s) { FormShowHook(s); });
    Form->OnHide = vel::TNotifyEvent("FormHideHook", this, [this](vel::TComponent* s) { FormHideHook(s); });
    Form->OnDestroy = vel::TNotifyEvent("FormDestroyHook", this, [this](vel::TComponent* s) { FormDestroyHook(s); });
    if (Form->InitializeForm(copy)) result = 0;
    return result;
}

std::string TDLLRPCtrller::LibraryFileName() const {
    std::string file = vel::ModuleFileName(reinterpret_cast<const void*>(&RegisterControllerClass));
    if (file.size() > 260) file.resize(260);
    return file;
}

int32_t TDLLRPCtrller::PushConditions(const Variant& payload) {
    int32_t result = -1;
    try {
        if (Form && !payload.IsNull() && payload.IsArray()) {
            Form->HostPush(Variant::Of({Variant(true), payload[payload.LowBound() + 1]}));
            result = 0;
        }
    } catch (...) {
    }
    return result;
}

int32_t TDLLRPCtrller::HostCommand(int32_t code, int32_t, const Variant& payload) {
    int32_t result = -1;
    try {
        if (Form && (code == 5 || code == 9)) {
            Form->HostPush(Variant::Of({Variant(false), payload}));
            result = 0;
        }
    } catch (...) {
    }
    return result;
}

Variant TDLLRPCtrller::ShowModal() {
    if (!Form) return Variant(vel::mrCancel);
    return Variant(Form->ShowModal());
}

void TDLLRPCtrller::FreeForm() {
    if (Form && !Form->Destroying()) vel::FreeComponent(Form);
}

int32_t TDLLRPCtrller::GetInfo(Variant& info) {
    if (!Form) return -1;
    Variant a = Variant::Array(0, 3);
    a[0] = Variant(Form->UserId);
    a[1] = Variant(Form->CompanyId);
    a[2] = Variant(Form->ProgramId);
    a[3] = Variant(Form->ProgramName);
    info = a;
    return 0;
}

bool TDLLRPCtrller::FormIsNil() { return Form == nullptr; }

void TDLLRPCtrller::FormShowHook(vel::TComponent* sender) {
    if (SavedOnShow) SavedOnShow(sender);
    TDLLBaseController::FormShowHook(sender);
}

void TDLLRPCtrller::FormHideHook(vel::TComponent* sender) {
    if (SavedOnHide) SavedOnHide(sender);
    TDLLBaseController::FormHideHook(sender);
}

void TDLLRPCtrller::FormDestroyHook(vel::TComponent* sender) {
    if (Form) {
        ResultCode = Form->ResultCode;
        ResultData = Form->ResultData;
        if (SavedOnDestroy) SavedOnDestroy(sender);
        TDLLBaseController::FormDestroyHook(sender);
    }
    Form = nullptr;
}

TDLLRPCtrller::~TDLLRPCtrller() {
    if (Form) FreeForm();
}
