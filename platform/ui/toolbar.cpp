#include "platform/ui/toolbar.h"

#include "platform/ui/menus.h"

namespace vel {

VEL_DEFINE_COMPONENT(TImageList,
    b.Int("Width", [](TImageList& i) { return i.Width(); }, [](TImageList& i, int v) { i.SetWidth(v); });
    b.Int("Height", [](TImageList& i) { return i.Height(); }, [](TImageList& i, int v) { i.SetHeight(v); });
    b.Int("Count", [](TImageList& i) { return i.Count(); }, [](TImageList& i, int v) { i.SetCount(v); }))

VEL_DEFINE_COMPONENT(TToolBar,
    b.Bool("Flat", [](TToolBar& t) { return t.Flat(); }, [](TToolBar& t, bool v) { t.SetFlat(v); });
    b.Obj("Images", [](TToolBar& t) -> TPersistent* { return t.Images; },
          [](TToolBar& t, TPersistent* v) { t.Images = dynamic_cast<TImageList*>(v); }))

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) { height_ = 29; }

VEL_DEFINE_COMPONENT(TToolButton,
    b.Str("Caption", [](TToolButton& t) { return t.Caption(); }, [](TToolButton& t, const std::string& v) { t.SetCaption(v); });
    b.Int("ImageIndex", [](TToolButton& t) { return t.ImageIndex(); }, [](TToolButton& t, int v) { t.SetImageIndex(v); });
    b.Enum("Style", std::vector<std::string>{"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"},
           [](TToolButton& t) { return static_cast<int>(t.Style()); },
           [](TToolButton& t, int v) { t.SetStyle(static_cast<TToolButtonStyle>(v)); });
    b.Bool("Down", [](TToolButton& t) { return t.Down(); }, [](TToolButton& t, bool v) { t.SetDown(v); });
    b.Obj("DropdownMenu", [](TToolButton& t) -> TPersistent* { return t.DropdownMenu; },
          [](TToolButton& t, TPersistent* v) { t.DropdownMenu = dynamic_cast<TPopupMenu*>(v); }))

TToolButton::TToolButton(TComponent* owner) : TControl(owner) {
    width_ = 23;
    height_ = 22;
}

VEL_DEFINE_COMPONENT(TSplitter, (void)b)

TSplitter::TSplitter(TComponent* owner) : TControl(owner) {
    width_ = 3;
    align_ = TAlign::alLeft;
}

}  // namespace vel
