#include <gtest/gtest.h>

#include "tests/support/echo_host.h"
#include "tests/support/temp_dir.h"

#include "forms/programs/frm_qmlk07.h"
#include "tests/forms/four_conditions_form.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"

using namespace vel;

namespace {


struct BaseGeneTest : ::testing::Test {
    void SetUp() override { SetPresenter(&presenter); }
    void TearDown() override {
        if (form) FreeComponent(form);
        SetPresenter(nullptr);
    }
    TfrmFourConditions* Create() {
        form = CreateForm<TfrmFourConditions>(nullptr);
        form->HostApp = veltest::EchoMessageHost();
        form->ModuleFile = "/opt/vel/QMLK07C.so";
        form->DeclareFields();
        return form;
    }
    ScriptedPresenter presenter;
    TfrmFourConditions* form = nullptr;
};

}  // namespace

TEST_F(BaseGeneTest, ConditionCountsAddTheBaseLevels) {
    Create();
    EXPECT_EQ(form->ConditionCount, 8);  // 4 of the concrete form after the base levels' 4
    form->ConditionCount = 0;
    form->BaseConditionCount = 1;
    form->SetConditionCount(0);
    EXPECT_EQ(form->ConditionCount, 1);
    form->SetConditionCount(4);
    EXPECT_EQ(form->ConditionCount, 5);
    form->BaseConditionCount = 4;
    form->ConditionCount = 4;
    form->SetConditionCount(4);
    EXPECT_EQ(form->ConditionCount, 8);
}

TEST_F(BaseGeneTest, PackingFillsEveryLevelAndChecksTheCounts) {
    Create();
    form->UserId = "DS";
    form->CompanyId = "DEMO";
    ASSERT_TRUE(form->BuildParameters());
    const Variant& p = form->Parameters;
    EXPECT_EQ(p.HighBound(), 2);
    EXPECT_EQ(p[0].HighBound(), 14);
    EXPECT_EQ(p[0][1].ToString(), "QMLK07");
    EXPECT_EQ(p[0][8].ToString(), "QMLK07S.Class1");
    EXPECT_EQ(p[0][9].ToString(), "R");
    EXPECT_EQ(p[0][7].Type(), VarType::Date);
    // The concrete form's four, then sign-off, footer, date type and the print date.
    EXPECT_EQ(p[1][5][1].ToString(), "grpSignIn");
    EXPECT_EQ(p[1][6][1].ToString(), "grpNote");
    EXPECT_EQ(p[1][7][1].ToString(), "cboDateType");
    EXPECT_EQ(p[1][8][1].ToString(), "edPrintDate");
    EXPECT_EQ(p[2][8].ToString(), "");  // a blank print date packs as an empty text
    EXPECT_EQ(p[2][7][0].ToInt(), 1);
    EXPECT_EQ(p[0][13].ToInt(), 1);
    EXPECT_EQ(form->QueryFlag, 1);

    form->textsFilled = 3;
    presenter.shown.clear();
    EXPECT_FALSE(form->BuildParameters());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].request.text.substr(0, 9), "W;000003;");
    EXPECT_NE(presenter.shown[0].request.text.find(";8;4"), std::string::npos);

    form->EnvCount = 0;
    presenter.shown.clear();
    EXPECT_FALSE(form->BuildParameters());
    EXPECT_EQ(presenter.shown[0].request.text.substr(0, 8), "I;000003");
}

TEST_F(BaseGeneTest, AnOptionArrayOfTheWrongSizeIsReportedWithBothCounts) {
    Create();
    form->UserId = "DS";
    form->CompanyId = "DEMO";
    form->textsHigh = 7;
    EXPECT_FALSE(form->BuildParameters());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].request.text.substr(0, 9), "W;000002;");
    EXPECT_NE(presenter.shown[0].request.text.find(";8;7"), std::string::npos) << presenter.shown[0].request.text;
}

