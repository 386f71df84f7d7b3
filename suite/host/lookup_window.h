#pragma once
// The host's lookup window: a module's lookup request names a master table (kind), a
// variant and the text typed so far. The window offers the table's rows that match the text,
// as the server lists them, and answers what the person picked: rows given outright, or
// candidates by their numbers.
#include "platform/variant/variant.h"
#include "suite/host/host_answers.h"
#include "suite/host/server_link.h"

namespace velhost {

// Prints "lookup KIND VARIANT" and the candidates, then answers the next queued pick:
// an array of numbers picks candidates by index (a single-value request takes the first
// value of the first picked row); any other pick is the answer as it stands; no pick is
// "nothing picked".
vel::Variant AnswerLookup(HostAnswers* answers, ServerLink* link, const vel::Variant& request);

}  // namespace velhost
