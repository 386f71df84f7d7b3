#pragma once
// What the generic form needs of a selection panel without knowing its class: its inner
// controls, its mode and the date settings of its edits.
#include <string>

#include "platform/ui/control.h"

namespace vel {

class ISelectionPanel {
public:
    virtual ~ISelectionPanel() = default;
    virtual bool IsRangeMode() const = 0;
    virtual TWinControl* BeginEdit() = 0;
    virtual TWinControl* FinalEdit() = 0;
    virtual TWinControl* ListControl() = 0;
    virtual int ListRowCount() const = 0;
    virtual void SetPanelEditMask(const std::string& mask) = 0;
    // Dates in the panel: value type date with the user's date type code and separator.
    virtual void UseDateValues(int dateTypeCode, const std::string& separator) = 0;
};

}  // namespace vel
