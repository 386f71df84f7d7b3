#pragma once
// A host application object whose message texts are their own codes followed by three "%s"
// places, so a dialog reads "W;000003;8;4;" and a test sees which message it was and its
// arguments. Three keep a text that is itself an argument of another message within the
// ten arguments a message takes.
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/dispatch.h"

namespace veltest {

class EchoHost : public vel::DispatchObject {
public:
    EchoHost() {
        AddMethod("GetMessage", [](std::vector<vel::Variant>& args) {
            std::string text = args.at(0).ToString() + ";" + args.at(1).ToString();
            for (int i = 0; i < 3; ++i) text += ";%s";
            return vel::Variant(text);
        });
    }
};

inline vel::Variant EchoMessageHost() { return vel::Variant(vel::DispatchPtr(std::make_shared<EchoHost>())); }

}  // namespace veltest
