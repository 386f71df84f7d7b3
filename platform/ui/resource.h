#pragma once
// Form resources: each form class's components and settings as declarative text compiled
// into the library. The reader creates components by class name and sets published
// properties by name in file order, as a form file does:
//
//   object frmSample: TfrmSample
//     Caption = '示例'
//     Font.Height = -13
//     OnCreate = FormCreate
//     object btnOk: TBitBtn
//       Left = 8
//       Anchors = [akLeft, akBottom]
//       Items.Strings = ('a' 'b')
//     end
//   end
//
// A derived form's resource starts with "inherited" and may reach components made by its
// ancestors with "inherited NAME: TClass". Texts are authored in UTF-8 and stored in the
// form's authoring code page (936).
#include <string>

#include "platform/ui/component.h"

namespace vel {

class TCustomForm;

// Registers the resource of a class; registering again replaces it.
VEL_API void RegisterFormResource(const std::string& className, std::string text);
VEL_API const std::string* FindFormResource(const std::string& className);

// Applies one resource text to `root` (its components are owned by root).
VEL_API void ReadComponentResource(TComponent& root, const std::string& text);
// Applies the resources of the form's class chain, most general class first, then binds
// the published fields of every class in the chain by component name.
VEL_API void ReadFormResources(TCustomForm& form);

// Registers a resource at load time: static FormResource r("TfrmX", R"(...)");
struct VEL_API FormResource {
    FormResource(const char* className, const char* text) { RegisterFormResource(className, text); }
};

}  // namespace vel
