#include "module/include/dll_controller.h"

#include "platform/core/exception.h"

using vel::AbstractError;

void TDLLBaseController::GetVersionStamp(std::u16string&) { throw AbstractError(); }
int32_t TDLLBaseController::GetVisible() { throw AbstractError(); }
void TDLLBaseController::SetVisible(int16_t) { throw AbstractError(); }
int32_t TDLLBaseController::GetHandle() { throw AbstractError(); }
int32_t TDLLBaseController::Initialize(const vel::Variant&) { throw AbstractError(); }
int32_t TDLLBaseController::PushConditions(const vel::Variant&) { throw AbstractError(); }
int32_t TDLLBaseController::HostCommand(int32_t, int32_t, const vel::Variant&) { throw AbstractError(); }
vel::Variant TDLLBaseController::ShowModal() { throw AbstractError(); }
void TDLLBaseController::FreeForm() { throw AbstractError(); }
int32_t TDLLBaseController::GetInfo(vel::Variant&) { throw AbstractError(); }
bool TDLLBaseController::FormIsNil() { throw AbstractError(); }

void TDLLBaseController::NotifyCreated() { DoNotify(ncFormCreated); }
void TDLLBaseController::FormShowHook(vel::TComponent*) { DoNotify(ncFormShown); }
void TDLLBaseController::FormHideHook(vel::TComponent*) { DoNotify(ncFormHidden); }
void TDLLBaseController::FormDestroyHook(vel::TComponent*) { DoNotify(ncFormDestroyed); }
void TDLLBaseController::NotifyExtra() { DoNotify(ncExtra); }

void TDLLBaseController::DoNotify(int32_t code) {
    if (OnNotify) OnNotify(code, this);
}

void TDLLBaseController::Spare() {}

TDLLBaseController::~TDLLBaseController() = default;
