#include <string>
#include <vector>

#include "controls/select_panel.h"
#include "platform/text/codepage.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "tests/controls/controls_fixture.h"

using namespace vel;
using vel::test::ControlsTest;

namespace {

// A form that records the lookup messages it is sent.
struct LookupForm : TForm {
    using TForm::TForm;
    std::vector<std::string> log;
    void WndProc(TMessage& m) override {
        if (m.msg == 1034) {
            auto* target = reinterpret_cast<TComponent*>(m.lParam);
            log.push_back("lookup " + target->Name() + (m.wParam == 0 ? "" : " wParam!"));
            return;
        }
        TForm::WndProc(m);
    }
};

// A variant as text: arrays in brackets, chr(4) and chr(5) as <4> and <5>.
std::string Show(const Variant& v) {
    if (v.IsArray()) {
        std::string s = "[";
        for (int i = v.LowBound(); i <= v.HighBound(); ++i) s += (i > v.LowBound() ? "|" : "") + Show(v[i]);
        return s + "]";
    }
    std::string s = v.ToString();
    if (s == "\x04") return "<4>";
    if (s == "\x05") return "<5>";
    return s;
}

std::vector<std::string> Row(const TListItem& item) {
    std::vector<std::string> r{item.caption};
    for (int i = 0; i < item.subItems.Count(); ++i) r.push_back(item.subItems[i]);
    return r;
}

std::vector<std::vector<std::string>> Rows(const TSelectPanel& p) {
    std::vector<std::vector<std::string>> out;
    for (int i = 0; i < p.ListBox->ItemCount(); ++i) out.push_back(Row(*p.ListBox->Item(i)));
    return out;
}

std::vector<std::string> Captions(const TSelectPanel& p) {
    std::vector<std::string> out;
    for (const auto& c : p.ListBox->Columns()) out.push_back(c.caption);
    return out;
}

TRect Bounds(const TControl* c) { return c->BoundsRect(); }
TRect At(int l, int t, int w, int h) { return TRect{l, t, l + w, t + h}; }

struct SelectPanelTest : ControlsTest {
    void SetUp() override {
        ControlsTest::SetUp();
        form = new LookupForm(nullptr);
        other = new TEdit(form);
        other->SetName("edOther");
        other->SetParent(form);
        form->Show();
    }
    void TearDown() override {
        FreeComponent(form);
        ControlsTest::TearDown();
    }
    TSelectPanel* NewPanel(TSelectStyle style = TSelectStyle::sp_Range) {
        auto* p = new TSelectPanel(form);
        p->SetParent(form);
        p->SetStyle(style);
        return p;
    }
    // Types both bounds and moves the focus out of the panel.
    void EnterRange(TSelectPanel* p, const std::string& b, const std::string& e) {
        p->edBegin->SetFocus();
        p->edBegin->TypeText(b);
        p->edFinal->SetFocus();
        p->edFinal->TypeText(e);
        other->SetFocus();
    }
    LookupForm* form = nullptr;
    TEdit* other = nullptr;
};

}  // namespace

TEST_F(SelectPanelTest, SubControlsAreOwnedAndNamedAndDefaultsHold) {
    auto* p = NewPanel();
    for (const char* name : {"chkUserChoice", "pnlRange", "lblBegin", "edBegin", "btnBegin", "lblFinal", "edFinal",
                             "btnFinal", "pnlList", "btnList", "btnDeleteSelected", "btnClearList", "ListBox"})
        EXPECT_NE(p->FindComponent(name), nullptr) << name;
    EXPECT_EQ(p->Width(), 353);
    EXPECT_EQ(p->Height(), 45);
    EXPECT_EQ(GetPropText(*p, "Style"), "sp_Range");
    EXPECT_EQ(GetPropValue(*p, "GlyphIndex").ToInt(), 8);
    EXPECT_EQ(GetPropValue(*p, "OtherWidth").ToInt(), 200);
    EXPECT_EQ(GetPropValue(*p, "OtherHeight").ToInt(), 105);
    EXPECT_EQ(GetPropValue(*p, "HintWord").ToString(), CN("区间选择"));
    EXPECT_EQ(p->chkUserChoice->Caption(), CN("区间选择"));
    EXPECT_EQ(p->edBegin->Hint(), CN("区间选择-起始信息"));
    EXPECT_EQ(p->btnClearList->Hint(), CN("多选-删除己选信息"));
    EXPECT_EQ(p->edBegin->Height(), 24);
    EXPECT_TRUE(p->ListBox->MultiSelect());
    EXPECT_FALSE(p->ListBox->ShowColumnHeaders());
    EXPECT_EQ(p->ListBox->Columns().size(), 0u);
    EXPECT_EQ(p->GlyphButtons().size(), 3u);
}

