#include "forms/gene_condition.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "controls/db_label.h"
#include "controls/select_panel.h"
#include "platform/automation/dispatch.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/presenter.h"
#include "runtime/libstrs.h"
#include "tests/forms/four_conditions_form.h"
#include "tests/support/echo_host.h"

using namespace vel;

namespace {

// The host's validator: answers the scheme-name query and keeps what it was asked.
class FakeValidator : public DispatchObject {
public:
    FakeValidator() {
        AddMethod("QueryData", [this](std::vector<Variant>& args) {
            asked.push_back(args);
            if (fails) throw OleException("no table");
            return Variant(found);
        });
    }
    bool found = false;
    bool fails = false;
    std::vector<std::vector<Variant>> asked;
};

std::string Rec(std::initializer_list<const char*> fields) {
    std::string out;
    for (const char* f : fields) out += (out.empty() ? "" : "\x03") + std::string(f);
    return out;
}

// Owner: the four-condition form, whose option texts name ed01..ed04 with caption "c".
// The tests add the date conditions they need to its first page.
struct GeneConditionTest : ::testing::Test {
    void SetUp() override {
        SetPresenter(&presenter);
        form = CreateForm<TfrmFourConditions>(nullptr);
        form->HostApp = veltest::EchoMessageHost();
        form->ModuleFile = "/opt/vel/QMLK07C.so";
        form->UserId = "DS";
        form->CompanyId = "DEMO";
        form->CompanyDb = "DEMO";
        form->DeclareFields();
        validator = std::make_shared<FakeValidator>();
        form->ValidatorService = Variant(DispatchPtr(validator));
        form->Show();
        form->SetCaption("QMLK07[DEMO]");
    }
    void TearDown() override {
        FreeComponent(form);
        Application().ProcessMessages();
        SetPresenter(nullptr);
    }

    TMaskEdit* AddEdit(const std::string& name) {
        auto* edit = new TMaskEdit(form);
        edit->SetName(name);
        edit->SetParent(form->tsOption1);
        return edit;
    }
    TSelectPanel* AddPanel(const std::string& name, const std::string& caption) {
        auto* panel = new TSelectPanel(form);
        panel->SetName(name);
        panel->SetParent(form->tsOption1);
        panel->SetCaption(caption);
        return panel;
    }
    // The owner's own date fields come first, the framework's four after them.
    void DeclareDates(const std::string& own) { form->SetDateFields(own); }

    // A dialog over the owner, set up as the option form opens it, shown but not modal.
    TfrmGeneCondition* OpenDialog() {
        auto* dialog = CreateForm<TfrmGeneCondition>(form);
        dialog->DateFields = form->DateFields;
        dialog->FrameworkCount = 4;
        dialog->SetDateEnv();
        dialog->Show();
        return dialog;
    }
    // Runs the dialog modally; each action is one turn of the person at the dialog.
    Variant RunModal(std::vector<std::function<void(TfrmGeneCondition&)>> turns) {
        for (auto& turn : turns)
            presenter.QueueModalAction([turn](TCustomForm& f) { turn(dynamic_cast<TfrmGeneCondition&>(f)); });
        return RunSchemeSaveDialog(*form, form->DateFields, 4);
    }
    static void PressOk(TfrmGeneCondition& d, const std::string& name) {
        d.edConName->SetFocus();
        d.edConName->TypeText(name);
        d.btnOk->SetFocus();
        d.btnOk->Click();
    }
    std::string Record(int i) const { return form->RelativeDates[i]; }

    ScriptedPresenter presenter;
    TfrmFourConditions* form = nullptr;
    std::shared_ptr<FakeValidator> validator;
};

}  // namespace

TEST_F(GeneConditionTest, OnlyFrameworkDatesLeaveTheGroupDisabledAndNoRecords) {
    form->RelativeDates.Add(Rec({"1", "edOld", "Y", "1", "1", "1", "0", "D"}));  // left from an earlier save
    ASSERT_EQ(form->DateFields, "edDate,meStartDate,meEndDate,edPrintDate");
    TfrmGeneCondition* d = OpenDialog();
    EXPECT_FALSE(d->gbDateFields->Enabled());
    EXPECT_EQ(d->cbodatecondition->Items().Count(), 0);
    EXPECT_EQ(form->RelativeDates.Count(), 0);
    // Enter moves on from the name; the disabled group is passed over.
    EXPECT_EQ(d->ActiveControl(), d->edConName);
    Application().PostChar(*d->edConName, '\r');
    Application().ProcessMessages();
    EXPECT_EQ(d->ActiveControl(), d->btnOk);
    EXPECT_EQ(d->edConName->Caption(), "");
}

