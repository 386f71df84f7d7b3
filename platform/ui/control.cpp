#include "platform/ui/control.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/ui/forms.h"

namespace vel {
namespace {

std::map<HWND, TWinControl*>& Handles() {
    static std::map<HWND, TWinControl*> handles;
    return handles;
}

HWND NextHandle() {
    static HWND next = 0x1000;
    return next += 4;
}


}  // namespace

VEL_DEFINE_COMPONENT(TControl,
    b.Int("Left", [](TControl& c) { return c.Left(); }, [](TControl& c, int v) { c.SetLeft(v); });
    b.Int("Top", [](TControl& c) { return c.Top(); }, [](TControl& c, int v) { c.SetTop(v); });
    b.Int("Width", [](TControl& c) { return c.Width(); }, [](TControl& c, int v) { c.SetWidth(v); });
    b.Int("Height", [](TControl& c) { return c.Height(); }, [](TControl& c, int v) { c.SetHeight(v); });
    b.Enum("Align", std::vector<std::string>{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, [](TControl& c) { return static_cast<int>(c.Align()); },
           [](TControl& c, int v) { c.SetAlign(static_cast<TAlign>(v)); });
    b.Bool("Visible", [](TControl& c) { return c.Visible(); }, [](TControl& c, bool v) { c.SetVisible(v); });
    b.Bool("Enabled", [](TControl& c) { return c.Enabled(); }, [](TControl& c, bool v) { c.SetEnabled(v); });
    b.Int("Color", [](TControl& c) { return c.Color(); }, [](TControl& c, int v) { c.SetColor(v); });
    b.Obj("Font", [](TControl& c) -> TPersistent* { return &c.Font(); });
    b.Bool("ParentFont", [](TControl& c) { return c.ParentFont(); }, [](TControl& c, bool v) { c.SetParentFont(v); });
    b.Str("Hint", [](TControl& c) { return c.Hint(); }, [](TControl& c, const std::string& v) { c.SetHint(v); });
    b.Bool("ShowHint", [](TControl& c) { return c.ShowHint(); }, [](TControl& c, bool v) { c.SetShowHint(v); });
    b.Event("OnClick", &TControl::OnClick);
    b.Event("OnDblClick", &TControl::OnDblClick);
    b.Event("OnResize", &TControl::OnResize))

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw Exception("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    if (resized) Resized();
    if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetAlign(TAlign align) {
    if (align_ == align) return;
    align_ = align;
    if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    VisibleChanged();
    if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value && parent_) {
        font_.Assign(parent_->Font());
        FontChanged();
    }
}

void TControl::SetCaption(const std::string& text) {
    if (caption_ == text) return;
    caption_ = text;
    TextChanged();
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::Click() { OnClick(this); }

void TControl::Notification(TComponent* component, bool removing) { TComponent::Notification(component, removing); }

VEL_DEFINE_COMPONENT(TWinControl,
    b.Int("TabOrder", [](TWinControl& c) { return c.TabOrder(); }, [](TWinControl& c, int v) { c.SetTabOrder(v); });
    b.Bool("TabStop", [](TWinControl& c) { return c.TabStop(); }, [](TWinControl& c, bool v) { c.SetTabStop(v); });
    b.Event("OnEnter", &TWinControl::OnEnter);
    b.Event("OnExit", &TWinControl::OnExit);
    b.Event("OnKeyDown", &TWinControl::OnKeyDown);
    b.Event("OnKeyPress", &TWinControl::OnKeyPress);
    b.Event("OnKeyUp", &TWinControl::OnKeyUp))

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children that are not owned by anyone going away with us are orphaned, not freed.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    DestroyHandle();
}

void TWinControl::BeforeDestruction() {
    if (TCustomForm* form = ParentForm(); form && form != this) {
        if (form->activeControl_ == this || ContainsControl(form->activeControl_)) form->activeControl_ = nullptr;
    }
    TControl::BeforeDestruction();
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) tabList_.push_back(win);
    if (control->parentFont_) control->font_.Assign(font_);
    if (control->align_ != TAlign::alNone) Realign();
}

void TWinControl::ReadChild(TComponent* child) {
    if (auto* control = dynamic_cast<TControl*>(child)) control->SetParent(this);
}

void TWinControl::RemoveControl(TControl* control) {
    if (TCustomForm* form = ParentForm()) {
        if (auto* win = dynamic_cast<TWinControl*>(control);
            win && (form->activeControl_ == win || win->ContainsControl(form->activeControl_)))
            form->activeControl_ = nullptr;
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    control->parent_ = nullptr;
    if (control->align_ != TAlign::alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->parent_)
        if (c->parent_ == this) return true;
    return false;
}

HWND TWinControl::Handle() {
    if (!handle_) {
        handle_ = NextHandle();
        Handles()[handle_] = this;
    }
    return handle_;
}

void TWinControl::DestroyHandle() {
    if (handle_) {
        Handles().erase(handle_);
        handle_ = 0;
    }
}

TWinControl* FindControl(HWND handle) {
    auto it = Handles().find(handle);
    return it == Handles().end() ? nullptr : it->second;
}

bool IsAccel(char key, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(caption[i + 1])) == std::toupper(static_cast<unsigned char>(key));
    }
    return false;
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    auto& list = parent_->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}

