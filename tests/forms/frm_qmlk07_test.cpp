#include <gtest/gtest.h>

#include "tests/support/echo_host.h"

#include "forms/programs/frm_qmlk07.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"

using namespace vel;

namespace {

struct QMLK07Test : ::testing::Test {
    void SetUp() override {
        SetPresenter(&presenter);
        form = CreateForm<TfrmQMLK07>(nullptr);
        form->HostApp = veltest::EchoMessageHost();
        form->ModuleFile = "/opt/vel/QMLK07C.so";
        form->UserId = "DS";
        form->CompanyId = "DEMO";
        form->DeclareFields();
        form->Show();
    }
    void TearDown() override {
        FreeComponent(form);
        Application().ProcessMessages();
        SetPresenter(nullptr);
    }
    ScriptedPresenter presenter;
    TfrmQMLK07* form = nullptr;
};

}  // namespace

TEST_F(QMLK07Test, EightConditionsWithTheFormsOwnFirst) {
    EXPECT_EQ(form->ConditionCount, 8);
    EXPECT_EQ(form->EnvCount, 14);
    EXPECT_EQ(form->YearMonthFields, "ed01");
    EXPECT_EQ(form->RequiredFields, "ed01");
    form->ed01->SetMaskedText("2024/3");
    ASSERT_TRUE(form->BuildParameters());
    const Variant& t = form->Parameters[1];
    const char* names[] = {"ed01", "sp02", "sp03", "chk04", "grpSignIn", "grpNote", "cboDateType", "edPrintDate"};
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(t[i][1].ToString(), names[i - 1]) << i;
    EXPECT_EQ(t[1][0].ToString(), CN("选择年月"));
    const Variant& v = form->Parameters[2];
    EXPECT_EQ(v[1].ToString(), "202403");
    EXPECT_EQ(v[4].ToString(), "Y");
    EXPECT_EQ(form->Parameters[0].HighBound(), 14);
}

TEST_F(QMLK07Test, YearMonthFollowsTheDateTypeAndUncheckedPacksN) {
    form->CachedDateType = 2;
    form->ed01->SetEditMask(form->YearMonthEditMask());
    form->ed01->SetMaskedText("3/2024");
    form->chk04->SetChecked(false);
    ASSERT_TRUE(form->BuildParameters());
    EXPECT_EQ(form->Parameters[2][1].ToString(), "202403");
    EXPECT_EQ(form->Parameters[2][4].ToString(), "N");
}

TEST_F(QMLK07Test, AnEmptyYearMonthStopsTheRunOnItsPage) {
    form->pgOption->SetActivePage(form->tsOption2);
    EXPECT_FALSE(form->BuildParameters());
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().request.text.substr(0, 9 + CN("选择年月").size()), "E;000003;" + CN("选择年月"));
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
    EXPECT_EQ(form->ActiveControl(), form->ed01);
}

TEST_F(QMLK07Test, RequiredYearMonthIsCheckedBeforeOk) {
    // The required-field hook stands in front of OK: with ed01 blank nothing is packed.
    form->btnOk->Click();
    EXPECT_EQ(presenter.shown.back().request.text.substr(0, 8), "E;000037");
    EXPECT_TRUE(form->Parameters.IsEmpty());
}