TEST_F(GeneConditionTest, DateConditionsAreListedWithTheirCaptionsAndDefaultRecords) {
    AddPanel("sp06", CN("到期区间"));
    AddEdit("ed02");
    TMaskEdit* ed07 = AddEdit("ed07");
    AddEdit("ed09");
    auto* chk = new TCheckBox(form);
    chk->SetName("chk10");
    chk->SetParent(form->tsOption1);
    // Labels: one on ed07; one on ed02, which the condition caption outranks.
    for (auto [edit, caption] : {std::pair{ed07, "L7"}, std::pair{static_cast<TMaskEdit*>(form->FindComponent("ed02")), "L2"}}) {
        auto* label = new TDBLabel(form);
        label->SetParent(form->tsOption1);
        label->SetCaption(caption);
        label->SetFocusControl(edit);
    }
    DeclareDates("sp06,ed02,chk10,edMissing,ed07,ed09");

    TfrmGeneCondition* d = OpenDialog();
    ASSERT_EQ(d->cbodatecondition->Items().Count(), 4);  // the check box and the missing name add nothing
    const std::string captions[] = {CN("到期区间"), "c", "L7", "ed09"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d->cbodatecondition->Items()[i], captions[i]) << i;

    ASSERT_EQ(form->RelativeDates.Count(), 4);
    EXPECT_EQ(Record(0), Rec({"0", "sp06", "N", "0", "0", "0", "0", "N", "0", "0", "0", "0", "D"}));
    EXPECT_EQ(Record(1), Rec({"1", "ed02", "N", "0", "0", "0", "0", "D"}));
    EXPECT_EQ(Record(3), Rec({"1", "ed09", "N", "0", "0", "0", "0", "D"}));

    // The first condition, a range, is on show with both rows switched off.
    EXPECT_TRUE(d->gbDateFields->Enabled());
    EXPECT_EQ(d->cbodatecondition->ItemIndex(), 0);
    EXPECT_TRUE(d->pnSp->Visible());
    EXPECT_FALSE(d->pnEdit->Visible());
    for (TControl* c : std::initializer_list<TControl*>{d->seSetDay_B1, d->cboSetDay_B1, d->cboSetDay_B2, d->seSetDay_B2,
                                                        d->seSetDay_E1, d->cboSetDay_E1, d->cboSetDay_E2, d->seSetDay_E2})
        EXPECT_FALSE(c->Enabled()) << c->Name();
}

TEST_F(GeneConditionTest, EditedRowsAreStoredInTheRecordLayout) {
    AddPanel("sp06", "range");
    AddEdit("ed02");
    DeclareDates("sp06,ed02");
    TfrmGeneCondition* d = OpenDialog();

    // Start row of the range: one month on, first day.
    d->spDate_B->Click();
    EXPECT_TRUE(d->seSetDay_B1->Enabled());
    EXPECT_TRUE(d->seSetDay_B2->Enabled());
    d->seSetDay_B1->SetFocus();
    d->seSetDay_B1->TypeText("1");
    d->cboSetDay_B1->SetFocus();
    d->cboSetDay_B1->TypeText(CN("月"));
    d->cboSetDay_B2->SetFocus();
    d->cboSetDay_B2->TypeText(CN("第一天"));
    EXPECT_EQ(Record(0), Rec({"0", "sp06", "Y", "1", "1", "1", "0", "N", "0", "0", "0", "0", "D"}));
    // End row: two weeks back, last day.
    d->spDate_E->Click();
    d->seSetDay_E1->SetFocus();
    d->seSetDay_E1->TypeText("-2");
    d->cboSetDay_E2->SetFocus();
    d->cboSetDay_E2->TypeText(CN("最后一天"));
    EXPECT_EQ(Record(0), Rec({"0", "sp06", "Y", "1", "1", "1", "0", "Y", "-2", "0", "2", "0", "D"}));

    // The single edit shows its own row; its record keeps its own layout.
    d->cbodatecondition->SetFocus();
    d->cbodatecondition->SetItemIndex(1);
    EXPECT_FALSE(d->pnSp->Visible());
    EXPECT_TRUE(d->pnEdit->Visible());
    EXPECT_FALSE(d->edSetDate->Checked());
    EXPECT_FALSE(d->seSetDay1->Enabled());
    d->edSetDate->Click();
    d->seSetDay2->SetFocus();
    d->seSetDay2->TypeText("10");
    d->seSetDay1->SetFocus();
    d->seSetDay1->TypeText("3");
    EXPECT_EQ(Record(1), Rec({"1", "ed02", "Y", "3", "0", "0", "10", "D"}));

    // Back on the range: its rows come back from its record, which stays as it was.
    d->cbodatecondition->SetFocus();
    d->cbodatecondition->SetItemIndex(0);
    EXPECT_TRUE(d->spDate_B->Checked());
    EXPECT_EQ(d->seSetDay_B1->Caption(), "1");
    EXPECT_EQ(d->cboSetDay_B1->ItemIndex(), 1);
    EXPECT_EQ(d->cboSetDay_B2->ItemIndex(), 1);
    EXPECT_FALSE(d->seSetDay_B2->Enabled());
    EXPECT_TRUE(d->spDate_E->Checked());
    EXPECT_EQ(d->seSetDay_E1->Caption(), "-2");
    EXPECT_EQ(d->cboSetDay_E2->ItemIndex(), 2);
    EXPECT_EQ(Record(0), Rec({"0", "sp06", "Y", "1", "1", "1", "0", "Y", "-2", "0", "2", "0", "D"}));
    EXPECT_EQ(Record(1), Rec({"1", "ed02", "Y", "3", "0", "0", "10", "D"}));

    // Unticking switches the row off and is stored at once.
    d->spDate_E->Click();
    EXPECT_FALSE(d->seSetDay_E1->Enabled());
    EXPECT_EQ(Record(0), Rec({"0", "sp06", "Y", "1", "1", "1", "0", "N", "-2", "0", "2", "0", "D"}));
}

