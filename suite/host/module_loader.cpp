#include "suite/host/module_loader.h"

#include <dlfcn.h>

#include "platform/core/exception.h"

namespace velhost {

LoadedModule::LoadedModule(const std::string& path) {
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* err = ::dlerror();
        throw vel::Exception(std::string("cannot load module: ") + (err ? err : path));
    }
    getController_ = reinterpret_cast<GetControllerFn>(::dlsym(handle_, "GetController"));
    if (!getController_) {
        ::dlclose(handle_);
        throw vel::Exception(path + " does not export GetController");
    }
}

// The module stays mapped: objects it created (forms in the queue, registered classes)
// may outlive the controller until the process ends.
LoadedModule::~LoadedModule() = default;

}  // namespace velhost
