#include <gtest/gtest.h>

#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/buttons.h"
#include "platform/ui/forms.h"
#include "platform/ui/resource.h"
#include "platform/ui/stdctrls.h"

using namespace vel;

namespace {

class TfrmUiProbe : public TForm {
    VEL_CLASS(TfrmUiProbe, TForm)
public:
    using TForm::TForm;
    TEdit* edA = nullptr;
    TEdit* edB = nullptr;
    TCheckBox* chkC = nullptr;
    TLabel* lblA = nullptr;
    TButton* btnOk = nullptr;
    std::vector<std::string> log;

    void FormCreate(TComponent*) { log.push_back("create"); }
    void FormKeyDown(TComponent*, uint16_t& key, TShiftState) {
        log.push_back("form-key " + std::to_string(key));
        if (key == VK_F2) key = 0;  // the form keeps F2 for itself
    }
    void EditExit(TComponent* sender) { log.push_back("exit " + static_cast<TComponent*>(sender)->Name()); }
    void OtherExit(TComponent* sender) { log.push_back("other " + static_cast<TComponent*>(sender)->Name()); }
};

VEL_DEFINE_FORM(TfrmUiProbe,
    b.Field("edA", &TfrmUiProbe::edA); b.Field("edB", &TfrmUiProbe::edB); b.Field("chkC", &TfrmUiProbe::chkC);
    b.Field("lblA", &TfrmUiProbe::lblA); b.Field("btnOk", &TfrmUiProbe::btnOk);
    b.Method<TNotifyEvent>("FormCreate", &TfrmUiProbe::FormCreate);
    b.Method<TKeyEvent>("FormKeyDown", &TfrmUiProbe::FormKeyDown);
    b.Method<TNotifyEvent>("EditExit", &TfrmUiProbe::EditExit);
    b.Method<TNotifyEvent>("OtherExit", &TfrmUiProbe::OtherExit))

FormResource kProbe("TfrmUiProbe", R"(
object frmUiProbe: TfrmUiProbe
  Caption = '探针' + #32'form'
  KeyPreview = True
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object lblA: TLabel
    Caption = 'Name'
    FocusControl = edA
  end
  object edA: TEdit
    MaxLength = 4
    OnExit = EditExit
  end
  object edB: TEdit
    Font.Style = [fsBold, fsItalic]
  end
  object chkC: TCheckBox
    Checked = True
  end
  object btnOk: TButton
    ModalResult = 1
  end
end
)");

struct Fixture : ::testing::Test {
    void SetUp() override { SetPresenter(&presenter); }
    void TearDown() override {
        Application().ProcessMessages();
        SetPresenter(nullptr);
    }
    ScriptedPresenter presenter;
};

}  // namespace

TEST_F(Fixture, ResourceCreatesComponentsInFileOrderAndBindsByName) {
    auto* f = CreateForm<TfrmUiProbe>(nullptr);
    EXPECT_EQ(f->Name(), "frmUiProbe");
    EXPECT_EQ(f->Caption(), CN("探针") + " form");
    ASSERT_EQ(f->ComponentCount(), 5);
    EXPECT_EQ(f->Components(0), f->lblA);
    EXPECT_EQ(f->lblA->FocusControl(), f->edA);  // a reference to a later component is fixed up
    EXPECT_EQ(f->edB->Font().style, fsBold | fsItalic);
    EXPECT_TRUE(f->chkC->Checked());
    EXPECT_EQ(f->log, (std::vector<std::string>{"create"}));
    EXPECT_EQ(GetPropText(*f->edB, "Font.Style"), "[fsBold,fsItalic]");
    FreeComponent(f);
}

