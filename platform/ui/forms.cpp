#include "platform/ui/forms.h"

#include <algorithm>

#include "platform/ui/resource.h"

namespace vel {
namespace {

std::vector<TCustomForm*>& FormList() {
    static std::vector<TCustomForm*> forms;
    return forms;
}


}  // namespace

const std::vector<TCustomForm*>& Forms() { return FormList(); }

VEL_DEFINE_COMPONENT(TCustomForm,
    b.Str("Caption", [](TCustomForm& f) { return f.Caption(); }, [](TCustomForm& f, const std::string& v) { f.SetCaption(v); });
    b.Int("ClientWidth", [](TCustomForm& f) { return f.Width(); }, [](TCustomForm& f, int v) { f.SetWidth(v); });
    b.Int("ClientHeight", [](TCustomForm& f) { return f.Height(); }, [](TCustomForm& f, int v) { f.SetHeight(v); });
    b.Bool("KeyPreview", [](TCustomForm& f) { return f.KeyPreview(); }, [](TCustomForm& f, bool v) { f.SetKeyPreview(v); });
    b.Enum("Position", std::vector<std::string>{"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                                 "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                                 "poOwnerFormCenter"}, [](TCustomForm& f) { return static_cast<int>(f.Position()); },
           [](TCustomForm& f, int v) { f.SetPosition(static_cast<TPosition>(v)); });
    b.Enum("WindowState", std::vector<std::string>{"wsNormal", "wsMinimized", "wsMaximized"}, [](TCustomForm& f) { return static_cast<int>(f.WindowState()); },
           [](TCustomForm& f, int v) { f.SetWindowState(static_cast<TWindowState>(v)); });
    b.Obj("ActiveControl", [](TCustomForm& f) -> TPersistent* { return f.ActiveControl(); },
          [](TCustomForm& f, TPersistent* v) { f.SetActiveControl(dynamic_cast<TWinControl*>(v)); });
    b.Int("ModalResult", [](TCustomForm& f) { return f.ModalResult(); }, [](TCustomForm& f, int v) { f.SetModalResult(v); });
    b.Event("OnCreate", &TCustomForm::OnCreate);
    b.Event("OnShow", &TCustomForm::OnShow);
    b.Event("OnHide", &TCustomForm::OnHide);
    b.Event("OnDestroy", &TCustomForm::OnDestroy);
    b.Event("OnActivate", &TCustomForm::OnActivate);
    b.Event("OnClose", &TCustomForm::OnClose);
    b.Event("OnCloseQuery", &TCustomForm::OnCloseQuery))

VEL_DEFINE_FORM(TForm, (void)b)

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    parentFont_ = false;
    width_ = 320;
    height_ = 240;
    FormList().push_back(this);
}

TCustomForm::~TCustomForm() {
    auto& list = FormList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    modal_ = false;
}

void TCustomForm::InitializeNewForm() {
    ReadFormResources(*this);
    Constructed();
    created_ = true;
    OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
    TWinControl::BeforeDestruction();
    if (created_) OnDestroy(this);
}

void TCustomForm::SetVisible(bool visible) { TWinControl::SetVisible(visible); }

void TCustomForm::VisibleChanged() {
    if (visible_) {
        DoShow();
        Presenter().FormShown(*this);
        // The active control, or the first tab stop, takes the focus when the form appears.
        if (visible_) {
            TWinControl* target = activeControl_;
            if (!target || !target->CanFocus()) {
                target = nullptr;
                for (TWinControl* c : TabOrderList())
                    if (c->TabStop() && c->CanFocus()) { target = c; break; }
            }
            if (target) {
                activeControl_ = nullptr;
                SetActiveControl(target);
            }
        }
    } else {
        DoHide();
        Presenter().FormHidden(*this);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::BringToFront() {
    auto& list = FormList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
}

bool TCustomForm::Active() const { return !FormList().empty() && FormList().back() == this && visible_; }

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    switch (action) {
        case TCloseAction::caHide: Hide(); break;
        case TCloseAction::caMinimize: windowState_ = TWindowState::wsMinimized; break;
        case TCloseAction::caFree: Release(); break;
        case TCloseAction::caNone: break;
    }
}

void TCustomForm::Release() { Application().PostMessage(Handle(), CM_RELEASE); }

int TCustomForm::ShowModal() {
    if (visible_ || !enabled_ || modal_) throw Exception("Cannot make a visible window modal");
    HWND handle = Handle();
    auto alive = [handle, this] { return FindControl(handle) == this; };
    modal_ = true;
    modalResult_ = mrNone;
    Show();
    int result = mrCancel;
    while (alive()) {
        if (modalResult_ == mrNone && !Application().HandleMessage()) {
            if (!alive()) break;
            if (modalResult_ == mrNone && !Presenter().WaitForInput(*this)) modalResult_ = mrCancel;
        }
        if (!alive()) break;
        if (modalResult_ != mrNone) {
            TCloseAction action = CloseQuery() ? TCloseAction::caHide : TCloseAction::caNone;
            if (action != TCloseAction::caNone) DoClose(action);
            if (action == TCloseAction::caNone) {
                modalResult_ = mrNone;
                continue;
            }
            if (action == TCloseAction::caFree) Release();
            result = modalResult_;
            break;
        }
    }
    if (!alive()) return result;
    modal_ = false;
    Hide();
    return result;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && control != this && !ContainsControl(control)) throw Exception("Invalid parent for the active control");
    TWinControl* old = activeControl_;
    ActiveControlChanging(old, control);
    activeControl_ = control;
    if (!Showing()) return;  // a hidden form only remembers its active control
    if (old) {
        old->DoExit();
        if (activeControl_ != control) return;  // the exit handler moved the focus elsewhere
    }
    if (control) control->DoEnter();
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list = TabOrderList();
    if (list.empty()) return;
    int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[i] == current) start = i;
    for (int step = 1; step <= n; ++step) {
        int i = ((start < 0 ? (forward ? -1 : 0) : start) + (forward ? step : -step) % n + n) % n;
        TWinControl* candidate = list[i];
        if (candidate != current && candidate->TabStop() && candidate->CanFocus()) {
            SetActiveControl(candidate);
            return;
        }
    }
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.msg) {
        case CM_RELEASE: FreeComponent(this); return;
        case WM_CLOSE: Close(); return;
        default: TWinControl::WndProc(message);
    }
}

}  // namespace vel
