#pragma once
// Page controls: a row of tabs over a stack of tab sheets, one of them shown at a time.
//
// Geometry (fixed, so layouts are exact): tabs stand in one row from (2, 2), each TabHeight
// high (default: the font's text height + 4) and TabWidth wide (default: caption width + 12;
// with fixed tabs every tab is as wide as the widest). Sheets fill the display area from
// (4, tab bottom + 4) to 4 pixels inside the right and bottom edges.
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace vel {

class TPageControl;

class VEL_API TTabSheet : public TWinControl {
    VEL_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pageControl);
    void SetParent(TWinControl* parent) override;
    // A sheet always fills its page control's display area.
    void SetBounds(int left, int top, int width, int height) override;

    // Position among all pages; -1 without a page control.
    int PageIndex() const;
    void SetPageIndex(int index);
    // Position among the visible tabs; -1 when the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);

    // Raised when the sheet becomes the active page, and when it stops being it (not while
    // a form resource is being read).
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void VisibleChanged() override;
    void TextChanged() override;

private:
    friend class TPageControl;
    void SetShown(bool shown, bool notify);
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

using TTabChangingEvent = Handler<TComponent*, bool&>;
// Control, tab index, tab rectangle, active; the handler draws on the control's Canvas().
using TDrawTabEvent = Handler<TComponent*, int, const TRect&, bool>;

class VEL_API TPageControl : public TWinControl {
    VEL_CLASS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }

    // Setting the active page (or its index) shows it and hides the previous one; it raises
    // the sheets' OnShow/OnHide but neither OnChanging nor OnChange, which belong to the
    // user's page moves (ClickTab, SelectNextPage, keys). The first page added becomes the
    // active one when there is none.
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
    void SetActivePageIndex(int index);

    // Visible tabs: their count, the page of a tab, the active tab (-1 when none).
    int TabCount() const;
    TTabSheet* PageForTab(int tabIndex) const;
    int TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }

    // The page after (or before) `current` in page order, wrapping round; with
    // `checkTabVisible` pages whose tabs are hidden are passed over. Null when none.
    TTabSheet* FindNextPage(TTabSheet* current, bool forward, bool checkTabVisible = true) const;
    // A page move as the user makes it: OnChanging may refuse, then the page changes and
    // OnChange runs. False when the page did not change.
    bool SelectNextPage(bool forward, bool checkTabVisible = true);
    bool ClickTab(int tabIndex);

    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value) { ownerDraw_ = value; Repaint(); }

    TRect TabRect(int tabIndex) const;
    TRect DisplayRect() const;

    // The canvas being painted, for OnDrawTab handlers; null outside Paint.
    TCanvas* Canvas() const { return canvas_; }
    void Paint(TCanvas& canvas) override;

    // Ctrl+Tab / Ctrl+Page Down and Ctrl+Shift+Tab / Ctrl+Page Up move a page round;
    // Left and Right move to the neighbouring tab.
    void KeyDown(uint16_t& key, TShiftState shift) override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;

protected:
    // Draws one tab; with OwnerDraw, OnDrawTab when assigned.
    virtual void DrawTab(TCanvas& canvas, int tabIndex, const TRect& rect, bool active);
    virtual bool CanChange();
    virtual void Change() { OnChange(this); }
    void Resized() override;
    void FontChanged() override;
    // All tabs as wide as the widest (when TabWidth is 0).
    bool fixedTabs_ = false;

private:
    friend class TTabSheet;
    bool ChangeTo(TTabSheet* page);  // user move: OnChanging, switch, OnChange
    void Activate(TTabSheet* page, bool notify);
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PlaceSheet(TTabSheet* page);
    void PlaceSheets();
    void TabShowingChanged(TTabSheet* page);
    int DefaultTabHeight() const;
    int TabWidthOf(int tabIndex) const;

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    bool ownerDraw_ = false;
    TCanvas* canvas_ = nullptr;
};

}  // namespace vel