TEST_F(SelectPanelTest, SavedTextsOfAllFourStylesRestoreToTheSameValue) {
    struct Case {
        TSelectStyle style;
        bool userChoice;
        std::string expected;
    } cases[] = {
        {TSelectStyle::sp_Range, true, "sp_Range\x03" "A01\x03" "B02"},
        {TSelectStyle::sp_Discrete, true, "sp_Discrete\x03" "A01\x01" "Bolt\x04" "A02\x01" "Nut\x04" "A03\x01\x04"},
        {TSelectStyle::sp_UserChoice, true, "sp_UserChoice\x03" "True\x03" "A01\x03" "B02"},
        {TSelectStyle::sp_UserChoice, false,
         "sp_UserChoice\x03" "False\x03" "A01\x01" "Bolt\x04" "A02\x01" "Nut\x04" "A03\x01\x04"},
    };
    for (const auto& c : cases) {
        auto* source = NewPanel(c.style);
        source->SetUserChoice(c.userChoice);
        source->edBegin->SetText("A01");
        source->edFinal->SetText("B02");
        ASSERT_TRUE(source->AddRow({"A01", "Bolt"}));
        ASSERT_TRUE(source->AddRow({"A02", "Nut"}));
        ASSERT_TRUE(source->AddRow({"A03"}));
        std::string saved = source->PanelSavedText();
        EXPECT_EQ(saved, c.expected);

        auto* target = NewPanel(c.style);
        target->SetUserChoice(!c.userChoice);
        target->AddRow({"stale"});
        EXPECT_TRUE(target->RestorePanelSavedText(saved));
        EXPECT_EQ(target->IsRangeMode(), source->IsRangeMode());
        EXPECT_EQ(Show(target->PanelValue()), Show(source->PanelValue())) << saved;
        EXPECT_EQ(target->PanelSavedText(), saved);
    }
}

TEST_F(SelectPanelTest, MalformedListTextKeepsTheRowsReadBeforeIt) {
    auto* p = NewPanel(TSelectStyle::sp_Discrete);
    p->AddRow({"old"});
    // The second row was cut off: it lacks its closing chr(4).
    std::string cut = "A01\x01" "Bolt\x04" "A02\x01" "Nu";
    try {
        p->RestorePanelSavedText("sp_Discrete\x03" + cut);
        ADD_FAILURE() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "parse spSaveValue error");
    }
    EXPECT_EQ(Rows(*p), (std::vector<std::vector<std::string>>{{"A01", "Bolt"}}));

    auto* choice = NewPanel(TSelectStyle::sp_UserChoice);
    EXPECT_FALSE(choice->RestorePanelSavedText("sp_UserChoice\x03" "False\x03" + cut));  // quietly
    EXPECT_FALSE(choice->IsRangeMode());
    EXPECT_EQ(choice->ListRowCount(), 1);

    // An empty list field empties the list and succeeds; an unknown style changes nothing.
    EXPECT_TRUE(p->RestorePanelSavedText("sp_Discrete\x03"));
    EXPECT_EQ(p->ListRowCount(), 0);
    p->AddRow({"kept"});
    EXPECT_TRUE(p->RestorePanelSavedText("sp_Other\x03" "x\x04"));
    EXPECT_EQ(p->ListRowCount(), 1);
}

TEST_F(SelectPanelTest, PanelValueFormsAndTheValueByName) {
    auto* p = NewPanel();
    p->edBegin->SetText("A01");
    EXPECT_EQ(Show(p->PanelValue()), "[<4>|A01|]");
    EXPECT_EQ(Show(GetPropValue(*p, "PanelValue")), "[<4>|A01|]");

    p->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(Show(p->PanelValue()), "[<5>]");
    p->AddRow({"B", "Nut"});
    p->AddRow({"A"});
    Variant params = Variant::Array(1, 2);
    p->PanelValue(params, 2);
    EXPECT_EQ(Show(params[2]), "[<5>|[B|Nut]|[A|]]");  // list order, rows filled up
}

