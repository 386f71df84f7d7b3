// Condition schemes against the server object running in this process (local mode): saved,
// listed per user, opened, renamed and deleted.
#include <gtest/gtest.h>

#include "controls/select_panel.h"
#include "runtime/vantrel_ini.h"
#include "forms/programs/frm_qmlk07.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"
#include "tests/support/client_install.h"
#include "tests/support/echo_host.h"

using namespace vel;

namespace {

struct SchemeTest : ::testing::Test {
    void SetUp() override { SetPresenter(&presenter); }
    void TearDown() override {
        for (TfrmQMLK07* f : forms) FreeComponent(f);
        Application().ProcessMessages();
        SetPresenter(nullptr);
    }
    // The in-process server keeps one database for the whole test program, so each test
    // works as a user of its own.
    TfrmQMLK07* Open(std::string user = "") {
        if (user.empty()) user = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        auto* form = CreateForm<TfrmQMLK07>(nullptr);
        forms.push_back(form);
        form->HostApp = veltest::EchoMessageHost();
        form->ModuleFile = "/opt/vel/QMLK07C.so";
        EXPECT_TRUE(form->InitializeForm(Variant::Of({Variant(user), Variant("DEMO"), Variant("DEMO"), Variant(0), Variant()})));
        EXPECT_TRUE(form->RefreshSchemeList());
        return form;
    }
    static TSelectPanel& Panel(TWinControl* p) { return *dynamic_cast<TSelectPanel*>(p); }
    static std::vector<std::string> Captions(TfrmQMLK07* form) {
        std::vector<std::string> out;
        for (int i = 0; i < form->lstCondition->ItemCount(); ++i) out.push_back(form->lstCondition->Item(i)->caption);
        return out;
    }
    std::string LastDialog() const { return presenter.shown.empty() ? "" : presenter.shown.back().request.text; }

    veltest::ClientInstall install;
    ScriptedPresenter presenter;
    std::vector<TfrmQMLK07*> forms;
};

}  // namespace

TEST_F(SchemeTest, SavedConditionsComeBackExactlyForTheirOwnerOnly) {
    TfrmQMLK07* form = Open();
    EXPECT_EQ(form->SchemeProperties.rfind("ed01.text;sp02.style;sp03.style;chk04.checked;", 0), 0u) << form->SchemeProperties;
    form->ed01->SetCaption("2024/03");
    Panel(form->sp02).SetUserChoice(false);
    Panel(form->sp02).AddRow({"A001", CN("螺丝")});
    Panel(form->sp02).AddRow({"B001", CN("螺母")});
    Panel(form->sp03).edBegin->SetCaption("W01");
    Panel(form->sp03).edFinal->SetCaption("W02");
    form->chk04->SetChecked(false);
    const Variant items = Panel(form->sp02).PanelValue(), stores = Panel(form->sp03).PanelValue();
    ASSERT_TRUE(form->SaveScheme(form->SchemeProperties, CN("月结"), false));
    ASSERT_TRUE(form->RefreshSchemeList());
    ASSERT_EQ(Captions(form), std::vector<std::string>{CN("月结")});
    EXPECT_EQ(form->lstCondition->Item(0)->subItems[0].size(), 10u);  // yyyy/mm/dd

    TfrmQMLK07* again = Open();
    ASSERT_EQ(again->lstCondition->ItemCount(), 1);
    again->lstCondition->SetSelected(again->lstCondition->Item(0));
    again->btnOpenClick(again);
    EXPECT_EQ(again->ed01->Caption(), "2024/03");
    EXPECT_TRUE(Panel(again->sp02).PanelValue() == items);
    EXPECT_TRUE(Panel(again->sp03).PanelValue() == stores);
    EXPECT_FALSE(again->chk04->Checked());

    EXPECT_EQ(Open("another user")->lstCondition->ItemCount(), 0);
}

TEST_F(SchemeTest, RenameRefusesBadNamesAndAsksTheServerOnlyForARealChange) {
    TfrmQMLK07* form = Open();
    ASSERT_TRUE(form->SaveScheme(form->SchemeProperties, "first", false));
    ASSERT_TRUE(form->SaveScheme(form->SchemeProperties, "second", false));
    ASSERT_TRUE(form->RefreshSchemeList());
    TListItem* item = form->lstCondition->FindCaption("first");
    ASSERT_NE(item, nullptr);
    struct Case { std::string name; const char* refusal; } cases[] = {
        {"   ", "方案名不可空白!"},
        {std::string(21, 'x'), "方案名长度不可大于20!"},
        {"second", "此方案名称已经存在！"},
    };
    for (const Case& c : cases) {
        std::string text = c.name;
        presenter.shown.clear();
        form->lstConditionEdited(form->lstCondition, item, text);
        EXPECT_EQ(text, "first") << c.name;
        EXPECT_EQ(LastDialog(), CN(c.refusal)) << c.name;
    }
    // The same caption: nothing to do, and no server is asked (there is none to ask).
    Variant server = form->AppServer;
    form->AppServer = Variant();
    std::string same = "first";
    EXPECT_NO_THROW(form->lstConditionEdited(form->lstCondition, item, same));
    form->AppServer = server;

    std::string twenty = std::string(19, 'y') + "z";
    presenter.shown.clear();
    form->lstConditionEdited(form->lstCondition, item, twenty);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(twenty, std::string(19, 'y') + "z");
    ASSERT_TRUE(form->RefreshSchemeList());
    EXPECT_NE(form->lstCondition->FindCaption(twenty), nullptr);
    EXPECT_EQ(form->lstCondition->FindCaption("first"), nullptr);
}

