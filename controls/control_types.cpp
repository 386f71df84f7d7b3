#include "controls/control_types.h"

#include "platform/ui/presenter.h"

namespace vel {

std::string DisplayCaption(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == '&') continue;
        out += caption[i];
    }
    return out;
}

void ShowControlError(const std::string& text) {
    DialogRequest request;
    request.text = text;
    request.type = TMsgDlgType::mtError;
    request.buttons = mbOK;
    Presenter().MessageDialog(request);
}

}  // namespace vel