TEST_F(BaseGeneTest, HostPushChecksTheNamesAndRunsOnlyWhenAskedAndTheyHold) {
    Create();
    auto payload = [](int mode, std::initializer_list<const char*> names) {
        std::vector<Variant> list;
        for (const char* n : names) list.push_back(Variant::Of({Variant("caption"), Variant(n)}));
        Variant array = Variant::Array(0, static_cast<int>(list.size()) - 1);
        for (size_t i = 0; i < list.size(); ++i) array[static_cast<int>(i)] = list[i];
        return Variant::Of({Variant(), Variant::Of({Variant(mode), Variant::Of({Variant(true), Variant::Of({array, Variant::Of({})})})})});
    };
    form->HostPush(payload(0, {"edPrintDate", "nope", "lblToday"}));
    ASSERT_EQ(presenter.shown.size(), 1u);  // once, however many names fail
    EXPECT_EQ(presenter.shown[0].request.text.substr(0, 8), "W;000014");
    EXPECT_FALSE(form->AutoRun);
    presenter.shown.clear();
    form->HostPush(payload(0, {"edPrintDate"}));
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_FALSE(form->AutoRun);  // mode 0 only checks
    EXPECT_TRUE(form->Interactive);
    form->HostPush(payload(2, {"edPrintDate"}));
    EXPECT_TRUE(form->AutoRun);
    EXPECT_FALSE(form->Interactive);
}

TEST_F(BaseGeneTest, DateMasksFollowTheDateType) {
    Create();
    struct Case { int code; const char* date; const char* ym; const char* blank; } cases[] = {
        {1, "9999/99/99;1; ", "9999/99;1; ", "    /  /  "},
        {3, "99/99/9999;1; ", "99/9999;1; ", "  /  /    "},
        {4, "99/99/99;1; ", "99/99;1; ", "  /  /  "},
        {5, "999/99/99;1; ", "999/99;1; ", "   /  /  "},
    };
    for (const auto& c : cases) {
        form->CachedDateType = c.code;
        EXPECT_EQ(form->DateEditMask(), c.date) << c.code;
        EXPECT_EQ(form->YearMonthEditMask(), c.ym) << c.code;
        EXPECT_EQ(form->BlankDateText(), c.blank) << c.code;
    }
}

TEST_F(BaseGeneTest, TypedDatesNormalise) {
    Create();
    struct Case { int code; const char* text; const char* date; } dates[] = {
        {1, "2024/3/5", "20240305"}, {1, "2024/3 /5 ", "20240305"}, {2, "3/5/2024", "20240305"},
        {3, "5/3/2024", "20240305"}, {4, "113/03/05", "20240305"}, {1, "2024/03", "2024/03"},
        {1, "2024/x/05", "2024/x/05"}, {1, "    /  /  ", ""}, {9, "2024/03/05", ""},
    };
    for (const auto& c : dates) {
        form->CachedDateType = c.code;
        EXPECT_EQ(form->NormalizeDate(c.text), c.date) << c.code << " " << c.text;
    }
    struct YmCase { int code; const char* text; const char* ym; } months[] = {
        {1, "2024/3", "202403"}, {2, "3/2024", "202403"}, {4, "113/03", "202403"}, {1, "2024/0", "2024/0"},
        {1, "    /  ", ""},
    };
    for (const auto& c : months) {
        form->CachedDateType = c.code;
        EXPECT_EQ(form->NormalizeYearMonth(c.text), c.ym) << c.code << " " << c.text;
    }
}

TEST_F(BaseGeneTest, HelpTopicsFollowTheProgramIdentifier) {
    Create();
    struct Case { const char* id; const char* key; } cases[] = {
        {"QMLK07", ""}, {"INVB01", "1301"}, {"INVR02", "1202"}, {"ACTAB5", "63B5"}, {"QMLMR7", "82R7"}, {"ABC", ""},
    };
    for (const auto& c : cases) {
        form->ProgramId = c.id;
        EXPECT_EQ(form->HelpTopicKey(), c.key) << c.id;
    }
}

TEST_F(BaseGeneTest, EnterMovesOnExceptInsideAShortMemo) {
    Create();
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    auto* next = new TEdit(form);
    next->SetParent(form);
    form->Show();
    memo->SetFocus();
    auto press = [&](TWinControl& c) {
        Application().PostKey(c, VK_RETURN);
        Application().PostChar(c, '\r');
        Application().ProcessMessages();
    };
    press(*memo);  // first line: a line break
    EXPECT_EQ(form->ActiveControl(), memo);
    press(*memo);  // second line: another
    EXPECT_EQ(form->ActiveControl(), memo);
    EXPECT_EQ(memo->CaretLine(), 2);
    press(*memo);  // third line: the focus moves on
    EXPECT_EQ(form->ActiveControl(), next);
    EXPECT_EQ(memo->Lines().Count(), 3);
}

TEST_F(BaseGeneTest, EscapeClosesAndFreesTheForm) {
    Create();
    form->Show();
    HWND handle = form->Handle();
    Application().PostKey(*form->btnOk, VK_ESCAPE);
    Application().ProcessMessages();
    EXPECT_EQ(FindControl(handle), nullptr);
    form = nullptr;
}

