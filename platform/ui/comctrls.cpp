#include "platform/ui/comctrls.h"

#include <algorithm>

namespace vel {

VEL_DEFINE_COMPONENT(TTabSheet,
    b.Str("Caption", [](TTabSheet& c) { return c.Caption(); }, [](TTabSheet& c, const std::string& v) { c.SetCaption(v); });
    b.Int("PageIndex", [](TTabSheet& c) { return c.PageIndex(); }, [](TTabSheet& c, int v) { c.SetPageIndex(v); });
    b.Bool("TabVisible", [](TTabSheet& c) { return c.TabVisible(); }, [](TTabSheet& c, bool v) { c.SetTabVisible(v); });
    b.Obj("PageControl", [](TTabSheet& c) -> TPersistent* { return c.PageControl(); },
          [](TTabSheet& c, TPersistent* v) { c.SetPageControl(dynamic_cast<TPageControl*>(v)); });
    b.Event("OnShow", &TTabSheet::OnShow);
    b.Event("OnHide", &TTabSheet::OnHide))

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    width_ = 281;
    height_ = 165;
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

void TTabSheet::SetParent(TWinControl* parent) {
    auto* target = dynamic_cast<TPageControl*>(parent);
    if (pageControl_ && pageControl_ != target) pageControl_->RemovePage(this);
    TWinControl::SetParent(parent);
    if (target && pageControl_ != target) target->InsertPage(this);
}

void TTabSheet::SetBounds(int left, int top, int width, int height) {
    if (pageControl_) {
        TRect r = pageControl_->DisplayRect();
        TWinControl::SetBounds(r.left, r.top, r.Width(), r.Height());
    } else {
        TWinControl::SetBounds(left, top, width, height);
    }
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (!pageControl_) return;
    auto& pages = pageControl_->pages_;
    pages.erase(std::find(pages.begin(), pages.end(), this));
    index = std::clamp(index, 0, static_cast<int>(pages.size()));
    pages.insert(pages.begin() + index, this);
    pageControl_->Repaint();
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int index = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this) return index;
        if (p->tabVisible_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (tabVisible_ == value) return;
    tabVisible_ = value;
    if (pageControl_) pageControl_->TabShowingChanged(this);
}

void TTabSheet::SetShown(bool shown, bool notify) {
    if (visible_ == shown) return;
    visible_ = shown;
    if (notify) VisibleChanged();
}

void TTabSheet::VisibleChanged() {
    if (visible_) OnShow(this);
    else OnHide(this);
}

void TTabSheet::TextChanged() {
    if (pageControl_) pageControl_->Repaint();
}

VEL_DEFINE_COMPONENT(TPageControl,
    b.Obj("ActivePage", [](TPageControl& c) -> TPersistent* { return c.ActivePage(); },
          [](TPageControl& c, TPersistent* v) { c.SetActivePage(dynamic_cast<TTabSheet*>(v)); });
    b.Int("TabHeight", [](TPageControl& c) { return c.TabHeight(); }, [](TPageControl& c, int v) { c.SetTabHeight(v); });
    b.Int("TabWidth", [](TPageControl& c) { return c.TabWidth(); }, [](TPageControl& c, int v) { c.SetTabWidth(v); });
    b.Bool("OwnerDraw", [](TPageControl& c) { return c.OwnerDraw(); }, [](TPageControl& c, bool v) { c.SetOwnerDraw(v); });
    b.Event("OnChange", &TPageControl::OnChange);
    b.Event("OnChanging", &TPageControl::OnChanging);
    b.Event("OnDrawTab", &TPageControl::OnDrawTab))

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    width_ = 289;
    height_ = 193;
    SetTabStop(true);
}

TPageControl::~TPageControl() {
    // The sheets outlive us as orphans (their owner frees them).
    for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    PlaceSheet(page);
    if (!activePage_ && page->tabVisible_) {
        page->SetShown(false, false);
        Activate(page, !Loading() && !page->Loading());
    } else {
        page->SetShown(false, false);
    }
    Repaint();
}

void TPageControl::RemovePage(TTabSheet* page) {
    TTabSheet* next = nullptr;
    if (page == activePage_) {
        next = FindNextPage(page, true, true);
        if (next == page) next = nullptr;
        activePage_ = nullptr;
    }
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    page->pageControl_ = nullptr;
    // A sheet that is being freed takes no events with it: the form may be going away too.
    if (next) Activate(next, !page->Destroying() && !Destroying());
    Repaint();
}

