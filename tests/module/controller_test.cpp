#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "module/dll_rp_ctrller.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"
#include "tests/support/client_install.h"
#include "tests/support/echo_host.h"

using vel::Variant;

namespace {

Variant HostParams(int count = 5) {
    Variant p = Variant::Array(0, count - 1);
    const char* values[] = {"DS", "DEMO", "DEMO"};
    for (int i = 0; i < count && i < 3; ++i) p[i] = Variant(values[i]);
    if (count > 3) p[3] = Variant(0);
    return p;
}

// In-process the running file is the test program; the controller is told the library's name.
class LibraryController : public TDLLRPCtrller {
protected:
    std::string LibraryFileName() const override { return "/opt/vel/QMLK07C.so"; }
};

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        vel::SetPresenter(&presenter);
        controller = std::make_unique<LibraryController>();
        controller->HostApp = veltest::EchoMessageHost();
        TDLLBaseController* self = controller.get();
        controller->OnNotify = [this, self](int32_t code, TDLLBaseController* sender) {
            codes.push_back(code);
            EXPECT_EQ(sender, self);
        };
    }
    void TearDown() override {
        delete controller.release();
        vel::Application().ProcessMessages();
        vel::SetPresenter(nullptr);
    }

    veltest::ClientInstall install;  // local mode: the server object runs in this process
    vel::ScriptedPresenter presenter;
    std::unique_ptr<TDLLRPCtrller> controller;
    std::vector<int32_t> codes;
};

}  // namespace

TEST(Registration, LoadRegistersControllerThenProgramForm) {
    ASSERT_NE(DLLControllerClass, nullptr);
    ASSERT_NE(frmBaseGeneClass, nullptr);
    EXPECT_EQ(frmBaseGeneClass->name, "TfrmQMLK07");
    EXPECT_EQ(NotAssignedError("DLLControllerClass"), "Vel DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
}

TEST(Registration, BaseControllerOperationsAreAbstract) {
    TDLLBaseController base;
    std::u16string stamp;
    EXPECT_THROW(base.GetVersionStamp(stamp), vel::AbstractError);
    EXPECT_THROW(base.Initialize(Variant()), vel::AbstractError);
    EXPECT_THROW(base.FormIsNil(), vel::AbstractError);
    base.Spare();  // the tail operations have bodies
    base.NotifyExtra();
}

TEST_F(ControllerTest, WithoutAFormEveryOperationIsHarmless) {
    std::u16string stamp = u"unchanged";
    controller->GetVersionStamp(stamp);
    EXPECT_EQ(stamp, u"unchanged");
    EXPECT_EQ(controller->GetVisible(), 0);
    controller->SetVisible(1);
    EXPECT_EQ(controller->GetHandle(), 0);
    EXPECT_EQ(controller->ShowModal().ToInt(), 2);
    Variant info("untouched");
    EXPECT_EQ(controller->GetInfo(info), -1);
    EXPECT_EQ(info.ToString(), "untouched");
    EXPECT_TRUE(controller->FormIsNil());
    EXPECT_EQ(controller->PushConditions(Variant::Of({Variant(0), Variant()})), -1);
    EXPECT_EQ(controller->HostCommand(5, 0, Variant()), -1);
    controller->FreeForm();
    EXPECT_TRUE(codes.empty());
}

TEST_F(ControllerTest, InitializeCreatesHooksAndAnswersForTheForm) {
    bool createdBeforeParams = false;
    controller->OnNotify = [&](int32_t code, TDLLBaseController*) {
        codes.push_back(code);
        // 256 arrives before the form has read the host parameters.
        if (code == ncFormCreated) createdBeforeParams = controller->Form && controller->Form->CompanyId.empty();
    };
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    EXPECT_TRUE(createdBeforeParams);
    ASSERT_FALSE(controller->FormIsNil());
    EXPECT_EQ(controller->GetVisible(), 0);

    std::u16string stamp;
    controller->GetVersionStamp(stamp);
    EXPECT_EQ(stamp, u"870401-0.00.00");
    EXPECT_NE(controller->GetHandle(), 0);

    Variant info;
    ASSERT_EQ(controller->GetInfo(info), 0);
    EXPECT_EQ(info.LowBound(), 0);
    EXPECT_EQ(info.HighBound(), 3);
    EXPECT_EQ(info[0].ToString(), "DS");
    EXPECT_EQ(info[1].ToString(), "DEMO");
    EXPECT_EQ(info[2].ToString(), controller->Form->ProgramId);

    controller->SetVisible(-2);  // any non-zero value shows
    EXPECT_EQ(controller->GetVisible(), -1);
    controller->SetVisible(0);
    EXPECT_EQ(controller->GetVisible(), 0);
    EXPECT_EQ(codes, (std::vector<int32_t>{ncFormCreated, ncFormShown, ncFormHidden}));
}

TEST_F(ControllerTest, SavedFormHandlersRunBeforeTheNotification) {
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    std::vector<std::string> order;
    controller->SavedOnShow = vel::TNotifyEvent("own", nullptr, [&](vel::TComponent*) { order.push_back("form"); });
    controller->OnNotify = [&](int32_t code, TDLLBaseController*) { order.push_back(std::to_string(code)); };
    controller->SetVisible(1);
    EXPECT_EQ(order, (std::vector<std::string>{"form", "272"}));
    controller->OnNotify = nullptr;  // `order` ends with this test
}

TEST_F(ControllerTest, DestroyedFormLeavesItsOutcome) {
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    controller->Form->ResultCode = 1;
    controller->Form->ResultData = Variant("JOB-1");
    controller->FreeForm();
    EXPECT_TRUE(controller->FormIsNil());
    EXPECT_EQ(controller->ResultCode, 1);
    EXPECT_EQ(controller->ResultData.ToString(), "JOB-1");
    EXPECT_EQ(codes.back(), ncFormDestroyed);
}

TEST_F(ControllerTest, CancelClosesAndFreesTheFormThroughTheQueue) {
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    controller->SetVisible(1);
    vel::Application().PostClick(*controller->Form->btnCancel);
    vel::Application().ProcessMessages();
    EXPECT_TRUE(controller->FormIsNil());
    EXPECT_EQ(codes.back(), ncFormDestroyed);
}

TEST_F(ControllerTest, PushAndCommandRefuseWhatTheyDoNotHandle) {
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    EXPECT_EQ(controller->PushConditions(Variant::Null()), -1);
    EXPECT_EQ(controller->PushConditions(Variant("not an array")), -1);
    EXPECT_EQ(controller->HostCommand(7, 0, Variant::Of({Variant(0)})), -1);
    EXPECT_EQ(controller->Form->PushedPayload.Type(), vel::VarType::Null);  // nothing reached the form

    // Mode 0 with a name the form has: checked, not run.
    Variant names = Variant::Of({Variant::Of({Variant("caption"), Variant("btnOk")})});
    Variant payload = Variant::Of({Variant(0), Variant::Of({Variant(true), Variant::Of({names, Variant::Of({})})})});
    // The host's array carries the payload as its element 1.
    EXPECT_EQ(controller->PushConditions(Variant::Of({Variant(), payload})), 0);
    EXPECT_FALSE(controller->Form->AutoRun);
    EXPECT_TRUE(controller->Form->PushedPayload == payload);
    EXPECT_EQ(controller->HostCommand(9, 12345, payload), 0);
}

TEST_F(ControllerTest, MissingHostValueReportsAndClosesTheForm) {
    EXPECT_EQ(controller->Initialize(HostParams(4)), 0);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown[0].request.text.substr(0, 8), "E;000038");
    vel::Application().ProcessMessages();  // the posted close request frees the form
    EXPECT_TRUE(controller->FormIsNil());
}

