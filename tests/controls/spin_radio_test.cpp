#include "controls/vel_radio.h"
#include "controls/vel_spin_edit.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "tests/controls/controls_fixture.h"

using namespace vel;
using vel::test::ControlsTest;
using vel::test::OpsOf;

TEST_F(ControlsTest, SpinEditDropsSignsAfterTheFirstPlaceAndIgnoresBlankChanges) {
    TVelSpinEdit edit(nullptr);
    std::vector<std::string> changes;
    edit.OnChange = TNotifyEvent("log", nullptr, [&](TComponent*) { changes.push_back(edit.Text()); });
    struct Case { const char* typed; const char* left; } cases[] = {
        {"12+", "12"}, {"12-", "12"}, {"-12", "-12"}, {"+7", "+7"}, {"1+2", "1"}, {"+1+", "+1"},
        {"3-4+", "3"}, {"-", "-"},
    };
    for (const auto& c : cases) {
        changes.clear();
        edit.TypeText(c.typed);
        EXPECT_EQ(edit.Text(), c.left) << c.typed;
        EXPECT_EQ(changes, std::vector<std::string>{c.left}) << c.typed;  // once, for the settled text
    }
    changes.clear();
    edit.TypeText("  ");
    edit.TypeText("");
    EXPECT_TRUE(changes.empty());
}

TEST_F(ControlsTest, SpinEditTypedKeyByKeyThroughTheQueue) {
    TForm form(nullptr);
    auto* edit = new TVelSpinEdit(&form);
    edit->SetParent(&form);
    form.Show();
    for (char ch : std::string("12+x")) Application().PostChar(*edit, ch);  // x is no digit
    Application().ProcessMessages();
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_EQ(edit->Value(), 12);
    edit->SetMaxValue(20);
    edit->SetMinValue(10);
    Application().PostKey(*edit, VK_UP);
    Application().PostKey(*edit, VK_UP);
    Application().ProcessMessages();
    EXPECT_EQ(edit->Text(), "14");
    edit->SetValue(99);
    EXPECT_EQ(edit->Text(), "20");
}

namespace {

struct RadioTest : ControlsTest {
    TVelRadioButton* NewButton(TWinControl& parent, const std::string& caption) {
        auto* b = new TVelRadioButton(&form);
        b->SetParent(&parent);
        b->SetCaption(caption);
        b->OnClick = TNotifyEvent("log", nullptr, [this](TComponent* s) { log.push_back(static_cast<TControl*>(s)->Caption()); });
        return b;
    }
    TForm form{nullptr};
    std::vector<std::string> log;
};

}  // namespace

TEST_F(RadioTest, CheckingOneUnchecksItsSiblingsOnlyAndClicks) {
    auto* panelA = new TPanel(&form);
    panelA->SetParent(&form);
    auto* panelB = new TPanel(&form);
    panelB->SetParent(&form);
    TVelRadioButton* a[] = {NewButton(*panelA, "a0"), NewButton(*panelA, "a1"), NewButton(*panelA, "a2")};
    TVelRadioButton* b = NewButton(*panelB, "b0");
    EXPECT_EQ(a[0]->Width(), 113);
    EXPECT_EQ(a[0]->Height(), 17);
    b->SetChecked(true);
    a[0]->SetChecked(true);
    a[2]->SetChecked(true);
    EXPECT_FALSE(a[0]->Checked());
    EXPECT_FALSE(a[1]->Checked());
    EXPECT_TRUE(a[2]->Checked());
    EXPECT_TRUE(b->Checked());
    // The tab stop follows the check.
    EXPECT_FALSE(a[0]->TabStop());
    EXPECT_TRUE(a[2]->TabStop());
    EXPECT_EQ(log, (std::vector<std::string>{"b0", "a0", "a2"}));

    // A user's click checks; clicking the checked one again raises nothing.
    Application().PostClick(*a[1]);
    Application().PostClick(*a[1]);
    Application().ProcessMessages();
    EXPECT_TRUE(a[1]->Checked());
    EXPECT_FALSE(a[2]->Checked());
    EXPECT_EQ(log.size(), 4u);

    a[0]->SetClicksDisabled(true);
    a[0]->SetChecked(true);
    EXPECT_EQ(log.size(), 4u);
    EXPECT_FALSE(a[1]->Checked());

    int before = a[0]->PaintCount();
    a[0]->SetEnabled(false);
    EXPECT_GT(a[0]->PaintCount(), before);
}

TEST_F(RadioTest, CaptionIsRepaintedInItsOwnColourFromAnOffsetBySize) {
    struct Band { int points, offset; } bands[] = {
        {0, 44}, {1, 17}, {8, 17}, {9, 19}, {15, 19}, {16, 20}, {17, 20}, {18, 21}, {23, 21}, {24, 23},
        {29, 23}, {30, 25}, {35, 25}, {36, 27}, {41, 27}, {42, 29}, {43, 29}, {44, 31}, {60, 31}, {61, 39},
        {80, 39}, {81, 44},
    };
    for (const auto& band : bands) EXPECT_EQ(TVelRadioButton::CaptionOffset(band.points), band.offset) << band.points;

    TVelRadioButton* button = NewButton(form, "&Yes");
    button->SetColor(clAqua);
    button->Font().color = clRed;
    button->Font().SetSize(9);  // height -12: text 14 high
    TCanvas canvas;
    button->Paint(canvas);
    auto rects = OpsOf(canvas, DrawOp::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].rect, (TRect{15, -4, 117, 21}));
    EXPECT_EQ(rects[0].color, clAqua);
    EXPECT_EQ(canvas.Ops().back().kind, DrawOp::Text);
    EXPECT_EQ(canvas.Ops().back().text, "Yes");
    EXPECT_EQ(canvas.Ops().back().color, clRed);
    EXPECT_EQ(canvas.Ops().back().rect.left, 19);
    EXPECT_EQ(canvas.Ops().back().rect.top, 1);
}

