#include "suite/host/lookup_window.h"

#include <ostream>

#include "platform/text/codepage.h"
#include "platform/text/json.h"

namespace velhost {
namespace {

vel::Variant Element(const vel::Variant& a, int i) {
    return a.IsArray() && a.DimCount() == 1 && i >= a.LowBound() && i <= a.HighBound() ? a[i] : vel::Variant();
}

bool AllIndexes(const vel::Variant& pick) {
    if (!pick.IsArray() || pick.DimCount() != 1 || pick.HighBound() < pick.LowBound()) return false;
    for (int i = pick.LowBound(); i <= pick.HighBound(); ++i) {
        vel::VarType t = pick[i].Type();
        if (t != vel::VarType::Integer && t != vel::VarType::SmallInt && t != vel::VarType::Byte) return false;
    }
    return true;
}

}  // namespace

vel::Variant AnswerLookup(HostAnswers* answers, ServerLink* link, const vel::Variant& request) {
    std::string kind = Element(request, 0).ToString(), variant = Element(request, 1).ToString();
    bool multiple = Element(request, 3).IsEmpty() ? false : Element(request, 3).ToBool();
    std::string typed = Element(request, 4).ToString();
    std::ostream* out = answers ? answers->out : nullptr;
    if (out) *out << "lookup " << kind << ' ' << variant << std::endl;

    vel::Variant candidates;
    if (link) {
        try {
            candidates = link->Call("LookupData", {vel::Variant(kind), vel::Variant(variant), vel::Variant(typed),
                                                   Element(request, 2)});
        } catch (const std::exception& e) {
            if (out) *out << "lookup error " << vel::AnsiToUtf8(e.what()) << std::endl;
        }
    }
    if (out && candidates.IsArray()) *out << "lookup rows " << vel::ToJson(candidates) << std::endl;

    vel::Variant pick;
    if (!answers || !answers->TakePick(pick)) return vel::Variant();
    if (!AllIndexes(pick)) return pick;
    if (!candidates.IsArray()) return vel::Variant();
    std::vector<vel::Variant> rows;
    for (int i = pick.LowBound(); i <= pick.HighBound(); ++i) {
        int index = pick[i].ToInt() + candidates.LowBound();
        if (index >= candidates.LowBound() && index <= candidates.HighBound()) rows.push_back(candidates[index]);
    }
    if (rows.empty()) return vel::Variant();
    if (!multiple) rows.resize(1);
    vel::Variant answer = vel::Variant::Array(0, static_cast<int>(rows.size()) - 1);
    for (size_t i = 0; i < rows.size(); ++i) answer[static_cast<int>(i)] = rows[i];
    return answer;
}

}  // namespace velhost
