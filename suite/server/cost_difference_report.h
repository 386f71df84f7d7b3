#pragma once
// The cost difference report of program QMLK07.
//
// Conditions, found in the option texts by their component names: ed01 year-month
// (yyyymm), sp02 items and sp03 warehouses (range [chr(4), begin, end] with blank bounds open,
// or list [chr(5), rows...] whose first column is the code; an empty list means all), chk04
// "Y" for rows with a difference only. Optional framework conditions: grpSignIn and grpNote
// [caption, every page, code, line 1..3], cboDateType [code, text], edPrintDate yyyymmdd
// (blank: the day the job runs).
//
// Rows: every item and warehouse of the conditions with a balance or a movement in the
// month. Quantity and amount are the ledger summed up to the month's end; unit cost is
// amount / quantity (0 without quantity); the standard unit cost is the latest one of the
// item up to the month; difference = amount - quantity x standard cost, rounded to cents.
//
// Outputs: "csv" always (a header line, then one line per row), "html" when the output flags
// ask for it (title, conditions and print date in the chosen date type, the rows, footer and
// sign-off; lines printed on every page go into the table's repeated foot).
#include <string>
#include <utility>
#include <vector>

#include "platform/variant/variant.h"
#include "suite/server/job_params.h"
#include "suite/server/server_store.h"

namespace velserver {

inline constexpr const char* kCostDifferenceProgram = "QMLK07";

// Answers (format, body) pairs, bodies in UTF-8. A parameter set it cannot read raises
// vel::Exception naming the condition and what is wrong with it.
std::vector<std::pair<std::string, std::string>> RunCostDifferenceReport(ServerStore& store, const vel::Variant& params,
                                                                         const JobEnvironment& env,
                                                                         const std::string& reference, double now);

}  // namespace velserver
