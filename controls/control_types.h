#pragma once
// Small things the framework's controls share.
#include <string>
#include <vector>

namespace vel {

// Which side a control's text stands on (taRightJustify: right of the box or picture).
enum class TLeftRight { taLeftJustify, taRightJustify };

inline std::vector<std::string> LeftRightNames() { return {"taLeftJustify", "taRightJustify"}; }

// A caption as it reads on screen: "&x" shows x, "&&" shows "&".
std::string DisplayCaption(const std::string& caption);

// An error dialog with an OK button; `text` is in the module's code page.
void ShowControlError(const std::string& text);

}  // namespace vel
