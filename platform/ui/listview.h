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

private:
    friend class TListView;
    TListView* owner_ = nullptr;
};

using TLVEditedEvent = Handler<TComponent*, TListItem*, std::string&>;

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
    void SetSelected(TListItem* item) { selected_ = item; }
    int ItemIndex() const { return selected_ ? selected_->Index() : -1; }

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

private:
    void Sort();
    std::vector<TListColumn> columns_;
    std::vector<std::unique_ptr<TListItem>> items_;
    TListItem* selected_ = nullptr;
    TListItem* editing_ = nullptr;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
    TSortType sortType_ = TSortType::stNone;
    bool readOnly_ = false;
};

}  // namespace vel