TEST_F(SelectPanelTest, RangeIsPutInOrderWhenTheFocusLeavesThePanelForEveryValueType) {
    struct Case {
        TValueType type;
        TDateType dateType;
        const char* begin;
        const char* end;
        const char* orderedBegin;
        const char* orderedEnd;
    } cases[] = {
        {TValueType::vt_String, TDateType::dt_NoneCare, "B", "A", "A", "B"},
        {TValueType::vt_String, TDateType::dt_NoneCare, " B ", "A", "A", "B"},
        {TValueType::vt_String, TDateType::dt_NoneCare, "100", "20", "100", "20"},
        {TValueType::vt_String, TDateType::dt_NoneCare, "B", "", "B", ""},
        {TValueType::vt_Time, TDateType::dt_NoneCare, "10:00", "09:30", "09:30", "10:00"},
        {TValueType::vt_Number, TDateType::dt_NoneCare, "100", "20", "20", "100"},
        {TValueType::vt_Number, TDateType::dt_NoneCare, "-3", "x", "-3", "x"},  // x reads as 0
        {TValueType::vt_Float, TDateType::dt_NoneCare, "7", "1.05", "1.05", "7.0"},
        {TValueType::vt_Float, TDateType::dt_NoneCare, "12. 5", "3.x", "3.0", "12.5"},
        {TValueType::vt_Date, TDateType::dt_YYYYMMDD, "2004/05", "2004/04/30", "2004/04/30", "2004/05"},
        {TValueType::vt_Date, TDateType::dt_YYYYMMDD, "2004/01/01", "2004/02/30", "2004/02/30", "2004/01/01"},
        {TValueType::vt_Date, TDateType::dt_MMDDYYYY, "12/31/2004", "01/2005", "12/31/2004", "01/2005"},
        {TValueType::vt_Date, TDateType::dt_DDMMYYYY, "02/01/2004", "31/12/2003", "31/12/2003", "02/01/2004"},
        {TValueType::vt_Date, TDateType::dt_YYMMDD, "93/05/01", "92/12/31", "92/12/31", "93/05/01"},
        {TValueType::vt_Date, TDateType::dt_NoneCare, "B", "A", "A", "B"},
        {TValueType::vt_OtherMask, TDateType::dt_NoneCare, "B", "A", "B", "A"},
    };
    auto* p = NewPanel();
    std::vector<std::string> exits;
    p->OnExit = TNotifyEvent("exit", nullptr, [&](TComponent* s) {
        exits.push_back(s->Name() + ":" + static_cast<TSelectPanel*>(s)->edBegin->Text());
    });
    p->SetName("sp02");
    for (const auto& c : cases) {
        p->SetValueType(c.type);
        p->SetDateType(c.dateType);
        exits.clear();
        EnterRange(p, c.begin, c.end);
        std::string label = std::string(c.begin) + ".." + c.end;
        EXPECT_EQ(p->edBegin->Text(), c.orderedBegin) << label;
        EXPECT_EQ(p->edFinal->Text(), c.orderedEnd) << label;
        // One exit, after the ordering, though the focus moved between the edits.
        EXPECT_EQ(exits, std::vector<std::string>{std::string("sp02:") + c.orderedBegin}) << label;
    }
}

