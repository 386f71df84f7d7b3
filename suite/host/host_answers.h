#pragma once
// What the person at the shell has queued for the host's own windows: lookup picks and
// picked dates. The host services take them in order; without one they answer "nothing".
#include <deque>
#include <ostream>

#include "platform/variant/variant.h"

namespace velhost {

struct HostAnswers {
    std::deque<vel::Variant> picks;        // answers of the lookup window
    std::deque<std::string> dates;         // answers of the date picker (yyyymmdd)
    std::ostream* out = nullptr;           // where lookups are reported
};

}  // namespace velhost
