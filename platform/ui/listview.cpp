#include "platform/ui/listview.h"

#include <algorithm>

#include "platform/ui/menus.h"
#include "platform/ui/toolbar.h"

namespace vel {

int TListItem::Index() const {
    if (!owner_) return -1;
    for (int i = 0; i < owner_->ItemCount(); ++i)
        if (owner_->Item(i) == this) return i;
    return -1;
}

void TListItem::SetSelected(bool value) {
    if (owner_) owner_->SelectItem(this, value);
    else selected_ = value;
}

VEL_DEFINE_COMPONENT(TListView,
    b.Enum("ViewStyle", std::vector<std::string>{"vsIcon", "vsSmallIcon", "vsList", "vsReport"},
           [](TListView& l) { return static_cast<int>(l.ViewStyle()); },
           [](TListView& l, int v) { l.SetViewStyle(static_cast<TViewStyle>(v)); });
    b.Enum("SortType", std::vector<std::string>{"stNone", "stData", "stText", "stBoth"},
           [](TListView& l) { return static_cast<int>(l.SortType()); },
           [](TListView& l, int v) { l.SetSortType(static_cast<TSortType>(v)); });
    b.Bool("ReadOnly", [](TListView& l) { return l.ReadOnly(); }, [](TListView& l, bool v) { l.SetReadOnly(v); });
    b.Obj("LargeImages", [](TListView& l) -> TPersistent* { return l.LargeImages; },
          [](TListView& l, TPersistent* v) { l.LargeImages = dynamic_cast<TImageList*>(v); });
    b.Obj("SmallImages", [](TListView& l) -> TPersistent* { return l.SmallImages; },
          [](TListView& l, TPersistent* v) { l.SmallImages = dynamic_cast<TImageList*>(v); });
    b.Obj("PopupMenu", [](TListView& l) -> TPersistent* { return l.PopupMenu; },
          [](TListView& l, TPersistent* v) { l.PopupMenu = dynamic_cast<TPopupMenu*>(v); });
    b.Bool("MultiSelect", [](TListView& l) { return l.MultiSelect(); }, [](TListView& l, bool v) { l.SetMultiSelect(v); });
    b.Bool("RowSelect", [](TListView& l) { return l.RowSelect(); }, [](TListView& l, bool v) { l.SetRowSelect(v); });
    b.Bool("HideSelection", [](TListView& l) { return l.HideSelection(); }, [](TListView& l, bool v) { l.SetHideSelection(v); });
    b.Bool("ShowColumnHeaders", [](TListView& l) { return l.ShowColumnHeaders(); },
           [](TListView& l, bool v) { l.SetShowColumnHeaders(v); });
    b.Event("OnEdited", &TListView::OnEdited);
    b.Event("OnSelectItem", &TListView::OnSelectItem);
    b.Event("OnChange", &TListView::OnChange);
    b.Event("OnChanging", &TListView::OnChanging);
    b.Event("OnCompare", &TListView::OnCompare);
    b.Event("OnColumnClick", &TListView::OnColumnClick))

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    width_ = 250;
    height_ = 150;
    color_ = clWindow;
    SetTabStop(true);
}

TListView::~TListView() = default;

TListColumn& TListView::AddColumn(const std::string& caption, int width) {
    columns_.push_back(TListColumn{caption, width, TAlignment::taLeftJustify});
    return columns_.back();
}

TListItem* TListView::AddItem(const std::string& caption) {
    auto item = std::make_unique<TListItem>();
    item->caption = caption;
    item->owner_ = this;
    TListItem* raw = item.get();
    items_.push_back(std::move(item));
    Sort();
    return raw;
}

void TListView::DeleteItem(int index) {
    if (index < 0 || index >= ItemCount()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    TListItem* item = items_[static_cast<size_t>(index)].get();
    if (selected_ == item) selected_ = nullptr;
    if (editing_ == item) editing_ = nullptr;
    items_.erase(items_.begin() + index);
}

void TListView::ClearItems() {
    items_.clear();
    selected_ = editing_ = nullptr;
}

void TListView::SetSelected(TListItem* item) {
    for (const auto& other : items_)
        if (other.get() != item && other->selected_) SelectItem(other.get(), false);
    if (item) SelectItem(item, true);
    selected_ = item;
}

void TListView::SelectItem(TListItem* item, bool select) {
    if (!item || item->owner_ != this || item->selected_ == select) return;
    bool allow = true;
    OnChanging(this, item, TItemChange::ctState, allow);
    if (!allow) return;
    if (select && !multiSelect_)
        for (const auto& other : items_)
            if (other.get() != item && other->selected_) SelectItem(other.get(), false);
    item->selected_ = select;
    if (select) {
        selected_ = item;
    } else if (selected_ == item) {
        selected_ = nullptr;
        for (const auto& other : items_)
            if (other->selected_) {
                selected_ = other.get();
                break;
            }
    }
    OnChange(this, item, TItemChange::ctState);
    OnSelectItem(this, item, select);
}

int TListView::SelCount() const {
    int n = 0;
    for (const auto& item : items_) n += item->selected_;
    return n;
}

TListItem* TListView::FindCaption(const std::string& caption) const {
    for (const auto& item : items_)
        if (item->caption == caption) return item.get();
    return nullptr;
}

void TListView::SetSortType(TSortType type) {
    sortType_ = type;
    Sort();
}

void TListView::Sort() {
    if (sortType_ == TSortType::stText || sortType_ == TSortType::stBoth) AlphaSort();
}

void TListView::AlphaSort() {
    if (OnCompare) {
        std::stable_sort(items_.begin(), items_.end(), [this](const auto& a, const auto& b) {
            int result = 0;
            OnCompare(this, a.get(), b.get(), result);
            return result < 0;
        });
        return;
    }
    std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) { return a->caption < b->caption; });
}

void TListView::BeginEdit(TListItem* item) {
    if (readOnly_ || !item) return;
    editing_ = item;
}

void TListView::EndEdit(const std::string& text) {
    TListItem* item = editing_;
    editing_ = nullptr;
    if (!item) return;
    std::string s = text;
    OnEdited(this, item, s);
    item->caption = s;
    Sort();
}

}  // namespace vel