TEST_F(SelectPanelTest, DatesAreNotReorderedAgainstTheDiscardTextOrWithoutAutoChange) {
    auto* p = NewPanel();
    p->UseDateValues(1, "/");
    EXPECT_EQ(p->ValueType(), TValueType::vt_Date);
    EXPECT_EQ(p->DateType(), TDateType::dt_YYYYMMDD);
    p->SetUseDiscard(true);
    p->SetDiscard("*");
    EnterRange(p, "2004/05/01", "*");
    EXPECT_EQ(p->edBegin->Text(), "2004/05/01");
    p->SetUseDiscard(false);
    p->SetAutoChangeDateSite(false);
    EnterRange(p, "2004/05/01", "2004/01/01");
    EXPECT_EQ(p->edBegin->Text(), "2004/05/01");

    // An empty masked bound is left alone.
    p->SetAutoChangeDateSite(true);
    p->SetEditMask("9999/99/99;1;_");
    EXPECT_EQ(p->EmptyText(), "____/__/__");
    EnterRange(p, "20040501", "");
    EXPECT_EQ(p->edBegin->Text(), "2004/05/01");
    EXPECT_EQ(p->edFinal->Text(), "____/__/__");

    p->UseDateValues(7, "-");
    EXPECT_EQ(p->DateType(), TDateType::dt_NoneCare);
    EXPECT_EQ(p->DateSign(), "-");
}

TEST_F(SelectPanelTest, ReadRangeDateCompletesYearMonthsAndRefusesTheUnreadable) {
    auto* p = NewPanel();
    p->SetDateSign("/");
    p->SetDateType(TDateType::dt_YYYYMMDD);
    EXPECT_EQ(p->ReadRangeDate("2004/05"), p->ReadRangeDate("2004/05/01"));
    EXPECT_EQ(p->ReadRangeDate("1899/12/31"), 1);
    for (const char* bad : {"", "2004", "2004/1/2/3", "2004/13/01", "2004/x/01", "2003/02/29"})
        EXPECT_EQ(p->ReadRangeDate(bad), 0) << bad;
    p->SetDateType(TDateType::dt_YYYMMDD);
    EXPECT_EQ(p->ReadRangeDate("93/05/01"), p->ReadRangeDate("93/05"));
    p->SetDateType(TDateType::dt_DDMMYYYY);
    double may = p->ReadRangeDate("01/05/2004");
    EXPECT_EQ(p->ReadRangeDate("05/2004"), may);
    p->SetDateType(TDateType::dt_MMDDYYYY);
    EXPECT_EQ(p->ReadRangeDate("05/2004"), may);
    p->SetDateType(TDateType::dt_NoneCare);
    EXPECT_EQ(p->ReadRangeDate("2004/05/01"), 0);
}

TEST_F(SelectPanelTest, StyleChangesSwapTheSizeOnlyToAndFromTheHorizontalRange) {
    auto* p = NewPanel();
    p->SetBounds(0, 0, 394, 64);
    p->SetOtherWidth(203);
    p->SetOtherHeight(98);
    p->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(At(0, 0, p->Width(), p->Height()), At(0, 0, 203, 98));
    EXPECT_EQ(p->OtherWidth(), 394);
    EXPECT_EQ(p->OtherHeight(), 64);
    p->SetStyle(TSelectStyle::sp_UserChoice);
    p->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(At(0, 0, p->Width(), p->Height()), At(0, 0, 203, 98));
    p->SetStyle(TSelectStyle::sp_Range);
    EXPECT_EQ(At(0, 0, p->Width(), p->Height()), At(0, 0, 394, 64));

    // UseVertical swaps once itself; style changes then keep the size.
    p->SetUseVertical(true);
    EXPECT_EQ(At(0, 0, p->Width(), p->Height()), At(0, 0, 203, 98));
    p->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(At(0, 0, p->Width(), p->Height()), At(0, 0, 203, 98));
    p->SetUseVertical(false);  // not in sp_Range: ignored
    EXPECT_TRUE(p->UseVertical());
}

TEST_F(SelectPanelTest, RefusedStyleChangeChangesNothingAndAHandlerMayRedirectIt) {
    auto* p = NewPanel();
    std::vector<std::string> log;
    bool refuse = true;
    p->OnStyleChanging = TStyleChangingEvent("changing", nullptr,
                                             [&](TComponent*, TSelectStyle, TSelectStyle& next, bool& accept) {
                                                 if (refuse) accept = false;
                                                 else next = TSelectStyle::sp_UserChoice;
                                             });
    p->OnStyleChange = TStyleChangeEvent("change", nullptr, [&](TComponent* s, TSelectStyle o, TSelectStyle n) {
        log.push_back(SelectStyleName(o) + ">" + SelectStyleName(n) + " stored " +
                      SelectStyleName(static_cast<TSelectPanel*>(s)->Style()));
    });
    p->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(p->Style(), TSelectStyle::sp_Range);
    EXPECT_EQ(At(0, 0, p->Width(), p->Height()), At(0, 0, 353, 45));
    EXPECT_TRUE(p->pnlRange->Visible());
    EXPECT_FALSE(p->pnlList->Visible());
    EXPECT_TRUE(log.empty());

    refuse = false;
    p->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(p->Style(), TSelectStyle::sp_UserChoice);
    EXPECT_EQ(log, std::vector<std::string>{"sp_Range>sp_UserChoice stored sp_Range"});
    EXPECT_TRUE(p->chkUserChoice->Visible());
}

