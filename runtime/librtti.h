#pragma once
// Published properties read and written by name, for the settings the forms keep by
// component and property name. A missing object, an empty name or an unknown property reads
// as the empty value and writes nothing; none of these routines raises.
#include <any>
#include <cstdint>
#include <string>

#include "platform/ui/control.h"
#include "platform/ui/object.h"

namespace vel {

// String and char properties; empty for other kinds.
std::string GetStrPropByName(TPersistent* component, const std::string& propName);
void SetStrPropByName(TPersistent* component, const std::string& propName, const std::string& value);
// Integer, char, enumeration and set properties (sets as their bit mask); 0 for other kinds.
int GetOrdPropByName(TPersistent* control, const std::string& propName);
void SetOrdPropByName(TPersistent* object, const std::string& propName, int value);
// The handler of an event property (a Handler<...> in the std::any); empty when absent.
std::any GetMethodPropByName(TPersistent* object, const std::string& eventName);
void SetMethodPropByName(TPersistent* object, const std::string& eventName, const std::any& handler);
bool HasPropertyNamed(TPersistent* component, const std::string& propName);

// Hands a left-button press and release straight to the control's window procedure (not
// through the queue), so the control reacts at once.
void ClickControl(TWinControl* control, intptr_t wParam, intptr_t lParam);

}  // namespace vel
