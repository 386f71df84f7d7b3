#pragma once
// What the person at the shell has queued for the host's own windows: lookup picks and
// picked dates. The host services take them in order; without one they answer "nothing".
#include <deque>
#include <ostream>
#include <string>

#include "platform/variant/variant.h"

namespace velhost {

struct HostAnswers {
    std::deque<vel::Variant> picks;        // answers of the lookup window
    std::deque<std::string> dates;         // answers of the date picker (yyyymmdd)
    std::ostream* out = nullptr;           // where lookups are reported

    // The next queued answer; false (or an empty date) when the person queued none.
    bool TakePick(vel::Variant& pick) {
        if (picks.empty()) return false;
        pick = picks.front();
        picks.pop_front();
        return true;
    }
    std::string TakeDate() {
        if (dates.empty()) return "";
        std::string date = dates.front();
        dates.pop_front();
        return date;
    }
};

}  // namespace velhost