TEST_F(RadioTest, GroupArrangesItemsDownTheColumns) {
    auto* group = new TVelRadioGroup(&form);
    group->SetParent(&form);
    group->SetBounds(0, 0, 200, 101);  // text 13: inner height 83
    group->SetColumns(2);
    for (const char* item : {"a", "b", "c", "d", "e"}) group->Items().Add(item);
    ASSERT_EQ(group->ButtonCount(), 5);
    // 3 rows: buttons 95 x 27, top margin (83 mod 3) div 2 + 14 = 15.
    TRect expected[] = {{8, 15, 103, 42}, {8, 42, 103, 69}, {8, 69, 103, 96}, {103, 15, 198, 42}, {103, 42, 198, 69}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(group->Buttons(i)->BoundsRect(), expected[i]) << i;
        EXPECT_EQ(group->Buttons(i)->Caption(), group->Items()[i]);
        EXPECT_EQ(group->Buttons(i)->Parent(), group);
    }
    // A resize and a column change arrange again; columns stay within 1 to 16.
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    EXPECT_EQ(group->Buttons(4)->BoundsRect(), (TRect{8, 15 + 4 * 16, 198, 15 + 5 * 16}));  // 83 mod 5 = 3
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);
    group->SetColumns(5);
    group->SetWidth(110);
    EXPECT_EQ(group->Buttons(4)->BoundsRect(), (TRect{88, 14, 108, 97}));
    // Fewer items, fewer buttons.
    group->Items().Delete(0);
    group->Items().Delete(0);
    EXPECT_EQ(group->ButtonCount(), 3);
    EXPECT_EQ(group->Buttons(0)->Caption(), "c");
    group->Items().Clear();
    EXPECT_EQ(group->ButtonCount(), 0);
}

TEST_F(RadioTest, GroupItemIndexFollowsClicksAndIsClamped) {
    auto* group = new TVelRadioGroup(&form);
    group->SetParent(&form);
    int groupClicks = 0;
    group->OnClick = TNotifyEvent("count", nullptr, [&](TComponent*) { ++groupClicks; });
    group->Items().SetText("x\r\ny\r\nz\r\n");
    EXPECT_EQ(group->ItemIndex(), -1);
    group->SetItemIndex(7);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_TRUE(group->Buttons(2)->Checked());
    group->SetItemIndex(-5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_FALSE(group->Buttons(2)->Checked());
    EXPECT_EQ(groupClicks, 0);  // setting the index is no click

    Application().PostClick(*group->Buttons(1));
    Application().ProcessMessages();
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(groupClicks, 1);
    EXPECT_FALSE(group->Buttons(2)->TabStop());
    EXPECT_TRUE(group->Buttons(1)->TabStop());

    // Removing the checked item's row moves the index inside the items.
    group->Items().Delete(2);
    group->Items().Delete(1);
    EXPECT_EQ(group->ItemIndex(), 0);

    // Keys on a button reach the group; enabling follows the group.
    std::vector<char> groupKeys;
    group->OnKeyPress = TKeyPressEvent("keys", nullptr, [&](TComponent*, char& k) { groupKeys.push_back(k); });
    Application().PostChar(*group->Buttons(0), 'q');
    Application().ProcessMessages();
    EXPECT_EQ(groupKeys, std::vector<char>{'q'});
    group->SetEnabled(false);
    EXPECT_FALSE(group->Buttons(0)->Enabled());
    group->Items().Add("new");
    EXPECT_FALSE(group->Buttons(1)->Enabled());
    group->SetEnabled(true);
    EXPECT_TRUE(group->Buttons(1)->Enabled());
}

TEST_F(RadioTest, ResourceMayGiveTheIndexBeforeTheItems) {
    ReadComponentResource(form, R"(
object Root: TForm
  object rdoKind: TVelRadioGroup
    Caption = 'Kind'
    Columns = 2
    ItemIndex = 1
    Items.Strings = (
      'Day'
      'Week'
      'Month')
  end
  object rdoOne: TVelRadioButton
    Caption = 'One'
    Checked = True
    Alignment = taLeftJustify
  end
end
)");
    auto* group = FindComponentAs<TVelRadioGroup>(form, "rdoKind");
    ASSERT_TRUE(group);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    EXPECT_EQ(group->Buttons(2)->Left(), (185 - 10) / 2 + 8);
    EXPECT_EQ(group->Items().ToVector(), (std::vector<std::string>{"Day", "Week", "Month"}));
    auto* one = FindComponentAs<TVelRadioButton>(form, "rdoOne");
    EXPECT_TRUE(one->Checked());
    EXPECT_EQ(one->Alignment(), TLeftRight::taLeftJustify);
    EXPECT_TRUE(group->Buttons(1)->Checked());  // another parent's button is no sibling
}