TEST_F(SelectPanelTest, HorizontalVerticalAndListLayoutsPlaceThePartsExactly) {
    auto* p = NewPanel();
    // Caption line 13 high; sub-panel 348 x 26 at (2, 16); the one-character labels are 11 wide.
    EXPECT_EQ(Bounds(p->pnlRange), At(2, 16, 348, 26));
    EXPECT_EQ(Bounds(p->lblBegin), At(2, 1, 11, 13));
    EXPECT_EQ(Bounds(p->edBegin), At(14, 1, 134, 24));
    EXPECT_EQ(Bounds(p->btnBegin), At(150, 1, 23, 23));
    EXPECT_EQ(Bounds(p->lblFinal), At(175, 1, 11, 13));
    EXPECT_EQ(Bounds(p->edFinal), At(188, 1, 134, 24));
    EXPECT_EQ(Bounds(p->btnFinal), At(324, 1, 23, 23));

    p->SetCanOpenWin(false);
    EXPECT_FALSE(p->btnBegin->Visible() || p->btnFinal->Visible() || p->btnList->Visible());
    EXPECT_EQ(Bounds(p->edBegin), At(14, 1, 159, 24));
    EXPECT_EQ(Bounds(p->lblFinal), At(177, 1, 11, 13));
    EXPECT_EQ(Bounds(p->edFinal), At(190, 1, 159, 24));
    p->SetCanOpenWin(true);

    p->SetBeginWords({"B", CN("起始")});
    p->SetUseVertical(true);  // 200 x 105 now: sub-panel 195 x 86
    EXPECT_EQ(p->lblBegin->Caption(), CN("起始"));
    EXPECT_EQ(Bounds(p->lblBegin), At(2, 12, 22, 13));
    EXPECT_EQ(Bounds(p->edBegin), At(26, 12, 144, 24));
    EXPECT_EQ(Bounds(p->btnBegin), At(171, 12, 23, 23));
    EXPECT_EQ(Bounds(p->lblFinal), At(2, 48, 11, 13));
    EXPECT_EQ(Bounds(p->edFinal), At(26, 48, 144, 24));
    EXPECT_EQ(Bounds(p->btnFinal), At(171, 48, 23, 23));

    p->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(Bounds(p->pnlList), At(2, 16, 195, 86));
    EXPECT_EQ(Bounds(p->ListBox), At(0, 0, 169, 86));
    EXPECT_EQ(Bounds(p->btnList), At(171, 0, 23, 23));
    EXPECT_EQ(Bounds(p->btnDeleteSelected), At(171, 23, 23, 23));
    EXPECT_EQ(Bounds(p->btnClearList), At(171, 46, 23, 23));

    p->SetStyle(TSelectStyle::sp_UserChoice);  // check box 68 x 15 at (16, 14); sub-panels from 29
    EXPECT_EQ(Bounds(p->chkUserChoice), At(16, 14, 68, 15));
    EXPECT_EQ(Bounds(p->pnlRange), At(2, 29, 196, 74));
    EXPECT_EQ(Bounds(p->pnlList), At(2, 29, 196, 74));
    EXPECT_EQ(Bounds(p->edBegin), At(26, 8, 145, 24));
    EXPECT_EQ(p->lblBegin->Caption(), CN("起始"));
}

