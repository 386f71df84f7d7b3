#pragma once
// The report-counter object "ReportCounterS.dmReportCounter": one per client connection
// (or per local-mode creation), over the shared store. It remembers the connection's last
// error (ErrorDescript) and which user's and program's schemes the provider "pvdConSave"
// serves (LoadTable).
//
// Operations and answers:
//   SQLType                          -> 1 (SQLite)
//   GetPower([db, user, program, ""]) -> [program, "f1,..,f6", text, text, text, [n, v1..vn]]
//   Request(params)                  -> job reference; the parameter set is stored and queued
//   Request1(params, computer)       -> job reference; stored as a logged client run
//   JobList(user)                    -> rows [ref, program, user, mode, status, submitted,
//                                       run at, started, finished, error, outputs]; "" = all users
//   JobStatus(ref)                   -> one such row; raises for an unknown job
//   JobOutput(ref, format)           -> a done job's "csv" or "html" output as a wide text
//   ErrorDescript                    -> last error text of this object
//   UpdateStatus1(ref, texts, when)  -> empty; raises for an unknown job
//   InsertConTable([name, user, date, program, props, values, replace]) -> "" or the reason
//   LoadTable([user, program])       -> ""; scopes "pvdConSave"
//   DeleteConTable([name, user, program])               -> "" or the reason
//   ChangeConName([old, user, program], [new, user, program]) -> "" or the reason
//   ProviderGetRecords(provider)     -> [field names, rows]
//   GetMessageText(type, number)     -> message text; raises for an unknown message
//   GetSysInfo(companyId)            -> 2-D array, row 0 names, row 1 values
//   QueryData / CheckValue(table, key, db, keyValues, result) -> found; QueryData fills result
//   LookupData(kind, variant, typed[, params]) -> rows of a master table for the lookup window
//   SelectRows(table, columns, names, values)  -> rows of named columns where names = values
//   GetPhrase(user)                  -> the user's phrases, one per line
//   NextCounter(name)                -> next integer of the counter
// Texts go out as byte texts in the data code page (936); wide texts coming in are
// converted to it.
#include <memory>
#include <string>

#include "platform/automation/dispatch.h"
#include "suite/server/server_store.h"

namespace velserver {

inline constexpr const char* kReportCounterClass = "ReportCounterS.dmReportCounter";
inline constexpr const char* kSchemeProviderName = "pvdConSave";

class ReportCounter : public vel::DispatchObject {
public:
    explicit ReportCounter(std::shared_ptr<ServerStore> store);

    // Records a failure as this object's last error before it reaches the caller.
    vel::Variant Invoke(const std::string& name, vel::InvokeKind kind, std::vector<vel::Variant>& args) override;

    const std::string& LastError() const { return lastError_; }

protected:
    std::string ClassName() const override { return kReportCounterClass; }

private:
    // An operation that answers its failure as text also records it.
    vel::Variant Answer(const std::string& error);
    vel::Variant SubmitJob(const char* kind, const vel::Variant& params, const std::string& computer);

    std::shared_ptr<ServerStore> store_;
    std::string lastError_;
    bool schemesScoped_ = false;
    std::string scopeUser_;
    std::string scopeProgram_;
};

}  // namespace velserver