TEST_F(Fixture, MalformedResourcesReportTheLine) {
    struct Case { const char* text; const char* message; } cases[] = {
        {"object X: TForm\n  Caption = 'open\nend", "line 2"},
        {"object X: TForm\n  Nope = 1\nend", "Nope"},
        {"object X: TForm\n  object Y: TNoSuchClass\n  end\nend", "TNoSuchClass"},
        {"object X: TForm\n  OnShow = NoSuchMethod\nend", "NoSuchMethod"},
        {"object X: TForm\n  Caption = 'x'", "end expected"},
        {"object X: TForm\n  object L: TLabel\n    FocusControl = Missing\n  end\nend", "Missing"},
    };
    for (const auto& c : cases) {
        TForm root(nullptr);
        try {
            ReadComponentResource(root, c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST_F(Fixture, EventsAreSavedComparedAndSwappedByName) {
    auto* f = CreateForm<TfrmUiProbe>(nullptr);
    std::any saved = GetEventProp(*f->edA, "OnExit");
    EXPECT_EQ(std::any_cast<TNotifyEvent>(saved).name, "EditExit");
    SetEventProp(*f->edA, "OnExit", MethodAddress(*f, "OtherExit"));
    f->edA->DoExit();
    SetEventProp(*f->edA, "OnExit", saved);
    f->edA->DoExit();
    EXPECT_EQ(f->log.back(), "exit edA");
    EXPECT_EQ(f->log[f->log.size() - 2], "other edA");
    EXPECT_TRUE(std::any_cast<TNotifyEvent>(saved) == f->edA->OnExit);
    // A handler of another kind does not fit the event.
    EXPECT_THROW(SetEventProp(*f->edA, "OnExit", MethodAddress(*f, "FormKeyDown")), Exception);
    FreeComponent(f);
}

TEST_F(Fixture, PropertiesByName) {
    TEdit edit(nullptr);
    SetPropValue(edit, "Text", Variant("abc"));
    SetPropValue(edit, "Align", Variant("alClient"));
    SetPropValue(edit, "Visible", Variant(false));
    SetPropValue(edit, "Font.Name", Variant("Tahoma"));
    EXPECT_EQ(edit.Text(), "abc");
    EXPECT_EQ(edit.Align(), TAlign::alClient);
    EXPECT_FALSE(edit.Visible());
    EXPECT_EQ(edit.Font().name, "Tahoma");
    EXPECT_EQ(GetPropText(edit, "Align"), "alClient");
    EXPECT_TRUE(IsPublishedProp(edit, "Font.Charset"));
    EXPECT_FALSE(IsPublishedProp(edit, "Checked"));
    EXPECT_THROW(SetPropValue(edit, "Align", Variant("alSideways")), Exception);
    EXPECT_THROW(GetPropValue(edit, "Missing.Path"), Exception);
}

TEST_F(Fixture, KeysPassTheFormPreviewThenTheControlAndTabMovesTheFocus) {
    auto* f = CreateForm<TfrmUiProbe>(nullptr);
    f->Show();
    EXPECT_EQ(f->ActiveControl(), f->edA);  // the first tab stop takes the focus
    Application().PostKey(*f->edA, VK_F2);
    Application().PostTypeText(*f->edA, "abcdef");
    Application().PostChar(*f->edA, 'x');  // beyond MaxLength: refused
    Application().PostKey(*f->edA, VK_TAB);
    Application().ProcessMessages();
    EXPECT_EQ(f->edA->Text(), "abcd");
    EXPECT_EQ(f->ActiveControl(), f->edB);
    EXPECT_EQ(f->log, (std::vector<std::string>{"create", "form-key 113", "form-key 9", "exit edA"}));
    Application().PostKey(*f->edB, VK_TAB, ssShift);
    Application().ProcessMessages();
    EXPECT_EQ(f->ActiveControl(), f->edA);
    FreeComponent(f);
}

TEST_F(Fixture, ShowModalEndsWithTheButtonsModalResultOrCancelWhenNoInputComes) {
    auto* f = CreateForm<TfrmUiProbe>(nullptr);
    presenter.QueueModalAction([&](TCustomForm&) { Application().PostClick(*f->btnOk); });
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(f->ShowModal(), mrCancel);
    EXPECT_THROW({ f->Show(); f->ShowModal(); }, Exception);
    FreeComponent(f);
}

TEST_F(Fixture, CloseWithFreeActionReleasesThroughTheQueue) {
    auto* f = CreateForm<TfrmUiProbe>(nullptr);
    HWND handle = f->Handle();
    f->OnClose = TCloseEvent("free", nullptr, [](TComponent*, TCloseAction& a) { a = TCloseAction::caFree; });
    f->Show();
    f->Close();
    EXPECT_EQ(FindControl(handle), f);  // still there until the queue reaches the release
    Application().ProcessMessages();
    EXPECT_EQ(FindControl(handle), nullptr);
}

TEST_F(Fixture, ExceptionsInHandlersEndOnlyThatMessage) {
    auto* f = CreateForm<TfrmUiProbe>(nullptr);
    f->btnOk->OnClick = TNotifyEvent("boom", nullptr, [](TComponent*) { throw Exception("boom"); });
    Application().PostClick(*f->btnOk);
    Application().PostTypeText(*f->edB, "after");
    Application().ProcessMessages();
    EXPECT_EQ(f->edB->Text(), "after");
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().request.text, "boom");
    FreeComponent(f);
}

TEST_F(Fixture, AlignedChildrenShareTheClientArea) {
    TPanel parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TPanel top(nullptr), bottom(nullptr), client(nullptr);
    top.SetHeight(20);
    bottom.SetHeight(30);
    top.SetParent(&parent);
    bottom.SetParent(&parent);
    client.SetParent(&parent);
    top.SetAlign(TAlign::alTop);
    bottom.SetAlign(TAlign::alBottom);
    client.SetAlign(TAlign::alClient);
    EXPECT_EQ(top.BoundsRect(), (TRect{0, 0, 200, 20}));
    EXPECT_EQ(bottom.BoundsRect(), (TRect{0, 70, 200, 100}));
    EXPECT_EQ(client.BoundsRect(), (TRect{0, 20, 200, 70}));
}
