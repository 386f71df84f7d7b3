#pragma once
// The list view: columns, items with captions, sub-items and images, four view styles,
// sorting by text and in-place editing of captions.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/strings.h"

namespace vel {

class TListView;
class TImageList;
class TPopupMenu;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TSortType { stNone, stData, stText, stBoth };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TItemChange { ctText, ctImage, ctState };

struct TListColumn {
    std::string caption;
    int width = 50;
    TAlignment alignment = TAlignment::taLeftJustify;
};

class VEL_API TListItem {
public:
    std::string caption;
    TStringList subItems;
    int imageIndex = -1;
    void* data = nullptr;
    int Index() const;
    TListView* Owner() const { return owner_; }
    bool Selected() const { return selected_; }
    // Goes through the owner, so its selection events run.
    void SetSelected(bool value);

private:
    friend class TListView;
    TListView* owner_ = nullptr;
    bool selected_ = false;
};

using TLVEditedEvent = Handler<TComponent*, TListItem*, std::string&>;
using TLVSelectItemEvent = Handler<TComponent*, TListItem*, bool>;
using TLVChangeEvent = Handler<TComponent*, TListItem*, TItemChange>;
using TLVChangingEvent = Handler<TComponent*, TListItem*, TItemChange, bool&>;
// Compare < 0 puts item 1 first.
using TLVCompareEvent = Handler<TComponent*, TListItem*, TListItem*, int&>;
using TLVColumnClickEvent = Handler<TComponent*, int>;

class VEL_API TListView : public TWinControl {
    VEL_CLASS(TListView, TWinControl)
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    std::vector<TListColumn>& Columns() { return columns_; }
    TListColumn& AddColumn(const std::string& caption, int width = 50);

    int ItemCount() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
    TListItem* AddItem(const std::string& caption);
    void DeleteItem(int index);
    void ClearItems();
    TListItem* FindCaption(const std::string& caption) const;

    TListItem* Selected() const { return selected_; }
    // Selects `item` alone (null clears the selection).
    void SetSelected(TListItem* item);
    int ItemIndex() const { return selected_ ? selected_->Index() : -1; }
    // Selects or deselects one item; without MultiSelect selecting it deselects the others.
    void SelectItem(TListItem* item, bool select);
    int SelCount() const;
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v) { multiSelect_ = v; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v) { rowSelect_ = v; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v) { hideSelection_ = v; }
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool v) { showColumnHeaders_ = v; }
    // A click on the header of column `index`.
    void ColumnClick(int index) { OnColumnClick(this, index); }
    // Sorts by OnCompare when assigned, else by caption.
    void AlphaSort();

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style) { viewStyle_ = style; }
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType type);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    TImageList* LargeImages = nullptr;
    TImageList* SmallImages = nullptr;
    TPopupMenu* PopupMenu = nullptr;

    // In-place editing of an item's caption: OnEdited may change or refuse (by restoring) the text.
    void BeginEdit(TListItem* item);
    void EndEdit(const std::string& text);
    bool IsEditing() const { return editing_ != nullptr; }

    TLVEditedEvent OnEdited;
    TLVSelectItemEvent OnSelectItem;
    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVCompareEvent OnCompare;
    TLVColumnClickEvent OnColumnClick;

private:
    void Sort();
    std::vector<TListColumn> columns_;
    std::vector<std::unique_ptr<TListItem>> items_;
    TListItem* selected_ = nullptr;
    TListItem* editing_ = nullptr;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
    TSortType sortType_ = TSortType::stNone;
    bool readOnly_ = false;
    bool multiSelect_ = false;
    bool rowSelect_ = false;
    bool hideSelection_ = true;
    bool showColumnHeaders_ = true;
};

}  // namespace vel
