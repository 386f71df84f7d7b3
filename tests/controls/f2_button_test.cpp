#include <string>
#include <vector>

#include "controls/f2_button.h"
#include "platform/text/codepage.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "tests/controls/controls_fixture.h"

using namespace vel;
using vel::test::ControlsTest;

namespace {

struct LookupLogForm : TForm {
    using TForm::TForm;
    std::vector<std::string> log;
    void WndProc(TMessage& m) override {
        if (m.msg == 1034) {
            auto* target = reinterpret_cast<TWinControl*>(m.lParam);
            log.push_back("lookup " + target->Name() + (target->Focused() ? " focused" : "") +
                          (m.wParam == 0 ? "" : " wParam!"));
            return;
        }
        TForm::WndProc(m);
    }
};

struct F2ButtonTest : ControlsTest {
    void SetUp() override {
        ControlsTest::SetUp();
        form = new LookupLogForm(nullptr);
        panel = new TPanel(form);
        panel->SetParent(form);
        edit = NewEdit("edItem", 10, 20, 100, 21);
        form->Show();
    }
    void TearDown() override {
        FreeComponent(form);
        ControlsTest::TearDown();
    }
    TEdit* NewEdit(const char* name, int l, int t, int w, int h) {
        auto* e = new TEdit(form);
        e->SetName(name);
        e->SetParent(panel);
        e->SetBounds(l, t, w, h);
        return e;
    }
    TF2Button* NewButton(const char* name) {
        auto* b = new TF2Button(form);
        b->SetName(name);
        b->SetParent(panel);
        return b;
    }
    LookupLogForm* form = nullptr;
    TPanel* panel = nullptr;
    TEdit* edit = nullptr;
};

}  // namespace

TEST_F(F2ButtonTest, BindingPlacesASquareButtonBesideTheControlOnce) {
    auto* b = NewButton("btnItem");
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->GlyphIndex(), 8);
    EXPECT_TRUE(b->SetF2Control(edit));
    EXPECT_EQ(b->BoundsRect(), (TRect{112, 20, 133, 41}));  // 21 x 21 at 10 + 100 + 2
    b->SetGap(5);
    EXPECT_EQ(b->Left(), 115);
    // At run time the button does not follow its control.
    edit->SetBounds(0, 0, 50, 30);
    EXPECT_EQ(b->BoundsRect(), (TRect{115, 20, 136, 41}));
    b->SetAutoAlign(true);  // re-binds and aligns again
    EXPECT_EQ(b->BoundsRect(), (TRect{55, 0, 85, 30}));

    auto* manual = NewButton("btnManual");
    manual->SetAutoAlign(false);
    manual->SetBounds(1, 2, 23, 23);
    manual->SetF2Control(NewEdit("edOther", 40, 40, 60, 21));
    EXPECT_EQ(manual->BoundsRect(), (TRect{1, 2, 24, 25}));
}

TEST_F(F2ButtonTest, SecondButtonForTheSameControlIsRefusedWithAnErrorDialog) {
    auto* first = NewButton("btnFirst");
    ASSERT_TRUE(first->SetF2Control(edit));
    auto* second = NewButton("btnSecond");
    second->SetBounds(0, 0, 23, 23);
    EXPECT_FALSE(second->SetF2Control(edit));
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{CN("不能同时有两个 F2Button 指到同一个 Edit.")});
    EXPECT_EQ(presenter.shown[0].request.type, TMsgDlgType::mtError);
    EXPECT_EQ(second->F2Control(), nullptr);
    EXPECT_EQ(second->BoundsRect(), (TRect{0, 0, 23, 23}));
    EXPECT_EQ(first->F2Control(), edit);

    // Unbinding always succeeds, and frees the control for another button.
    EXPECT_TRUE(second->SetF2Control(nullptr));
    first->SetF2Control(nullptr);
    EXPECT_TRUE(second->SetF2Control(edit));
    EXPECT_EQ(presenter.shown.size(), 1u);
}

TEST_F(F2ButtonTest, ClickRunsOnClickThenFocusesTheControlAndSendsTheLookup) {
    auto* b = NewButton("btnItem");
    b->SetF2Control(edit);
    b->OnClick = TNotifyEvent("click", nullptr, [&](TComponent*) { form->log.push_back("OnClick"); });
    Application().PostClick(*b);
    Application().ProcessMessages();
    EXPECT_EQ(form->log, (std::vector<std::string>{"OnClick", "lookup edItem focused"}));

    // A disabled control gets nothing beyond the click.
    form->log.clear();
    edit->SetEnabled(false);
    b->Click();
    EXPECT_EQ(form->log, std::vector<std::string>{"OnClick"});
    // Nor does an unbound button.
    form->log.clear();
    b->SetF2Control(nullptr);
    b->Click();
    EXPECT_EQ(form->log, std::vector<std::string>{"OnClick"});
}

TEST_F(F2ButtonTest, ReadFromAFormResourceAndUnboundWhenTheControlGoes) {
    ReadComponentResource(*form, R"(
object Root: TForm
  object edCode: TEdit
    Left = 20
    Top = 4
    Width = 80
    Height = 24
  end
  object btnCode: TF2Button
    F2Control = edCode
    Gap = 4
    GlyphIndex = 9
  end
end
)");
    auto* b = FindComponentAs<TF2Button>(*form, "btnCode");
    auto* code = FindComponentAs<TEdit>(*form, "edCode");
    ASSERT_TRUE(b && code);
    EXPECT_EQ(b->F2Control(), code);
    EXPECT_EQ(b->BoundsRect(), (TRect{104, 4, 128, 28}));
    EXPECT_EQ(b->GlyphIndex(), 9);
    FreeComponent(code);
    EXPECT_EQ(b->F2Control(), nullptr);
    b->Click();  // nothing to look up
    EXPECT_TRUE(form->log.empty());
}
