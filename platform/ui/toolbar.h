#pragma once
// Tool bars with tool buttons, image lists and splitters.
#include <string>

#include "platform/ui/control.h"

namespace vel {

class TPopupMenu;

class VEL_API TImageList : public TComponent {
    VEL_CLASS(TImageList, TComponent)
public:
    explicit TImageList(TComponent* owner) : TComponent(owner) {}
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; }

private:
    int width_ = 16;
    int height_ = 16;
    int count_ = 0;
};

class VEL_API TToolBar : public TWinControl {
    VEL_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* owner);
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }
    TImageList* Images = nullptr;

private:
    bool flat_ = false;
};

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class VEL_API TToolButton : public TControl {
    VEL_CLASS(TToolButton, TControl)
public:
    explicit TToolButton(TComponent* owner);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle v) { style_ = v; }
    bool Down() const { return down_; }
    void SetDown(bool v) { down_ = v; }
    TPopupMenu* DropdownMenu = nullptr;

private:
    int imageIndex_ = -1;
    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    bool down_ = false;
};

class VEL_API TSplitter : public TControl {
    VEL_CLASS(TSplitter, TControl)
public:
    explicit TSplitter(TComponent* owner);
};

}  // namespace vel