TEST_F(SelectPanelTest, OneLabelWordServesBothLayouts) {
    auto* p = NewPanel();
    p->SetFinalWords({"to", "x", "y"});
    EXPECT_EQ(p->FinalWords().Count(), 2);
    p->SetBeginWords({"from"});
    EXPECT_EQ(p->lblBegin->Caption(), "from");
    p->SetUseVertical(true);
    EXPECT_EQ(p->lblBegin->Caption(), "from");
    EXPECT_EQ(p->lblFinal->Caption(), "x");
}

TEST_F(SelectPanelTest, CheckBoxClickFlipsBetweenRangeAndListOnce) {
    auto* p = NewPanel(TSelectStyle::sp_UserChoice);
    int typeClicks = 0;
    p->OnTypeClick = TNotifyEvent("type", nullptr, [&](TComponent*) { ++typeClicks; });
    EXPECT_TRUE(p->IsRangeMode());
    EXPECT_TRUE(p->pnlRange->Visible());
    Application().PostClick(*p->chkUserChoice);
    Application().ProcessMessages();
    EXPECT_EQ(typeClicks, 1);
    EXPECT_FALSE(p->UserChoice());
    EXPECT_FALSE(p->IsRangeMode());
    EXPECT_TRUE(p->pnlList->Visible());
    EXPECT_FALSE(p->pnlRange->Visible());
    EXPECT_EQ(Show(p->PanelValue()), "[<5>]");
    p->SetUserChoice(true);
    EXPECT_EQ(typeClicks, 2);
    EXPECT_TRUE(p->pnlRange->Visible());

    // Outside the user-choice style UserChoice is neither applied nor stored.
    auto* range = NewPanel();
    range->SetUserChoice(false);
    EXPECT_TRUE(range->UserChoice());
}

TEST_F(SelectPanelTest, AddRowGrowsColumnsFillsRowsAndSizesColumns) {
    auto* p = NewPanel(TSelectStyle::sp_Discrete);
    EXPECT_FALSE(p->AddRow({}));
    EXPECT_TRUE(p->AddRow({"A01", "Bolt", "M6"}));
    EXPECT_EQ(Captions(*p), (std::vector<std::string>{"Data1", "Data2", "Data3"}));
    EXPECT_TRUE(p->AddRow({"A002", "Nut"}));
    EXPECT_TRUE(p->AddRow({CN("螺丝")}));
    EXPECT_EQ(Captions(*p).size(), 3u);
    EXPECT_EQ(Rows(*p), (std::vector<std::vector<std::string>>{
                            {"A01", "Bolt", "M6"}, {"A002", "Nut", ""}, {CN("螺丝"), "", ""}}));
    // Widest texts in bytes times the width of "W" (6): "Data1"/"A002" 5, "Data2" 5, "Data3" 5.
    EXPECT_EQ(p->ListBox->Columns()[0].width, 30);
    p->AddRow({"X", "A long name"});
    EXPECT_EQ(p->ListBox->Columns()[1].width, 66);

    p->SetColumnCaptions({"Code", "Name"});
    EXPECT_EQ(p->ColumnCaptions().ToVector(), (std::vector<std::string>{"Code", "Name"}));
    SetPropValue(*p, "ColumnsAutoSize", Variant(false));
    p->ListBox->Columns()[0].width = 7;
    p->AddRow({"Y"});
    EXPECT_EQ(p->ListBox->Columns()[0].width, 7);
}

TEST_F(SelectPanelTest, LookupAnswerRowsKeepFourValuesOrJoinWithTheDiscardText) {
    auto six = [](const char* code) {
        return Variant::Of({Variant(code), Variant("Bolt"), Variant("M6"), Variant(3), Variant("e"), Variant("f")});
    };
    Variant answer = Variant::Of({six("A01"), Variant("not a row"), six("A02"), six("A03")});
    auto* p = NewPanel(TSelectStyle::sp_Discrete);
    EXPECT_EQ(p->AddLookupRows(answer, false), 3);
    EXPECT_EQ(Rows(*p)[2], (std::vector<std::string>{"A03", "Bolt", "M6", "3"}));
    EXPECT_EQ(p->ListBox->Columns().size(), 4u);
    p->ClearRows();
    EXPECT_EQ(p->AddLookupRows(Variant::Of({six("A04")}), true), 1);
    EXPECT_EQ(Rows(*p)[0].size(), 6u);

    auto* joined = NewPanel(TSelectStyle::sp_Discrete);
    joined->SetUseDiscard(true);
    joined->SetDiscard(" - ");
    EXPECT_EQ(joined->AddLookupRows(Variant::Of({Variant::Of({Variant("A01"), Variant("Bolt"), Variant("M6")})}), false), 1);
    EXPECT_EQ(Rows(*joined), (std::vector<std::vector<std::string>>{{"A01 - Bolt - M6"}}));
    EXPECT_EQ(joined->AddLookupRows(Variant(), false), 0);
}

