#include "controls/ext_page_control.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "platform/ui/stdctrls.h"
#include "tests/controls/controls_fixture.h"

using namespace vel;
using vel::test::ControlsTest;
using vel::test::OpsOf;

namespace {

class TfrmPageProbe : public TForm {
    VEL_CLASS(TfrmPageProbe, TForm)
public:
    using TForm::TForm;
    TExtPageControl* pgOption = nullptr;
    TTabSheet* tsOne = nullptr;
    TTabSheet* tsTwo = nullptr;
    TTabSheet* tsThree = nullptr;
    TEdit* edOne = nullptr;
    std::vector<std::string> log;
    bool allowChange = true;

    void pgOptionChange(TComponent*) { log.push_back("change " + pgOption->ActivePage()->Name()); }
    void pgOptionChanging(TComponent*, bool& allow) {
        log.push_back("changing");
        allow = allowChange;
    }
    void SheetShow(TComponent* sheet) { log.push_back("show " + sheet->Name()); }
    void SheetHide(TComponent* sheet) { log.push_back("hide " + sheet->Name()); }
};

VEL_DEFINE_FORM(TfrmPageProbe,
    b.Field("pgOption", &TfrmPageProbe::pgOption); b.Field("tsOne", &TfrmPageProbe::tsOne);
    b.Field("tsTwo", &TfrmPageProbe::tsTwo); b.Field("tsThree", &TfrmPageProbe::tsThree);
    b.Field("edOne", &TfrmPageProbe::edOne);
    b.Method<TNotifyEvent>("pgOptionChange", &TfrmPageProbe::pgOptionChange);
    b.Method<TTabChangingEvent>("pgOptionChanging", &TfrmPageProbe::pgOptionChanging);
    b.Method<TNotifyEvent>("SheetShow", &TfrmPageProbe::SheetShow);
    b.Method<TNotifyEvent>("SheetHide", &TfrmPageProbe::SheetHide))

FormResource kPageProbe("TfrmPageProbe", R"(
object frmPageProbe: TfrmPageProbe
  Width = 400
  Height = 300
  object pgOption: TExtPageControl
    Width = 300
    Height = 200
    ActivePage = tsTwo
    OnChange = pgOptionChange
    OnChanging = pgOptionChanging
    object tsOne: TTabSheet
      Caption = 'One'
      OnShow = SheetShow
      OnHide = SheetHide
      object edOne: TEdit
      end
    end
    object tsTwo: TTabSheet
      Caption = 'Second'
      OnShow = SheetShow
      OnHide = SheetHide
    end
    object tsThree: TTabSheet
      Caption = 'Three'
      OnShow = SheetShow
      OnHide = SheetHide
    end
  end
end
)");

struct PageTest : ControlsTest {
    void SetUp() override {
        ControlsTest::SetUp();
        f = CreateForm<TfrmPageProbe>(nullptr);
    }
    void TearDown() override {
        FreeComponent(f);
        ControlsTest::TearDown();
    }
    TfrmPageProbe* f = nullptr;
};

}  // namespace

TEST_F(PageTest, ResourceBuildsThePagesAndShowsOnlyTheActiveOne) {
    TExtPageControl& pg = *f->pgOption;
    ASSERT_EQ(pg.PageCount(), 3);
    EXPECT_EQ(pg.Pages(0), f->tsOne);
    EXPECT_EQ(pg.ActivePage(), f->tsTwo);
    EXPECT_EQ(pg.ActivePageIndex(), 1);
    EXPECT_TRUE(f->log.empty());  // no page events while the form is read
    EXPECT_TRUE(f->tsTwo->Visible());
    EXPECT_FALSE(f->tsOne->Visible());
    EXPECT_FALSE(f->edOne->CanFocus() && f->Visible());
    f->Show();
    EXPECT_FALSE(f->edOne->CanFocus());  // it lies on a hidden page
    // Sheets fill the display area below the tabs (tab height 13 + 4).
    EXPECT_EQ(f->tsThree->BoundsRect(), (TRect{4, 23, 296, 196}));
    pg.SetHeight(100);
    EXPECT_EQ(f->tsThree->BoundsRect(), (TRect{4, 23, 296, 96}));
    f->tsThree->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(f->tsThree->BoundsRect(), (TRect{4, 23, 296, 96}));
}