bool TWinControl::Focused() const {
    TCustomForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    TCustomForm* form = ParentForm();
    if (!form) return;
    if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    if (form == this) return;
    form->SetActiveControl(this);
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
    std::vector<TWinControl*> out;
    for (TWinControl* c : tabList_) {
        out.push_back(c);
        auto inner = c->TabOrderList();
        out.insert(out.end(), inner.begin(), inner.end());
    }
    return out;
}

void TWinControl::Resized() {
    TControl::Resized();
    Realign();
}

void TWinControl::Realign() {
    TRect area = ClientRect();
    auto place = [&](TAlign which) {
        for (TControl* c : controls_) {
            if (c->align_ != which || !c->visible_) continue;
            int l = area.left, t = area.top, w = c->width_, h = c->height_;
            switch (which) {
                case TAlign::alTop: w = area.Width(); area.top += h; break;
                case TAlign::alBottom: w = area.Width(); t = area.bottom - h; area.bottom -= h; break;
                case TAlign::alLeft: h = area.Height(); area.left += w; break;
                case TAlign::alRight: h = area.Height(); l = area.right - w; area.right -= w; break;
                case TAlign::alClient: w = area.Width(); h = area.Height(); break;
                default: break;
            }
            bool resized = w != c->width_ || h != c->height_;
            c->left_ = l;
            c->top_ = t;
            c->width_ = std::max(0, w);
            c->height_ = std::max(0, h);
            if (resized) c->Resized();
        }
    };
    place(TAlign::alTop);
    place(TAlign::alBottom);
    place(TAlign::alLeft);
    place(TAlign::alRight);
    place(TAlign::alClient);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.msg) {
        case WM_KEYDOWN: {
            uint16_t key = static_cast<uint16_t>(message.wParam);
            KeyDown(key, static_cast<TShiftState>(message.lParam));
            message.result = key;
            break;
        }
        case WM_KEYUP: {
            uint16_t key = static_cast<uint16_t>(message.wParam);
            KeyUp(key, static_cast<TShiftState>(message.lParam));
            break;
        }
        case WM_CHAR: {
            char ch = static_cast<char>(message.wParam);
            KeyPress(ch);
            message.result = static_cast<unsigned char>(ch);
            break;
        }
        case CM_TYPETEXT: TypeText(message.text); break;
        case WM_SETTEXT: SetCaption(message.text); break;
        case BM_CLICK: if (enabled_) Click(); break;
        // A press and its release on the same control click it, as a mouse would.
        case WM_LBUTTONDOWN: leftButtonDown_ = enabled_; break;
        case WM_LBUTTONUP:
            if (leftButtonDown_ && enabled_) {
                leftButtonDown_ = false;
                Click();
            }
            leftButtonDown_ = false;
            break;
        default: break;
    }
}

}  // namespace vel