void TPageControl::Activate(TTabSheet* page, bool notify) {
    if (page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = page;
    if (old) old->SetShown(false, notify);
    if (page) page->SetShown(true, notify);
    Repaint();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) throw Exception("The tab sheet is not a page of " + Name());
    Activate(page, !Loading());
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

int TPageControl::TabCount() const {
    return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->tabVisible_; }));
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* p : pages_)
        if (p->tabVisible_ && tabIndex-- == 0) return p;
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward, bool checkTabVisible) const {
    int n = PageCount();
    if (n == 0) return nullptr;
    auto it = std::find(pages_.begin(), pages_.end(), current);
    int start = it == pages_.end() ? (forward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
    for (int step = 1; step <= n; ++step) {
        int i = ((start + (forward ? step : -step)) % n + n) % n;
        TTabSheet* p = pages_[static_cast<size_t>(i)];
        if (!checkTabVisible || p->tabVisible_) return p;
    }
    return nullptr;
}

bool TPageControl::CanChange() {
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

bool TPageControl::ChangeTo(TTabSheet* page) {
    if (!page || page == activePage_ || !CanChange()) return false;
    SetActivePage(page);
    Change();
    return true;
}

bool TPageControl::SelectNextPage(bool forward, bool checkTabVisible) {
    return ChangeTo(FindNextPage(activePage_, forward, checkTabVisible));
}

bool TPageControl::ClickTab(int tabIndex) { return ChangeTo(PageForTab(tabIndex)); }

void TPageControl::KeyDown(uint16_t& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if ((shift & ssCtrl) && (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)) {
        SelectNextPage(key == VK_TAB ? !(shift & ssShift) : key == VK_NEXT);
        key = 0;
    } else if (!(shift & (ssCtrl | ssAlt)) && (key == VK_LEFT || key == VK_RIGHT)) {
        // Arrows stop at the first and the last tab.
        int tab = TabIndex() + (key == VK_RIGHT ? 1 : -1);
        if (tab >= 0 && tab < TabCount()) ClickTab(tab);
        key = 0;
    }
}

void TPageControl::SetTabHeight(int value) {
    tabHeight_ = std::max(0, value);
    PlaceSheets();
}

void TPageControl::SetTabWidth(int value) {
    tabWidth_ = std::max(0, value);
    Repaint();
}

int TPageControl::DefaultTabHeight() const { return tabHeight_ > 0 ? tabHeight_ : MeasureTextHeight(font_) + 4; }

int TPageControl::TabWidthOf(int tabIndex) const {
    if (tabWidth_ > 0) return tabWidth_;
    if (fixedTabs_) {
        int widest = 0;
        for (TTabSheet* p : pages_)
            if (p->tabVisible_) widest = std::max(widest, MeasureTextWidth(p->Caption(), font_));
        return widest + 12;
    }
    TTabSheet* page = PageForTab(tabIndex);
    return page ? MeasureTextWidth(page->Caption(), font_) + 12 : 0;
}

TRect TPageControl::TabRect(int tabIndex) const {
    if (tabIndex < 0 || tabIndex >= TabCount()) return TRect{};
    int x = 2;
    for (int i = 0; i < tabIndex; ++i) x += TabWidthOf(i);
    return TRect{x, 2, x + TabWidthOf(tabIndex), 2 + DefaultTabHeight()};
}

TRect TPageControl::DisplayRect() const {
    int top = DefaultTabHeight() + 6;
    return TRect{4, top, std::max(4, width_ - 4), std::max(top, height_ - 4)};
}

void TPageControl::PlaceSheet(TTabSheet* page) { page->SetBounds(0, 0, 0, 0); }

void TPageControl::PlaceSheets() {
    for (TTabSheet* p : pages_) PlaceSheet(p);
    Repaint();
}

void TPageControl::Resized() {
    TWinControl::Resized();
    PlaceSheets();
}

void TPageControl::FontChanged() {
    TWinControl::FontChanged();
    PlaceSheets();
}

void TPageControl::TabShowingChanged(TTabSheet* page) {
    if (!page->tabVisible_ && page == activePage_) {
        TTabSheet* next = FindNextPage(page, true, true);
        SetActivePage(next == page ? nullptr : next);
    } else if (page->tabVisible_ && !activePage_) {
        SetActivePage(page);
    }
    Repaint();
}

void TPageControl::Paint(TCanvas& canvas) {
    struct Scope {
        TCanvas*& slot;
        ~Scope() { slot = nullptr; }
    } scope{canvas_};
    canvas_ = &canvas;
    canvas.brushColor = color_;
    canvas.FillRect(ClientRect());
    TRect frame = DisplayRect();
    canvas.penColor = clBtnShadow;
    canvas.FrameRect(TRect{frame.left - 2, frame.top - 2, frame.right + 2, frame.bottom + 2});
    for (int i = 0, n = TabCount(); i < n; ++i) DrawTab(canvas, i, TabRect(i), PageForTab(i) == activePage_);
}

void TPageControl::DrawTab(TCanvas& canvas, int tabIndex, const TRect& rect, bool active) {
    if (ownerDraw_ && OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    canvas.brushColor = color_;
    canvas.FillRect(rect);
    canvas.penColor = clBtnShadow;
    canvas.FrameRect(rect);
    canvas.font.Assign(font_);
    std::string caption = PageForTab(tabIndex)->Caption();
    canvas.TextOut(rect.left + (rect.Width() - canvas.TextWidth(caption)) / 2,
                   rect.top + (rect.Height() - canvas.TextHeight(caption)) / 2, caption);
}

}  // namespace vel