TEST_F(GeneConditionTest, ChangesMadeBeforeTheUserEntersARowAreNotStored) {
    AddEdit("ed02");
    AddEdit("ed03");
    DeclareDates("ed02,ed03");
    TfrmGeneCondition* d = OpenDialog();
    d->edSetDate->Click();  // the tick itself is stored at once
    const std::string ticked = Rec({"1", "ed02", "Y", "0", "0", "0", "0", "D"});
    EXPECT_EQ(Record(0), ticked);
    d->seSetDay1->SetCaption("5");
    d->cboSetDay1->SetItemIndex(1);
    EXPECT_EQ(Record(0), ticked);
    d->cboSetDay1->SetFocus();  // entering sets the editing flag
    d->seSetDay1->SetCaption("6");
    const std::string edited = Rec({"1", "ed02", "Y", "6", "1", "0", "0", "D"});
    EXPECT_EQ(Record(0), edited);
    // Choosing a condition clears the flag again.
    d->cbodatecondition->SetFocus();
    d->cbodatecondition->SetItemIndex(1);
    d->cbodatecondition->SetItemIndex(0);
    d->seSetDay1->SetCaption("7");
    EXPECT_EQ(Record(0), edited);
}

TEST_F(GeneConditionTest, FirstOrLastDayDisablesTheDaysButKeepsThem) {
    AddPanel("sp06", "range");
    AddEdit("ed02");
    DeclareDates("sp06,ed02");
    TfrmGeneCondition* d = OpenDialog();

    // The start row of the range and the single row; both keep mode and days in fields 6 and 7.
    struct Case {
        int item;
        TCheckBox* tick;
        TComboBox* mode;
        TVelSpinEdit* days;
    };
    const Case cases[] = {
        {0, d->spDate_B, d->cboSetDay_B2, d->seSetDay_B2},
        {1, d->edSetDate, d->cboSetDay2, d->seSetDay2},
    };
    for (const Case& c : cases) {
        d->cbodatecondition->SetItemIndex(c.item);
        c.tick->Click();
        c.days->SetFocus();
        c.days->TypeText("4");
        for (int mode : {1, 2, 0}) {
            c.mode->SetFocus();
            c.mode->SetItemIndex(mode);
            EXPECT_EQ(c.days->Enabled(), mode == 0) << c.item << "/" << mode;
            std::string record = Record(c.item);
            EXPECT_EQ(GetDelimitedField(record, "\x03", 6), std::to_string(mode)) << c.item;
            EXPECT_EQ(GetDelimitedField(record, "\x03", 7), "4") << c.item;
        }
        // Ticking the row again does not wake the days while the mode ignores them.
        c.mode->SetItemIndex(2);
        c.tick->Click();
        c.tick->Click();
        EXPECT_FALSE(c.days->Enabled()) << c.item;
    }
}

TEST_F(GeneConditionTest, LeavingANumberFieldWithoutANumberGivesZero) {
    AddPanel("sp06", "range");
    DeclareDates("sp06");
    TfrmGeneCondition* d = OpenDialog();
    d->spDate_B->Click();
    const std::pair<const char*, const char*> cases[] = {
        {"abc", "0"}, {"", "0"}, {"00", "0"}, {"-0", "0"}, {"12", "12"}, {"-3", "-3"},
    };
    for (TVelSpinEdit* edit : {d->seSetDay_B1, d->seSetDay1}) {
        for (auto [typed, left] : cases) {
            edit->SetCaption(typed);
            (edit == d->seSetDay1 ? d->seSetDay1Exit(edit) : d->seSetDay_B1Exit(edit));
            EXPECT_EQ(edit->Caption(), left) << edit->Name() << " '" << typed << "'";
        }
    }
    // The exit runs when the focus leaves the field, and the result reaches the record.
    d->seSetDay_B1->SetFocus();
    d->seSetDay_B1->SetCaption("x");
    d->cboSetDay_B1->SetFocus();
    EXPECT_EQ(d->seSetDay_B1->Caption(), "0");
    EXPECT_EQ(GetDelimitedField(Record(0), "\x03", 4), "0");
}

