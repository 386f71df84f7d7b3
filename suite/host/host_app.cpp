#include "suite/host/host_app.h"

#include <ostream>

#include "platform/text/codepage.h"
#include "platform/text/json.h"
#include "suite/common/message_catalog.h"
#include "suite/host/lookup_window.h"
#include "suite/host/simple_sql.h"

namespace velhost {
namespace {

class HostService : public vel::DispatchObject {
public:
    explicit HostService(std::string name) : name_(std::move(name)) {}
    using vel::DispatchObject::AddMethod;

protected:
    std::string ClassName() const override { return name_; }

private:
    std::string name_;
};

ServerLink& Linked(const std::shared_ptr<ServerLink>& link) {
    if (!link) throw vel::OleException("The host has no application server");
    return *link;
}

vel::Variant Arg(std::vector<vel::Variant>& args, size_t i) { return i < args.size() ? args[i] : vel::Variant(); }

std::shared_ptr<HostService> MakeCounter(std::shared_ptr<ServerLink> link) {
    auto service = std::make_shared<HostService>("Counter");
    service->AddMethod("GetSysInfo", [link](std::vector<vel::Variant>& args) {
        return Linked(link).Call("GetSysInfo", {Arg(args, 0)});
    });
    // GetCounter(name, value, [company, db]): "SIMPLESQL" reads rows; any other name is a
    // numbering counter of the server.
    service->AddMethod("GetCounter", [link](std::vector<vel::Variant>& args) {
        std::string name = Arg(args, 0).ToString();
        if (name == "SIMPLESQL") return RunSimpleSql(Linked(link), Arg(args, 1));
        return Linked(link).Call("NextCounter", {vel::Variant(name)});
    });
    return service;
}

std::shared_ptr<HostService> MakeValidator(std::shared_ptr<ServerLink> link) {
    auto service = std::make_shared<HostService>("Validator");
    for (const char* operation : {"QueryData", "CheckValue"}) {
        std::string op = operation;
        service->AddMethod(op, [link, op](std::vector<vel::Variant>& args) {
            std::vector<vel::Variant> call{Arg(args, 0), Arg(args, 1), Arg(args, 2), Arg(args, 3), vel::Variant()};
            vel::Variant found = Linked(link).Call(op, call);
            if (args.size() > 4) args[4] = call[4];
            return found;
        });
    }
    return service;
}

std::shared_ptr<HostService> MakeLookupWindow(HostAnswers* answers, std::shared_ptr<ServerLink> link) {
    auto service = std::make_shared<HostService>("F2Window");
    service->AddMethod("F2GetData", [answers, link](std::vector<vel::Variant>& args) {
        return AnswerLookup(answers, link.get(), Arg(args, 0));
    });
    service->AddMethod("ShowInputDay", [answers](std::vector<vel::Variant>& args) {
        if (answers && answers->out) *answers->out << "lookup date " << vel::ToJson(Arg(args, 0)) << std::endl;
        return vel::Variant(answers ? answers->TakeDate() : std::string());
    });
    // GetPhrase(user, db, window): the user's phrases are offered; the person picks one text.
    service->AddMethod("GetPhrase", [answers, link](std::vector<vel::Variant>& args) {
        vel::Variant phrases = Linked(link).Call("GetPhrase", {Arg(args, 0)});
        if (answers && answers->out)
            *answers->out << "lookup phrase " << vel::ToJson(phrases) << std::endl;
        vel::Variant pick;
        if (!answers || !answers->TakePick(pick) || pick.IsArray()) return vel::Variant("");
        return pick;
    });
    return service;
}

}  // namespace

HostApplication::HostApplication(HostAnswers* answers, std::shared_ptr<ServerLink> link)
    : link_(std::move(link)),
      counter_(MakeCounter(link_)),
      validator_(MakeValidator(link_)),
      lookup_(MakeLookupWindow(answers, link_)) {
    // Message texts: the server's table first, the shipped catalog when the server is out of reach.
    AddMethod("GetMessage", [this](std::vector<vel::Variant>& args) {
        std::string type = Arg(args, 0).ToString(), id = Arg(args, 1).ToString();
        if (link_) {
            try {
                return link_->Call("GetMessageText", {vel::Variant(type), vel::Variant(id)});
            } catch (const std::exception&) {
            }
        }
        std::string text;
        if (!velsuite::FindBuiltInMessage(type, id, text)) throw vel::OleException("No message " + type + ";" + id);
        return vel::Variant(vel::Utf8ToCodePage(text, vel::kCodePageGB));
    });
    AddMethod("Com_Counter", [this](std::vector<vel::Variant>&) { return vel::Variant(counter_); });
    AddMethod("Com_Validator", [this](std::vector<vel::Variant>&) { return vel::Variant(validator_); });
    AddMethod("Com_F2Window", [this](std::vector<vel::Variant>&) { return vel::Variant(lookup_); });
    AddMethod("CallHelp", [answers](std::vector<vel::Variant>& args) {
        if (answers && answers->out) *answers->out << "help " << vel::ToJson(Arg(args, 0)) << std::endl;
        return vel::Variant();
    });
    AddMethod("GetFileList", [](std::vector<vel::Variant>&) { return vel::Variant(""); });
}

}  // namespace velhost
