#include "platform/ui/application.h"

#include "platform/ui/forms.h"
#include "platform/ui/presenter.h"

namespace vel {

TApplication& TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::PostMessage(HWND handle, uint32_t msg, intptr_t wParam, intptr_t lParam, const std::string& text) {
    std::lock_guard lock(mutex_);
    queue_.push_back(TMessage{handle, msg, wParam, lParam, text, 0});
    callbacks_.push_back(nullptr);
}

void TApplication::PostCallback(std::function<void()> callback) {
    std::lock_guard lock(mutex_);
    queue_.push_back(TMessage{0, CM_INVOKE, 0, 0, {}, 0});
    callbacks_.push_back(std::move(callback));
}

intptr_t TApplication::SendMessage(HWND handle, uint32_t msg, intptr_t wParam, intptr_t lParam, const std::string& text) {
    TMessage message{handle, msg, wParam, lParam, text, 0};
    Dispatch(message);
    return message.result;
}

size_t TApplication::QueueLength() {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

bool TApplication::HandleMessage() {
    TMessage message;
    std::function<void()> callback;
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty()) return false;
        message = std::move(queue_.front());
        callback = std::move(callbacks_.front());
        queue_.pop_front();
        callbacks_.pop_front();
    }
    try {
        if (message.msg == CM_INVOKE) {
            if (callback) callback();
        } else {
            Dispatch(message);
        }
    } catch (const std::exception& e) {
        // An exception inside a handler ends that message only, as the toolkit's loop does.
        if (OnException) OnException(e);
        else Presenter().MessageBox(e.what(), Title, MB_ICONERROR);
    }
    return true;
}

void TApplication::ProcessMessages() {
    while (HandleMessage()) {
    }
}

void TApplication::Dispatch(TMessage& message) {
    TWinControl* control = FindControl(message.handle);
    if (!control) return;  // the window is gone: the message is dropped
    TCustomForm* form = control->ParentForm();
    switch (message.msg) {
        case WM_KEYDOWN: {
            uint16_t key = static_cast<uint16_t>(message.wParam);
            TShiftState shift = static_cast<TShiftState>(message.lParam);
            HWND handle = message.handle;
            if (form && form != control && form->KeyPreview()) form->KeyDown(key, shift);
            if (key && FindControl(handle) == control) {
                message.wParam = key;
                control->WndProc(message);
                key = static_cast<uint16_t>(message.result);
            }
            // Dialog keys the control left alone.
            if (key == VK_TAB && form && FindControl(handle) == control && !(shift & (ssCtrl | ssAlt)))
                form->SelectNext(control, !(shift & ssShift));
            // Alt + letter or digit: the first showing control whose accelerator it is takes it.
            if ((shift & ssAlt) && form && FindControl(handle) == control &&
                ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))) {
                for (TWinControl* c : form->TabOrderList())
                    if (c->Showing() && c->DialogChar(static_cast<char>(key))) break;
            }
            break;
        }
        case WM_CHAR: {
            char ch = static_cast<char>(message.wParam);
            HWND handle = message.handle;
            if (form && form != control && form->KeyPreview()) form->KeyPress(ch);
            if (ch && FindControl(handle) == control) {
                message.wParam = static_cast<unsigned char>(ch);
                control->WndProc(message);
            }
            break;
        }
        case WM_SETFOCUS:
            if (control->CanFocus()) control->SetFocus();
            break;
        case BM_CLICK:
            if (message.lParam) {
                // A control without a window: clicked through its parent, if still a child.
                auto* target = reinterpret_cast<TControl*>(message.lParam);
                for (TControl* child : control->ControlList())
                    if (child == target) {
                        if (child->Enabled() && child->Visible()) child->Click();
                        break;
                    }
            } else {
                control->WndProc(message);
            }
            break;
        default:
            control->WndProc(message);
    }
}

void TApplication::PostKey(TWinControl& control, uint16_t key, TShiftState shift) {
    PostMessage(control.Handle(), WM_KEYDOWN, key, shift);
}

void TApplication::PostChar(TWinControl& control, char ch) {
    PostMessage(control.Handle(), WM_CHAR, static_cast<unsigned char>(ch));
}

void TApplication::PostTypeText(TWinControl& control, const std::string& text) {
    PostMessage(control.Handle(), CM_TYPETEXT, 0, 0, text);
}

void TApplication::PostClick(TControl& control) {
    if (auto* win = dynamic_cast<TWinControl*>(&control)) {
        PostMessage(win->Handle(), BM_CLICK);
    } else if (control.Parent()) {
        PostMessage(control.Parent()->Handle(), BM_CLICK, 0, reinterpret_cast<intptr_t>(&control));
    }
}

void TApplication::PostFocus(TWinControl& control) { PostMessage(control.Handle(), WM_SETFOCUS); }

}  // namespace vel
