// The library's only export.
#include "module/dll_rp_ctrller.h"

extern "C" __attribute__((visibility("default"))) TDLLBaseController* GetController() {
    if (!DLLControllerClass) throw vel::Exception(NotAssignedError("DLLControllerClass"));
    return DLLControllerClass();
}