TEST_F(ControllerTest, NoServerMeansNoForm) {
    // TCP to a port nobody listens on, then a client without any configuration.
    for (const char* address : {"localhost", ""}) {
        SCOPED_TRACE(address);
        auto refused = std::make_unique<veltest::ClientInstall>(address, 1);
        std::unique_ptr<veltest::ScopedEnv> unconfigured;
        if (!*address) unconfigured = std::make_unique<veltest::ScopedEnv>("VEL_REGISTRY", "/nonexistent/registry.ini");
        presenter.shown.clear();
        auto other = std::make_unique<LibraryController>();
        other->HostApp = veltest::EchoMessageHost();
        EXPECT_EQ(other->Initialize(HostParams()), -1);
        ASSERT_FALSE(presenter.shown.empty());
        EXPECT_EQ(presenter.shown.back().request.text.substr(0, 8), *address ? "E;000006" : "E;000015");
        vel::Application().ProcessMessages();
        EXPECT_TRUE(other->FormIsNil());
    }
}

TEST_F(ControllerTest, LocalModeConnectsToTheInProcessServer) {
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    EXPECT_TRUE(controller->Form->LocalServer);
    EXPECT_TRUE(controller->Form->AppServer.IsDispatch());
}

TEST_F(ControllerTest, ProgramIdentityComesFromTheLibraryName) {
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    EXPECT_EQ(controller->Form->ProgramId, "QMLK07");
    EXPECT_EQ(controller->Form->ServerObjectName, "QMLK07S.Class1");
    EXPECT_TRUE(controller->Form->IsLibraryModule());
}

TEST_F(ControllerTest, SecondInitialisationIsRefusedByTheForm) {
    ASSERT_EQ(controller->Initialize(HostParams()), 0);
    EXPECT_EQ(controller->Form->InitializeForm(HostParams()), false);
}

TEST_F(ControllerTest, ABigFiveScreenWithoutTheLanguageLibraryGetsNoForm) {
    install.Dir().Write("client/VantrelC.ini", "[Server Information]\nComputerName=127.0.0.1\n[CodePage]\nUICodePage=950\n");
    veltest::TempDir empty;
    veltest::ScopedEnv path("VEL_LIBRARY_PATH", empty.Path());
    // The failure reaches the host, as every failure of Initialize but the unassigned class.
    try {
        controller->Initialize(HostParams());
        ADD_FAILURE() << "Initialize did not raise";
    } catch (const vel::Exception& e) {
        EXPECT_STREQ(e.what(), "Load Library Vellanguage.so Error!");
    }
    EXPECT_TRUE(controller->FormIsNil());
}
