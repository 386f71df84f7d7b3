#pragma once
// Forms: top-level windowed controls with the form events, close actions, key preview,
// modal showing and posted release. Forms are created with CreateForm<T>, which reads the
// form resources of the class chain and then fires OnCreate.
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/presenter.h"

namespace vel {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                       poMainFormCenter, poOwnerFormCenter };

using TCloseEvent = Handler<TComponent*, TCloseAction&>;
using TCloseQueryEvent = Handler<TComponent*, bool&>;

class VEL_API TCustomForm : public TWinControl {
    VEL_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the form resources of the class chain, binds published fields, then runs
    // Constructed() and OnCreate. Called once by CreateForm.
    void InitializeNewForm();

    void Show();
    void Hide();
    int ShowModal();
    void Close();
    // Frees the form when the queue reaches the posted release request.
    void Release();
    bool Modal() const { return modal_; }

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state) { windowState_ = state; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    bool Active() const;
    void BringToFront();

    // Moves the focus to the next (or previous) tab stop after `current`.
    void SelectNext(TWinControl* current, bool forward = true);

    void SetVisible(bool visible) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    void WndProc(TMessage& message) override;

protected:
    // Code that runs after the resources are read and before OnCreate.
    virtual void Constructed() {}
    // Told on every change of the active control, before the exit and enter handlers run.
    virtual void ActiveControlChanging(TWinControl* previous, TWinControl* next) {}
    virtual void DoShow() { OnShow(this); }
    virtual void DoHide() { OnHide(this); }
    virtual void DoClose(TCloseAction& action) { OnClose(this, action); }
    virtual bool CloseQuery();
    void BeforeDestruction() override;
    void VisibleChanged() override;

private:
    friend class TWinControl;
    TWinControl* activeControl_ = nullptr;
    bool keyPreview_ = false;
    bool modal_ = false;
    int modalResult_ = 0;
    TWindowState windowState_ = TWindowState::wsNormal;
    TPosition position_ = TPosition::poDesigned;
    bool created_ = false;
};

class VEL_API TForm : public TCustomForm {
    VEL_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

// Creates a form of class T with an owner, as the toolkit does (resources, then OnCreate).
template <class T>
T* CreateForm(TComponent* owner) {
    T* form = new T(owner);
    try {
        form->InitializeNewForm();
    } catch (...) {
        FreeComponent(form);
        throw;
    }
    return form;
}

// Defines StaticClass for a form class; creating it by class reads its resources.
#define VEL_DEFINE_FORM(Self, Body)                                     \
    ::vel::ClassInfo& Self::StaticClass() {                             \
        static ::vel::ClassInfo* info = [] {                            \
            auto* ci = new ::vel::ClassInfo;                            \
            ci->name = #Self;                                           \
            ci->parent = &Inherited::StaticClass();                     \
            ci->create = [](::vel::TComponent* owner) -> ::vel::TComponent* { return ::vel::CreateForm<Self>(owner); }; \
            ::vel::PropBuilder<Self> b(*ci);                            \
            Body;                                                       \
            ::vel::RegisterClass(*ci);                                  \
            return ci;                                                  \
        }();                                                            \
        return *info;                                                   \
    }                                                                   \
    static const ::vel::ClassInfo& vel_registered_##Self [[maybe_unused]] = Self::StaticClass();

// All forms that exist, in creation order.
VEL_API const std::vector<TCustomForm*>& Forms();

}  // namespace vel