TEST_F(BaseGeneTest, PrintDateIsMaskedOnEntryCheckedOnExitAndPacked) {
    Create();
    form->Show();
    form->pgOption->SetActivePage(form->tsOption2);  // the print date is on the system page
    auto& app = Application();
    app.PostFocus(*form->edPrintDate);
    app.ProcessMessages();
    EXPECT_EQ(form->edPrintDate->EditMaskText(), "9999/99/99;1; ");
    for (char c : std::string("2024/02/30")) app.PostChar(*form->edPrintDate, c);
    app.PostKey(*form->edPrintDate, VK_TAB);
    app.ProcessMessages();
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().request.text.substr(0, 8), "E;000005");
    EXPECT_EQ(form->ActiveControl(), form->edPrintDate);  // the focus stays on the bad date

    app.PostTypeText(*form->edPrintDate, "2024/3/5");
    app.PostKey(*form->edPrintDate, VK_TAB);
    app.ProcessMessages();
    EXPECT_NE(form->ActiveControl(), form->edPrintDate);
    ASSERT_TRUE(form->BuildParameters());
    EXPECT_EQ(form->Parameters[2][8].ToString(), "20240305");
}

TEST_F(BaseGeneTest, RequiredFieldsHookTheRunButtonOnceAndColourTheirControls) {
    Create();
    int okClicks = 0;
    form->btnOk->OnClick = TNotifyEvent("original", nullptr, [&](TComponent*) { ++okClicks; });
    form->SetRequiredFields("edPrintDate");
    form->SetRequiredFields("edPrintDate;;0");  // replacing the list keeps the original handler
    EXPECT_EQ(form->edPrintDate->Color(), TfrmBaseGene::kRequiredColour);
    form->Show();
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
    form->btnOk->Click();  // the print date is blank: reported, the handler does not run
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(presenter.shown.back().request.text.substr(0, 8), "E;000037");
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2);  // the missing field's page is shown
    EXPECT_EQ(form->ActiveControl(), form->edPrintDate);
    form->edPrintDate->SetMaskedText("2024/03/05");
    form->btnOk->Click();
    EXPECT_EQ(okClicks, 1);
    form->SetRequiredFields("edPrintDate;N");  // not checked any more
    form->edPrintDate->SetMaskedText("");
    form->btnOk->Click();
    EXPECT_EQ(okClicks, 2);
}

TEST_F(BaseGeneTest, AStandAloneProgramMakesItsOwnHostObject) {
    veltest::ScopedEnv noClient("VEL_REGISTRY", "/nonexistent/registry.ini");
    RegisterClassFactory("ZorvanWorkCenter.Manager", [] { return std::make_shared<veltest::EchoHost>(); });
    form = CreateForm<TfrmFourConditions>(nullptr);
    form->SetModuleFile("/opt/vel/QMLK07CF.exe");
    UnregisterClassFactory("ZorvanWorkCenter.Manager");
    EXPECT_TRUE(form->HostApp.IsDispatch());
    EXPECT_EQ(form->ProgramId, "QMLK07");
    // The test form's name does not match the program: said in the host object's words.
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().request.text.substr(0, 8), "E;000036");
}

TEST(BaseGeneBig5, AHostPushOnABig5MachineShowsTheTitleInBig5) {
    veltest::ScopedEnv acp("VEL_ACP", "950");
    // The machine's code page is read once per process; CTest runs this case in its own.
    if (SystemCodePage() != 950) GTEST_SKIP() << "the machine code page was fixed earlier in this process";
    veltest::ScopedEnv noClient("VEL_REGISTRY", "/nonexistent/registry.ini");
    ScriptedPresenter presenter;
    SetPresenter(&presenter);
    auto* form = CreateForm<TfrmQMLK07>(nullptr);
    form->ModuleFile = "/opt/vel/QMLK07C.so";
    form->Title = CN("成本差异分析表");
    form->TitleSuffix = "DEMO";
    form->HostPush(Variant::Of({Variant(), Variant::Of({Variant(0), Variant::Of({Variant(true)})})}));
    EXPECT_EQ(form->Title, Utf8ToCodePage("成本差異分析表", 950));
    EXPECT_EQ(form->Caption(), form->Title + "[DEMO]");
    FreeComponent(form);
    SetPresenter(nullptr);
}