TEST_F(SelectPanelTest, DuplicatesAreRemovedAfterSortingByCaption) {
    struct Case {
        TCheckDuplicate mode;
        std::vector<std::string> left;
    } cases[] = {
        {TCheckDuplicate::cd_CaseInsensitive, {"ABC", "B"}},
        {TCheckDuplicate::cd_CheckCase, {"ABC", "abc", "B"}},
    };
    for (const auto& c : cases) {
        auto* p = NewPanel(TSelectStyle::sp_Discrete);
        p->SetCheckDuplicate(c.mode);
        EXPECT_TRUE(p->SortListBox());
        for (const char* caption : {"B", "ABC", "abc", "B"}) p->AddRow({caption});
        std::vector<std::string> left;
        for (const auto& r : Rows(*p)) left.push_back(r[0]);
        // The case-blind sort keeps equal captions in arrival order.
        EXPECT_EQ(left, c.left);
    }

    // Switching the check on in list mode removes what is already there.
    auto* p = NewPanel(TSelectStyle::sp_Discrete);
    for (const char* caption : {"b", "a", "b"}) p->AddRow({caption});
    SetPropValue(*p, "CheckDuplicate", Variant("cd_CheckCase"));
    EXPECT_EQ(p->ListRowCount(), 2);
}

TEST_F(SelectPanelTest, SortByColumnBreaksTiesWithCaptionThenColumnOne) {
    auto* p = NewPanel(TSelectStyle::sp_Discrete);
    p->AddRow({"B", "y", "same"});
    p->AddRow({"A", "z", "same"});
    p->AddRow({"A", "x", "same"});
    p->AddRow({"C", "w", "first"});
    p->ListBox->ColumnClick(2);
    auto order = [&] {
        std::string s;
        for (const auto& r : Rows(*p)) s += r[0] + r[1] + " ";
        return s;
    };
    EXPECT_EQ(order(), "Cw Ax Az By ");
    p->ListBox->ColumnClick(2);
    EXPECT_FALSE(p->SortAscending());
    EXPECT_EQ(order(), "By Az Ax Cw ");
    p->ListBox->ColumnClick(1);
    EXPECT_EQ(order(), "Cw Ax By Az ");
}

TEST_F(SelectPanelTest, DeleteAndClearButtons) {
    auto* p = NewPanel(TSelectStyle::sp_Discrete);
    for (const char* caption : {"a", "b", "c", "d"}) p->AddRow({caption});
    p->ListBox->MouseDownOnRow(1);
    p->ListBox->MouseDownOnRow(2, ssCtrl);
    EXPECT_EQ(p->ListBox->SelCount(), 2);
    bool accept = false;
    p->OnDeleteClick = TDeleteClickEvent("delete", nullptr, [&](TComponent*, bool& a) { a = accept; });
    Application().PostClick(*p->btnDeleteSelected);
    Application().ProcessMessages();
    EXPECT_EQ(p->ListRowCount(), 4);
    accept = true;
    Application().PostClick(*p->btnDeleteSelected);
    Application().ProcessMessages();
    EXPECT_EQ(Rows(*p), (std::vector<std::vector<std::string>>{{"a"}, {"d"}}));

    other->SetFocus();
    int clears = 0;
    p->OnClearClick = TNotifyEvent("clear", nullptr, [&](TComponent*) { ++clears; });
    Application().PostClick(*p->btnClearList);
    Application().ProcessMessages();
    EXPECT_EQ(p->ListRowCount(), 0);
    EXPECT_EQ(clears, 1);
    EXPECT_TRUE(p->ListBox->Focused());
}