TEST_F(GeneConditionTest, EmptyOrBlankNameIsRefusedAndTheDialogStays) {
    int turns = 0;
    auto refuse = [&](const std::string& name) {
        return [&, name](TfrmGeneCondition& d) {
            ++turns;
            size_t before = presenter.shown.size();
            PressOk(d, name);
            ASSERT_EQ(presenter.shown.size(), before + 1);
            const DialogRequest& r = presenter.shown.back().request;
            EXPECT_EQ(r.text, CN("方案名不可空白!"));
            EXPECT_EQ(r.type, TMsgDlgType::mtError);
            EXPECT_EQ(r.buttons, mbOK);
            EXPECT_EQ(d.ActiveControl(), d.edConName);
            EXPECT_EQ(d.ModalResult(), mrNone);
        };
    };
    Variant answer = RunModal({refuse(""), refuse("   ")});
    EXPECT_EQ(turns, 2);  // the dialog was still there for the second try
    EXPECT_TRUE(validator->asked.empty());
    EXPECT_EQ(answer, Variant::Of({Variant(""), Variant(""), Variant("")}));
}

TEST_F(GeneConditionTest, ExistingNameAsksBeforeReplacing) {
    validator->found = true;
    presenter.QueueAnswer(mrCancel);
    presenter.QueueAnswer(mrOk);
    std::string fieldsAtOpen = form->DateFields;
    Variant answer = RunModal({
        [&](TfrmGeneCondition& d) {
            EXPECT_EQ(d.Caption(), "QMLK07[DEMO]");
            PressOk(d, " Plan A ");
            const DialogRequest& r = presenter.shown.back().request;
            EXPECT_EQ(r.text, CN("此方案名已存在！是否将原来的方案替换为此方案?"));
            EXPECT_EQ(r.type, TMsgDlgType::mtConfirmation);
            EXPECT_EQ(r.buttons, mbOK | mbCancel);
            // Cancel: back on the name, nothing replaced.
            EXPECT_EQ(d.ActiveControl(), d.edConName);
            EXPECT_FALSE(d.ReplaceFlag);
            EXPECT_EQ(d.ModalResult(), mrNone);
        },
        [&](TfrmGeneCondition& d) { PressOk(d, " Plan A "); },
    });
    EXPECT_EQ(answer, Variant::Of({Variant(" Plan A "), Variant(fieldsAtOpen), Variant(true)}));
    ASSERT_EQ(validator->asked.size(), 2u);
    const auto& args = validator->asked[0];
    EXPECT_EQ(args[0].ToString(), "GENES");
    EXPECT_EQ(args[1].ToString(), "01");
    EXPECT_EQ(args[3], Variant::Of({Variant(" Plan A "), Variant("DS"), Variant("QMLK07")}));  // as typed
    // The dialog is gone with its answer.
    for (TComponent* c : form->ComponentList()) EXPECT_EQ(dynamic_cast<TfrmGeneCondition*>(c), nullptr);
}

TEST_F(GeneConditionTest, NewNameOrFailedQueryClosesWithoutAsking) {
    AddEdit("ed02");
    DeclareDates("ed02");
    for (bool fails : {false, true}) {
        validator->fails = fails;
        presenter.shown.clear();
        Variant answer = RunModal({[](TfrmGeneCondition& d) {
            d.edSetDate->Click();
            PressOk(d, "Plan B");
        }});
        EXPECT_TRUE(presenter.shown.empty()) << fails;
        EXPECT_EQ(answer, Variant::Of({Variant("Plan B"), Variant(form->DateFields), Variant(false)})) << fails;
        // The records made in the dialog stay with the owner.
        ASSERT_EQ(form->RelativeDates.Count(), 1);
        EXPECT_EQ(Record(0), Rec({"1", "ed02", "Y", "0", "0", "0", "0", "D"}));
    }
}

TEST_F(GeneConditionTest, CancelAnswersThreeEmptyTexts) {
    validator->found = true;
    Variant answer = RunModal({[](TfrmGeneCondition& d) {
        d.edConName->TypeText("Plan C");
        d.btnCancel->Click();
    }});
    EXPECT_EQ(answer, Variant::Of({Variant(""), Variant(""), Variant("")}));
    EXPECT_TRUE(validator->asked.empty());
}