TEST_F(PageTest, SettingTheActivePageShowsAndHidesWithoutChangeEvents) {
    TExtPageControl& pg = *f->pgOption;
    pg.SetActivePageIndex(0);
    EXPECT_EQ(f->log, (std::vector<std::string>{"hide tsTwo", "show tsOne"}));
    EXPECT_TRUE(f->tsOne->Visible());
    EXPECT_FALSE(f->tsTwo->Visible());
    pg.SetActivePageIndex(9);
    EXPECT_EQ(pg.ActivePage(), nullptr);
    TPageControl other(nullptr);
    TTabSheet foreign(nullptr);
    foreign.SetPageControl(&other);
    EXPECT_THROW(pg.SetActivePage(&foreign), Exception);
}

TEST_F(PageTest, PageMovesAskOnChangingWrapRoundAndSkipHiddenTabs) {
    TExtPageControl& pg = *f->pgOption;
    EXPECT_TRUE(pg.SelectNextPage(true));
    EXPECT_EQ(pg.ActivePage(), f->tsThree);
    EXPECT_EQ(f->log, (std::vector<std::string>{"changing", "hide tsTwo", "show tsThree", "change tsThree"}));
    EXPECT_TRUE(pg.SelectNextPage(true));
    EXPECT_EQ(pg.ActivePage(), f->tsOne);  // round to the first
    EXPECT_TRUE(pg.SelectNextPage(false));
    EXPECT_EQ(pg.ActivePage(), f->tsThree);

    f->tsOne->SetTabVisible(false);
    EXPECT_EQ(pg.TabCount(), 2);
    EXPECT_EQ(f->tsThree->TabIndex(), 1);
    EXPECT_EQ(f->tsOne->TabIndex(), -1);
    EXPECT_EQ(pg.PageForTab(0), f->tsTwo);
    pg.SelectNextPage(true);
    EXPECT_EQ(pg.ActivePage(), f->tsTwo);
    EXPECT_EQ(pg.FindNextPage(f->tsThree, true, false), f->tsOne);

    f->log.clear();
    f->allowChange = false;
    EXPECT_FALSE(pg.SelectNextPage(true));
    EXPECT_FALSE(pg.ClickTab(1));
    EXPECT_EQ(pg.ActivePage(), f->tsTwo);
    EXPECT_EQ(f->log, (std::vector<std::string>{"changing", "changing"}));
    f->allowChange = true;
    EXPECT_TRUE(pg.ClickTab(1));
    EXPECT_EQ(pg.ActivePage(), f->tsThree);
    EXPECT_FALSE(pg.ClickTab(1));  // already there: nothing asked
    EXPECT_FALSE(pg.ClickTab(5));
}

TEST_F(PageTest, PageKeysOnTheFocusedControlMovePagesAndAreConsumed) {
    TExtPageControl& pg = *f->pgOption;
    f->Show();
    f->SetActiveControl(&pg);
    f->SetKeyPreview(false);
    struct Case { uint16_t key; TShiftState shift; TTabSheet* TfrmPageProbe::*expected; } cases[] = {
        {VK_TAB, ssCtrl, &TfrmPageProbe::tsThree},
        {VK_TAB, ssCtrl, &TfrmPageProbe::tsOne},           // round
        {VK_TAB, ssCtrl | ssShift, &TfrmPageProbe::tsThree},
        {VK_PRIOR, ssCtrl, &TfrmPageProbe::tsTwo},
        {VK_NEXT, ssCtrl, &TfrmPageProbe::tsThree},
        {VK_RIGHT, 0, &TfrmPageProbe::tsThree},            // arrows stop at the last tab
        {VK_LEFT, 0, &TfrmPageProbe::tsTwo},
        {VK_LEFT, 0, &TfrmPageProbe::tsOne},
        {VK_LEFT, 0, &TfrmPageProbe::tsOne},
    };
    for (const auto& c : cases) {
        Application().PostKey(pg, c.key, c.shift);
        Application().ProcessMessages();
        EXPECT_EQ(pg.ActivePage(), f->*c.expected) << c.key << " " << c.shift;
    }
    EXPECT_EQ(f->ActiveControl(), &pg);  // Ctrl+Tab moved no focus
}

