#include "controls/ext_page_control.h"

namespace vel {

VEL_DEFINE_COMPONENT(TExtPageControl, (void)b)

TExtPageControl::TExtPageControl(TComponent* owner) : TPageControl(owner) {
    SetOwnerDraw(true);
    fixedTabs_ = true;
}

void TExtPageControl::DrawTab(TCanvas& canvas, int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    TRect r = rect;
    canvas.font.Assign(Font());
    if (active) {
        r = TRect{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        canvas.font.style |= fsBold;
        canvas.font.color = clCaptionText;
        canvas.brushColor = clActiveCaption;
        canvas.FillRect(r);
    } else {
        canvas.font.style &= ~fsBold;
        canvas.font.color = clInactiveCaptionText;
        canvas.brushColor = clInactiveCaption;
        canvas.FillRect(r);
        r.top += 2;
    }
    TTabSheet* page = PageForTab(tabIndex);
    std::string caption = page ? page->Caption() : std::string();
    canvas.TextOut(r.left + (r.Width() - canvas.TextWidth(caption)) / 2,
                   r.top + (r.Height() - canvas.TextHeight(caption)) / 2, caption);
}

}  // namespace vel
