#pragma once
// Loads a report module by file, as the shell does, and reaches its controller only
// through the public controller header.
#include <memory>
#include <string>

#include "module/include/dll_controller.h"

namespace velhost {

class LoadedModule {
public:
    // Raises vel::Exception when the file cannot be loaded or lacks GetController.
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    TDLLBaseController* NewController() const { return getController_(); }

private:
    void* handle_ = nullptr;
    GetControllerFn getController_ = nullptr;
};

}  // namespace velhost