TEST_F(PageTest, HidingOrRemovingTheActivePageMovesToTheNextTab) {
    TExtPageControl& pg = *f->pgOption;
    f->tsTwo->SetTabVisible(false);
    EXPECT_EQ(pg.ActivePage(), f->tsThree);
    f->tsThree->SetPageIndex(0);
    EXPECT_EQ(pg.Pages(0), f->tsThree);
    EXPECT_EQ(f->tsOne->PageIndex(), 1);
    FreeComponent(f->tsThree);
    f->tsThree = nullptr;
    EXPECT_EQ(pg.PageCount(), 2);
    EXPECT_EQ(pg.ActivePage(), f->tsOne);
    f->tsTwo->SetPageControl(nullptr);
    EXPECT_EQ(pg.PageCount(), 1);
    EXPECT_EQ(f->tsTwo->PageControl(), nullptr);
}

TEST_F(PageTest, ExtendedTabsAreDrawnInTheCaptionColours) {
    TExtPageControl& pg = *f->pgOption;
    f->tsOne->SetTabVisible(false);  // the tabs now read "Second", "Three"
    pg.SetActivePage(f->tsThree);
    // Fixed tabs: all as wide as the widest caption ("Second", 36) + 12; 17 high from (2, 2).
    EXPECT_EQ(pg.TabRect(0), (TRect{2, 2, 50, 19}));
    EXPECT_EQ(pg.TabRect(1), (TRect{50, 2, 98, 19}));
    TCanvas canvas;
    pg.Paint(canvas);
    auto fills = OpsOf(canvas, DrawOp::FillRect);
    auto texts = OpsOf(canvas, DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    ASSERT_GE(fills.size(), 2u);
    // The inactive tab: its whole rectangle, text 2 lower, not bold.
    EXPECT_EQ(fills[fills.size() - 2].rect, (TRect{2, 2, 50, 19}));
    EXPECT_EQ(fills[fills.size() - 2].color, clInactiveCaption);
    EXPECT_EQ(texts[0].text, "Second");
    EXPECT_EQ(texts[0].color, clInactiveCaptionText);
    EXPECT_EQ(texts[0].font.style & fsBold, 0);
    EXPECT_EQ(texts[0].rect.left, 2 + (48 - 36) / 2);
    EXPECT_EQ(texts[0].rect.top, 4 + (15 - 13) / 2);
    // The active tab: shrunk by 2, bold.
    EXPECT_EQ(fills.back().rect, (TRect{52, 4, 96, 17}));
    EXPECT_EQ(fills.back().color, clActiveCaption);
    EXPECT_EQ(texts[1].text, "Three");
    EXPECT_EQ(texts[1].color, clCaptionText);
    EXPECT_NE(texts[1].font.style & fsBold, 0);
    EXPECT_EQ(texts[1].rect.left, 52 + (44 - 30) / 2);
    EXPECT_EQ(texts[1].rect.top, 4);
    EXPECT_EQ(pg.Canvas(), nullptr);
}

TEST_F(PageTest, OnDrawTabReplacesTheTabDrawing) {
    TExtPageControl& pg = *f->pgOption;
    std::vector<std::string> calls;
    SetEventProp(pg, "OnDrawTab", std::any(TDrawTabEvent("draw", nullptr,
        [&](TComponent* sender, int tab, const TRect& r, bool active) {
            auto* control = static_cast<TPageControl*>(sender);
            control->Canvas()->TextOut(r.left, r.top, "custom");
            calls.push_back(std::to_string(tab) + (active ? " active" : "") + " " + std::to_string(r.left));
        })));
    TCanvas canvas;
    pg.Paint(canvas);
    EXPECT_EQ(calls, (std::vector<std::string>{"0 2", "1 active 50", "2 98"}));
    auto texts = OpsOf(canvas, DrawOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "custom");
    EXPECT_TRUE(IsPublishedProp(pg, "OnDrawTab"));
}
