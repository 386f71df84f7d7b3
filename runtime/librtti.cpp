#include "runtime/librtti.h"

#include "platform/ui/messages.h"

namespace vel {
namespace {


const PropInfo* Find(TPersistent* object, const std::string& name) {
    if (!object || name.empty()) return nullptr;
    return object->Class().FindProperty(name);
}

bool IsOrdinal(PropKind kind) {
    return kind == PropKind::Integer || kind == PropKind::Char || kind == PropKind::Enumeration ||
           kind == PropKind::Set;
}

}  // namespace

std::string GetStrPropByName(TPersistent* component, const std::string& propName) {
    try {
        const PropInfo* p = Find(component, propName);
        if (!p || !p->get || (p->kind != PropKind::String && p->kind != PropKind::Char)) return "";
        return p->get(*component).ToString();
    } catch (...) {
        return "";
    }
}

void SetStrPropByName(TPersistent* component, const std::string& propName, const std::string& value) {
    try {
        const PropInfo* p = Find(component, propName);
        if (!p || !p->set || (p->kind != PropKind::String && p->kind != PropKind::Char)) return;
        p->set(*component, Variant(value));
    } catch (...) {
    }
}

int GetOrdPropByName(TPersistent* control, const std::string& propName) {
    try {
        const PropInfo* p = Find(control, propName);
        if (!p || !p->get || !IsOrdinal(p->kind)) return 0;
        Variant v = p->get(*control);
        if (p->kind == PropKind::Char) {
            std::string s = v.ToString();
            return s.empty() ? 0 : static_cast<unsigned char>(s[0]);
        }
        return v.ToInt();
    } catch (...) {
        return 0;
    }
}

void SetOrdPropByName(TPersistent* object, const std::string& propName, int value) {
    try {
        const PropInfo* p = Find(object, propName);
        if (!p || !p->set || !IsOrdinal(p->kind)) return;
        if (p->kind == PropKind::Char) p->set(*object, Variant(std::string(1, static_cast<char>(value))));
        else p->set(*object, Variant(value));
    } catch (...) {
    }
}

std::any GetMethodPropByName(TPersistent* object, const std::string& eventName) {
    try {
        const PropInfo* p = Find(object, eventName);
        if (!p || p->kind != PropKind::Event || !p->getEvent) return {};
        return p->getEvent(*object);
    } catch (...) {
        return {};
    }
}

void SetMethodPropByName(TPersistent* object, const std::string& eventName, const std::any& handler) {
    try {
        const PropInfo* p = Find(object, eventName);
        if (!p || p->kind != PropKind::Event || !p->setEvent) return;
        p->setEvent(*object, handler);
    } catch (...) {
    }
}

bool HasPropertyNamed(TPersistent* component, const std::string& propName) {
    return Find(component, propName) != nullptr;
}

void ClickControl(TWinControl* control, intptr_t wParam, intptr_t lParam) {
    if (!control) return;
    TMessage down;
    down.handle = control->Handle();
    down.msg = WM_LBUTTONDOWN;
    down.wParam = wParam;
    down.lParam = lParam;
    control->WndProc(down);
    TMessage up = down;
    up.msg = WM_LBUTTONUP;
    up.result = 0;
    control->WndProc(up);
}

}  // namespace vel
