#pragma once
// The page control with tabs of its own drawing: the active tab in the active-caption
// colours and bold, the others in the inactive-caption colours.
#include "platform/ui/comctrls.h"

namespace vel {

class TExtPageControl : public TPageControl {
    VEL_CLASS(TExtPageControl, TPageControl)
public:
    explicit TExtPageControl(TComponent* owner);

protected:
    // OnDrawTab when assigned, else the caption colours.
    void DrawTab(TCanvas& canvas, int tabIndex, const TRect& rect, bool active) override;
};

}  // namespace vel
