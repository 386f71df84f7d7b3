#include "controls/db_label.h"
#include "platform/text/codepage.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "tests/controls/controls_fixture.h"

using namespace vel;
using vel::test::ControlsTest;

namespace {

// Just enough of a data-aware world: a dataset, its fields, a data source and an edit that
// publishes DataSource and DataField.
class TProbeDataSet : public TComponent {
    VEL_CLASS(TProbeDataSet, TComponent)
public:
    using TComponent::TComponent;
};
class TProbeField : public TComponent {
    VEL_CLASS(TProbeField, TComponent)
public:
    using TComponent::TComponent;
    TProbeDataSet* dataSet = nullptr;
    std::string fieldName, displayLabel;
};
class TProbeDataSource : public TComponent {
    VEL_CLASS(TProbeDataSource, TComponent)
public:
    using TComponent::TComponent;
    TProbeDataSet* dataSet = nullptr;
};
class TProbeDBEdit : public TEdit {
    VEL_CLASS(TProbeDBEdit, TEdit)
public:
    using TEdit::TEdit;
    TProbeDataSource* source = nullptr;
    std::string field;
};

VEL_DEFINE_COMPONENT(TProbeDataSet, (void)b)
VEL_DEFINE_COMPONENT(TProbeField,
    b.Obj("DataSet", [](TProbeField& f) -> TPersistent* { return f.dataSet; });
    b.Str("FieldName", [](TProbeField& f) { return f.fieldName; });
    b.Str("DisplayLabel", [](TProbeField& f) { return f.displayLabel; }))
VEL_DEFINE_COMPONENT(TProbeDataSource, b.Obj("DataSet", [](TProbeDataSource& s) -> TPersistent* { return s.dataSet; }))
VEL_DEFINE_COMPONENT(TProbeDBEdit,
    b.Obj("DataSource", [](TProbeDBEdit& e) -> TPersistent* { return e.source; });
    b.Str("DataField", [](TProbeDBEdit& e) { return e.field; }))

struct LabelTest : ControlsTest {
    TDBLabel* NewLabel(TWinControl& parent, const std::string& caption = "Name") {
        auto* label = new TDBLabel(&form);
        label->SetParent(&parent);
        label->SetCaption(caption);  // 24 x 13 with the default font
        return label;
    }
    TEdit* NewEdit(TWinControl& parent, TRect r) {
        auto* edit = new TEdit(&form);
        edit->SetParent(&parent);
        edit->SetBounds(r.left, r.top, r.Width(), r.Height());
        return edit;
    }
    TForm form{nullptr};
};

}  // namespace

TEST_F(LabelTest, StartsWithItsOwnCaptionAndDefaults) {
    TDBLabel label(nullptr);
    EXPECT_EQ(label.Caption(), CN("挂靠标签"));
    EXPECT_TRUE(label.AutoAlign());
    EXPECT_TRUE(label.AutoCaption());
    EXPECT_EQ(label.Gap(), 4);
    EXPECT_EQ(label.Pos(), TPos::psLeft);
}

TEST_F(LabelTest, PlacesItselfBesideTheControlBySide) {
    struct Case { TPos pos; TRect edit; int left, top; } cases[] = {
        {TPos::psTop, {100, 50, 221, 71}, 100, 33},
        {TPos::psLeft, {100, 50, 221, 71}, 72, 54},    // centred on the taller edit
        {TPos::psRight, {100, 50, 221, 71}, 225, 54},
        {TPos::psBottom, {100, 50, 221, 71}, 100, 75},
        {TPos::psLeft, {100, 50, 221, 63}, 72, 50},    // same height: same top
        {TPos::psLeft, {10, 5, 131, 26}, 0, 9},        // no negative left
        {TPos::psTop, {10, 5, 131, 26}, 10, 0},        // no negative top
    };
    for (const auto& c : cases) {
        TEdit* edit = NewEdit(form, c.edit);
        TDBLabel* label = NewLabel(form);
        label->SetPos(c.pos);
        label->SetFocusControl(edit);
        EXPECT_EQ(label->Left(), c.left) << static_cast<int>(c.pos) << " " << c.edit.top;
        EXPECT_EQ(label->Top(), c.top) << static_cast<int>(c.pos) << " " << c.edit.top;
        label->SetFocusControl(nullptr);
    }
}

