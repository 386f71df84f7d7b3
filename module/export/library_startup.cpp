// The library's start-up block: after every unit has initialised, the concrete form class
// of this program is registered.
#include "forms/programs/frm_qmlk07.h"
#include "module/dll_rp_ctrller.h"

__attribute__((constructor(300))) static void RegisterProgramForm() {
    frmBaseGeneClass = &vel::TfrmQMLK07::StaticClass();
}
