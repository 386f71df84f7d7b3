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
    b.Event("OnEdited", &TListView::OnEdited))

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
    if (sortType_ == TSortType::stText || sortType_ == TSortType::stBoth)
        std::stable_sort(items_.begin(), items_.end(),
                         [](const auto& a, const auto& b) { return a->caption < b->caption; });
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
