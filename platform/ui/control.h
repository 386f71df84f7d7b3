#pragma once
// Controls: components with a parent, bounds, visibility, colour and font. Windowed
// controls hold other controls, have a handle on demand, take the focus and keys.
#include <string>
#include <vector>

#include "platform/ui/component.h"
#include "platform/ui/graphics.h"
#include "platform/ui/messages.h"

namespace vel {

class TWinControl;
class TCustomForm;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TKeyEvent = Handler<TComponent*, uint16_t&, TShiftState>;
using TKeyPressEvent = Handler<TComponent*, char&>;

class VEL_API TControl : public TComponent {
    VEL_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    TRect BoundsRect() const { return TRect{left_, top_, left_ + width_, top_ + height_}; }
    TRect ClientRect() const { return TRect{0, 0, width_, height_}; }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    // Visible itself and every parent visible.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    virtual void SetColor(TColor color) { color_ = color; parentColor_ = false; }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    virtual std::string Caption() const { return caption_; }
    virtual void SetCaption(const std::string& text);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }

    // The form this control is on (itself for a form).
    TCustomForm* ParentForm() const;

    virtual void Click();
    void Repaint() { ++paintCount_; }
    int PaintCount() const { return paintCount_; }
    // Records the control's drawing on `canvas` (controls that paint override it).
    virtual void Paint(TCanvas& canvas) {}

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;

protected:
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void Resized() { OnResize(this); }
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    void Notification(TComponent* component, bool removing) override;
    friend class TWinControl;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    std::string caption_;
    std::string hint_;
    bool showHint_ = false;
    int paintCount_ = 0;
};

class VEL_API TWinControl : public TControl {
    VEL_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Child controls in insertion order.
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    const std::vector<TControl*>& ControlList() const { return controls_; }
    void InsertControl(TControl* control);
    void ReadChild(TComponent* child) override;
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;

    // The window handle, created on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != 0; }
    void DestroyHandle();

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value) { tabStop_ = value; }
    // Showing and enabled up to the form.
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // Windowed children in tab order.
    std::vector<TWinControl*> TabOrderList() const;

    // Lays out aligned children (top, bottom, left, right, then client).
    void Realign();

    // Message handling: keys and characters arrive here after the form's preview.
    virtual void WndProc(TMessage& message);
    virtual void KeyDown(uint16_t& key, TShiftState shift) { OnKeyDown(this, key, shift); }
    virtual void KeyPress(char& key) { OnKeyPress(this, key); }
    virtual void KeyUp(uint16_t& key, TShiftState shift) { OnKeyUp(this, key, shift); }
    // Typed text replaces the control's text (edits override to apply their rules).
    virtual void TypeText(const std::string& text) { SetCaption(text); }
    // An accelerator (Alt + the character after "&" in a caption) offered to the form's
    // controls in tab order; true when this control took it.
    virtual bool DialogChar(char key) { return false; }
    virtual void DoEnter() { OnEnter(this); }
    virtual void DoExit() { OnExit(this); }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    void Resized() override;
    void BeforeDestruction() override;

private:
    friend class TControl;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool leftButtonDown_ = false;  // a press whose release makes a click
    HWND handle_ = 0;
    bool tabStop_ = false;
};

// The control that owns a handle, or null.
VEL_API TWinControl* FindControl(HWND handle);

// True when `key` is the accelerator of `caption`: the character after a single "&"
// ("&&" is a literal ampersand), letters compared without case.
VEL_API bool IsAccel(char key, const std::string& caption);

}  // namespace vel
