#include <gtest/gtest.h>

#include "tests/support/echo_host.h"

#include "tests/forms/four_conditions_form.h"
#include "platform/automation/dispatch.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"

using namespace vel;

namespace {

// A report-counter object that answers Request from a queue and records what it got.
class FakeReportCounter : public DispatchObject {
public:
    FakeReportCounter() {
        AddMethod("Request", [this](std::vector<Variant>& a) {
            requests.push_back(a.at(0));
            std::string answer = answers.empty() ? "JOB" : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            if (answer == "throw") throw OleException("server down");
            return Variant(answer);
        });
        AddMethod("ErrorDescript", [](std::vector<Variant>&) { return Variant("disk full"); });
        AddMethod("SQLType", [](std::vector<Variant>&) { return Variant(3); });
        AddMethod("GetPower", [](std::vector<Variant>&) {
            return Variant::Of({Variant(), Variant("A,Y,N,RRRRRRYN,x,y"), Variant("f2"), Variant("f3")});
        });
    }
    std::vector<Variant> requests;
    std::vector<std::string> answers;
};

struct BaseOptTest : ::testing::Test {
    void SetUp() override {
        SetPresenter(&presenter);
        form = CreateForm<TfrmFourConditions>(nullptr);
        form->HostApp = veltest::EchoMessageHost();
        form->ModuleFile = "/opt/vel/QMLK07C.so";
        form->UserId = "DS";
        form->CompanyId = "DEMO";
        form->CompanyDb = "DEMO";
        form->DeclareFields();
        server = std::make_shared<FakeReportCounter>();
        form->AppServer = Variant(server);
        handle = form->Handle();
        form->Show();
    }
    void TearDown() override {
        Application().ProcessMessages();
        if (FindControl(handle)) FreeComponent(form);
        SetPresenter(nullptr);
    }
    std::string LastDialog() const { return presenter.shown.empty() ? "" : presenter.shown.back().request.text; }

    ScriptedPresenter presenter;
    TfrmFourConditions* form = nullptr;
    std::shared_ptr<FakeReportCounter> server;
    HWND handle = 0;
};

}  // namespace

TEST_F(BaseOptTest, SubmissionReportsTheJobAndCloses) {
    server->answers = {"Q0001"};
    form->btnOkClick(form);
    ASSERT_EQ(server->requests.size(), 1u);
    const Variant& sent = server->requests[0];
    EXPECT_EQ(sent[0][1].Type(), VarType::OleStr);  // texts travel as wide texts
    EXPECT_EQ(sent[0][2].ToInt(), 14);
    EXPECT_EQ(sent[0][10].ToInt(), 0);  // queue
    EXPECT_EQ(LastDialog().substr(0, 14), "I;000004;Q0001");
    EXPECT_EQ(form->ResultCode, 1);
    EXPECT_EQ(form->ResultData.ToString(), "Q0001");
    Application().ProcessMessages();
    EXPECT_EQ(FindControl(handle), nullptr);  // closed and freed
}

TEST_F(BaseOptTest, AnErrorAnswerInAnyCaseKeepsTheFormOpen) {
    for (const char* answer : {"ERROR", "error", "Error", "throw"}) {
        server->answers = {answer};
        form->btnOkClick(form);
        EXPECT_EQ(LastDialog().substr(0, 18), "E;000013;disk full") << answer;
        EXPECT_EQ(form->ResultCode, 0);
    }
    Application().ProcessMessages();
    EXPECT_EQ(FindControl(handle), form);
}

TEST_F(BaseOptTest, StayingAfterOkSubmitsTwice) {
    form->miOKNoExitClick(form);
    form->btnOkClick(form);
    Application().ProcessMessages();
    EXPECT_EQ(server->requests.size(), 2u);
    EXPECT_EQ(FindControl(handle), form);
    EXPECT_FALSE(form->ExitAfterOk);
}

TEST_F(BaseOptTest, TimedRunTakesItsStartFromTheSystemPage) {
    form->rdoExceptTime->SetChecked(true);
    EXPECT_TRUE(form->pnlTime->Enabled());
    EXPECT_NE(form->RequiredFields.find("edDate"), std::string::npos);
    form->edDate->SetMaskedText("2024/03/05");
    form->edHour->SetCaption("13");
    form->edMin->SetCaption("30");
    form->btnOkClick(form);
    ASSERT_EQ(server->requests.size(), 1u);
    const Variant& env = server->requests[0][0];
    EXPECT_EQ(env[10].ToInt(), 2);
    EXPECT_DOUBLE_EQ(env[11].ToDate(), 45356.0 + 13.5 / 24.0);

    form->edHour->SetCaption("25");
    form->btnOkClick(form);
    EXPECT_EQ(server->requests.size(), 1u);  // not submitted
    EXPECT_EQ(LastDialog().substr(0, 9), "E;000005;");
    form->rdoQueue->SetChecked(true);
    EXPECT_FALSE(form->pnlTime->Enabled());
    EXPECT_EQ(form->RequiredFields.find("edDate"), std::string::npos);
}

TEST_F(BaseOptTest, NotifyDefaultsToTheCurrentUserAndCancelSetsTheResult) {
    form->chkNotify->SetChecked(true);
    EXPECT_EQ(form->RecipientXml,
              "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"DS\" Name=\"\" Type=\"5\" Msg=\"YNN\"/></Root>");
    EXPECT_TRUE(form->btnNotify->Enabled());
    form->btnOkClick(form);
    EXPECT_EQ(server->requests[0][0][12].ToWide(), CodePageToWide(form->RecipientXml, 936));
    form->btnCancel->Click();
    EXPECT_EQ(form->ResultCode, 2);
}

TEST_F(BaseOptTest, RightsRecordGivesTheLookupFlags) {
    form->LoadUserRights();
    EXPECT_TRUE(form->RightsFlag2);
    EXPECT_FALSE(form->RightsFlag3);
    EXPECT_TRUE(form->LookupFlagColumns);  // character 7 "Y"
    EXPECT_FALSE(form->LookupFlagRows);    // character 8 "N"
    EXPECT_EQ(form->RightsFields[0], "f2");
    form->ApplyRights(Variant("garbage"));
    EXPECT_FALSE(form->LookupFlagColumns);
}