TEST_F(SchemeTest, DeleteAsksFirst) {
    TfrmQMLK07* form = Open();
    ASSERT_TRUE(form->SaveScheme(form->SchemeProperties, "gone", false));
    ASSERT_TRUE(form->RefreshSchemeList());
    form->lstCondition->SetSelected(form->lstCondition->Item(0));
    presenter.QueueAnswer(mrNo);
    form->btnDeleteClick(form);
    EXPECT_EQ(form->lstCondition->ItemCount(), 1);
    EXPECT_EQ(LastDialog(), CN("确实要删除此方案吗？") + "gone");
    form->lstCondition->SetSelected(form->lstCondition->Item(0));
    presenter.QueueAnswer(mrYes);
    form->btnDeleteClick(form);
    EXPECT_EQ(form->lstCondition->ItemCount(), 0);
}

TEST_F(SchemeTest, DatesFollowTheirRelativeRuleAndOpenInTheUsersStyle) {
    TfrmQMLK07* form = Open();
    auto* due = new TMaskEdit(form);
    due->SetName("edDue");
    due->SetParent(form->tsOption1);
    form->SetDateFields("edDue");
    due->SetCaption("2024/03/15");
    // No record: the date is not kept.
    EXPECT_EQ(form->BuildSchemeValues("edDue.text;"), "\r\n");
    // First day of the next month.
    form->RelativeDates.Add("1\x03" "edDue\x03Y\x03" "1\x03" "1\x03" "1\x03" "0\x03" "D");
    EXPECT_EQ(form->BuildSchemeValues("edDue.text;"), "20240401\r\n");
    // "Y" with nothing to move keeps the date; "N" keeps it too.
    form->RelativeDates.Clear();
    form->RelativeDates.Add("1\x03" "edDue\x03Y\x03" "0\x03" "1\x03" "0\x03" "0\x03" "D");
    EXPECT_EQ(form->BuildSchemeValues("edDue.text;"), "20240315\r\n");

    ASSERT_TRUE(form->LoadScheme("edDue.text;", "20240401\r\n"));
    EXPECT_EQ(due->Caption(), "2024/04/01");
    form->CachedDateType = 2;
    ASSERT_TRUE(form->LoadScheme("edDue.text;", "20240401\r\n"));
    EXPECT_EQ(due->Caption(), "04/01/2024");
}

TEST_F(SchemeTest, EntriesForMissingControlsSaveEmptyLinesAndAreSkippedOnOpening) {
    TfrmQMLK07* form = Open();
    form->chk04->SetChecked(false);
    EXPECT_EQ(form->BuildSchemeValues("gone.text;chk04.checked;nodot;"), "\r\nFalse\r\n\r\n");
    EXPECT_TRUE(form->LoadScheme("gone.text;chk04.checked;", "stale\r\nTrue\r\n"));
    EXPECT_TRUE(form->chk04->Checked());
    // A value that cannot be applied stops the opening with a failure; earlier values stay.
    form->chk04->SetChecked(false);
    EXPECT_FALSE(form->LoadScheme("chk04.checked;sp02.style;", "True\r\nsp_Discrete\x03" "\x05broken\r\n"));
    EXPECT_TRUE(form->chk04->Checked());
}

namespace {
class MarkingTranslator : public ITextTranslator {
public:
    std::string ConvertGBToBig5(const std::string& text) override { return "B5:" + text; }
    std::string ConvertBig5ToGB(const std::string& text) override { return "GB:" + text; }
};
}  // namespace

TEST_F(SchemeTest, SchemeFieldsShowAuthoredTextInTheScreensCodePage) {
    TfrmQMLK07* form = Open();
    // A GB screen: labels and texts as authored.
    EXPECT_EQ(form->ClientDataSet1.FindFieldDef("NCONDITION")->displayLabel, CN("方案名称"));
    // A Big5 screen over a GB database.
    CodePageSettings big5;
    big5.uiCodePage = "950";
    ConversionModes modes = DeriveConversionModes("950", "936", "936");
    big5.screenMode = modes.screenMode;
    big5.dataMode = modes.dataMode;
    try {
        form->VelConverter->ApplySettings(big5);
    } catch (const std::exception&) {
    }
    form->VelConverter->SetTranslator(std::make_unique<MarkingTranslator>());
    form->ClientDataSet1.FieldDefs.clear();
    form->ConvertDataSetLabels();
    EXPECT_EQ(form->ClientDataSet1.FindFieldDef("NCONDITION")->displayLabel, "B5:" + CN("方案名称"));
    EXPECT_EQ(form->ClientDataSet1.FindFieldDef("CREATOR")->displayLabel, "B5:CREATOR");
    EXPECT_FALSE(form->ClientDataSet1.ControlsDisabled());
    ASSERT_TRUE(form->SaveScheme(form->SchemeProperties, "shown", false));
    ASSERT_TRUE(form->RefreshSchemeList());
    // The name went to the database in its code page; the list shows it back in the screen's.
    EXPECT_NE(form->lstCondition->FindCaption("B5:GB:shown"), nullptr);
    ASSERT_TRUE(form->ClientDataSet1.FindKey({Variant("GB:shown"), Variant(form->UserId), Variant("QMLK07")}));
    net::TField name = form->ClientDataSet1.FieldByName("NCONDITION");
    EXPECT_EQ(name.AsString(), "GB:shown");
    EXPECT_EQ(name.DisplayText(), "B5:GB:shown");
    EXPECT_EQ(name.DisplayLabel(), "B5:" + CN("方案名称"));
}