TEST_F(LabelTest, ChangingPosOrGapMovesABoundLabelAndAutoAlignOffLeavesIt) {
    TEdit* edit = NewEdit(form, {100, 50, 221, 71});
    TDBLabel* label = NewLabel(form);
    label->SetFocusControl(edit);
    label->SetGap(10);
    EXPECT_EQ(label->Left(), 66);
    label->SetPos(TPos::psBottom);
    EXPECT_EQ(label->Top(), 81);
    label->SetAutoAlign(false);
    label->SetPos(TPos::psTop);
    EXPECT_EQ(label->Top(), 81);
    label->SetAutoAlign(true);
    EXPECT_EQ(label->Top(), 27);
    label->SetGap(300);
    EXPECT_EQ(label->Gap(), 255);
}

TEST_F(LabelTest, ASecondLabelOfTheSameParentCannotBindTheSameControl) {
    TPanel* panel = new TPanel(&form);
    panel->SetParent(&form);
    TPanel* other = new TPanel(&form);
    other->SetParent(&form);
    TEdit* edit = NewEdit(*panel, {100, 50, 221, 71});
    TDBLabel* first = NewLabel(*panel);
    TDBLabel* second = NewLabel(*panel);
    first->SetFocusControl(edit);
    second->SetFocusControl(edit);
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{CN("不能同时有两个 DBLabel 指到同一个 Control.")});
    EXPECT_EQ(presenter.shown[0].request.type, TMsgDlgType::mtError);
    EXPECT_EQ(second->FocusControl(), nullptr);
    EXPECT_EQ(first->FocusControl(), edit);
    // A label of another parent may; rebinding the same label to its own control is fine.
    TDBLabel* elsewhere = NewLabel(*other);
    elsewhere->SetFocusControl(edit);
    EXPECT_EQ(elsewhere->FocusControl(), edit);
    first->SetFocusControl(nullptr);
    first->SetFocusControl(edit);
    EXPECT_EQ(first->FocusControl(), edit);
    // Once the first lets go, the second may bind.
    first->SetFocusControl(nullptr);
    second->SetFocusControl(edit);
    EXPECT_EQ(second->FocusControl(), edit);
    EXPECT_EQ(presenter.shown.size(), 1u);
}

TEST_F(LabelTest, TakesTheDisplayLabelOfTheControlsDataField) {
    auto* dataSet = new TProbeDataSet(&form);
    auto* field = new TProbeField(&form);
    field->dataSet = dataSet;
    field->fieldName = "MB001";
    field->displayLabel = "Item";
    auto* unnamed = new TProbeField(dataSet);  // fields may also belong to their dataset
    unnamed->dataSet = dataSet;
    unnamed->fieldName = "MB002";
    auto* source = new TProbeDataSource(&form);
    auto* edit = new TProbeDBEdit(&form);
    edit->SetParent(&form);
    edit->field = "mb001";

    TDBLabel* label = NewLabel(form, "before");
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Caption(), "before");  // no data source yet
    label->SetFocusControl(nullptr);

    edit->source = source;
    source->dataSet = dataSet;
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Caption(), "Item");
    EXPECT_EQ(label->Width(), 24);  // sized to the new caption before it aligns

    edit->field = "MB002";
    label->SetAutoCaption(false);
    label->SetAutoCaption(true);
    EXPECT_EQ(label->Caption(), "MB002");  // no display label: the field's name

    edit->field = "NOPE";
    label->SetCaption("kept");
    label->SetPos(TPos::psTop);
    EXPECT_EQ(label->Caption(), "kept");
}

TEST_F(LabelTest, ResourceBindsAfterEveryControlIsPlacedAndUnbindsWhenTheControlGoes) {
    ReadComponentResource(form, R"(
object Root: TForm
  object lblToday: TDBLabel
    Caption = 'Date'
    FocusControl = edPrintDate
    Gap = 6
    Pos = psLeft
  end
  object edPrintDate: TEdit
    Left = 60
    Top = 8
    Width = 85
  end
end
)");
    auto* label = FindComponentAs<TDBLabel>(form, "lblToday");
    auto* edit = FindComponentAs<TEdit>(form, "edPrintDate");
    ASSERT_TRUE(label && edit);
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(label->Left(), 60 - 24 - 6);
    EXPECT_EQ(label->Top(), 8 + 21 / 2 - 13 / 2);
    FreeComponent(edit);
    EXPECT_EQ(label->FocusControl(), nullptr);
}