TEST_F(SelectPanelTest, LookupButtonsFocusTheirTargetAndSendTheLookupMessage) {
    auto* p = NewPanel(TSelectStyle::sp_UserChoice);
    p->SetName("sp02");
    p->OnOpenWinClick = TOpenWinClickEvent("open", nullptr, [&](TSelectPanel* panel, TWinControl* target) {
        form->log.push_back("open " + panel->Name() + " " + target->Name() +
                            (target->Focused() ? " focused" : ""));
    });
    Application().PostClick(*p->btnFinal);
    Application().ProcessMessages();
    p->SetUserChoice(false);
    Application().PostClick(*p->btnList);
    Application().ProcessMessages();
    EXPECT_EQ(form->log, (std::vector<std::string>{"lookup edFinal", "open sp02 edFinal focused", "lookup ListBox",
                                                  "open sp02 ListBox focused"}));
}

TEST_F(SelectPanelTest, EnablingReachesEveryPartAndFocusGoesToTheListOutOfRangeMode) {
    auto* p = NewPanel(TSelectStyle::sp_Discrete);
    p->SetEnabled(false);
    for (TComponent* c : p->ComponentList()) EXPECT_FALSE(static_cast<TControl*>(c)->Enabled()) << c->Name();
    p->SetEnabled(true);
    for (TComponent* c : p->ComponentList()) EXPECT_TRUE(static_cast<TControl*>(c)->Enabled()) << c->Name();
    p->SetFocus();
    EXPECT_TRUE(p->ListBox->Focused());
}

TEST_F(SelectPanelTest, EditMaskChangeKeepsTheBeginTextWithoutAChangeEvent) {
    auto* p = NewPanel();
    p->edBegin->SetText("20040501");
    int changes = 0;
    p->edBegin->OnChange = TNotifyEvent("change", nullptr, [&](TComponent*) { ++changes; });
    p->SetEditMask("9999/99/99;1;_");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(p->edBegin->Text(), "2004/05/01");
    EXPECT_EQ(p->edFinal->EditMaskText(), "9999/99/99;1;_");
    EXPECT_EQ(p->EmptyText(), "____/__/__");
    p->SetEditMask("");
    EXPECT_EQ(p->EmptyText(), "");
    p->edBegin->SetText("x");
    EXPECT_EQ(changes, 1);
}

TEST_F(SelectPanelTest, PartsReportClicksAndKeysAsThePanelsEvents) {
    auto* p = NewPanel();
    p->SetName("sp02");
    std::vector<std::string> log;
    p->OnClick = TNotifyEvent("click", nullptr, [&](TComponent* s) { log.push_back("click " + s->Name()); });
    p->OnKeyDown = TKeyEvent("key", nullptr, [&](TComponent* s, uint16_t& k, TShiftState) {
        log.push_back("key " + s->Name() + " " + std::to_string(k));
    });
    Application().PostClick(*p->lblBegin);
    Application().PostClick(*p->edBegin);
    Application().PostKey(*p->edFinal, VK_F2);
    Application().ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"click sp02", "click edBegin", "key edFinal 113"}));
}

TEST_F(SelectPanelTest, PanelReadFromAFormResourceKeepsItsSizeAndTakesItsProperties) {
    TForm host(nullptr);
    ReadComponentResource(host, R"(
object frmPanelProbe: TForm
  object sp02: TSelectPanel
    Left = 8
    Width = 203
    Height = 98
    Caption = 'Items'
    BeginWords.Strings = (
      'From'
      'From:')
    ColumnCaptions.Strings = (
      'Code'
      'Name')
    OtherHeight = 64
    OtherWidth = 394
    Style = sp_Discrete
    UserChoice = True
  end
end
)");
    auto* p = FindComponentAs<TSelectPanel>(host, "sp02");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(At(p->Left(), 0, p->Width(), p->Height()), At(8, 0, 203, 98));
    EXPECT_EQ(p->OtherWidth(), 394);
    EXPECT_EQ(p->Style(), TSelectStyle::sp_Discrete);
    EXPECT_EQ(p->BeginWords().ToVector(), (std::vector<std::string>{"From", "From:"}));
    EXPECT_EQ(Captions(*p), (std::vector<std::string>{"Code", "Name"}));
    EXPECT_TRUE(p->pnlList->Visible());
}
