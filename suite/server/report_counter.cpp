#include "suite/server/report_counter.h"

#include "platform/net/client_dataset.h"
#include "platform/net/wire.h"
#include "platform/system/inifile.h"
#include "platform/text/codepage.h"
#include "suite/server/data_text.h"
#include "suite/server/job_params.h"

namespace velserver {

using vel::Variant;

namespace {

// Limits on what a client may store; far above real use, low enough to keep one client
// from filling the disk through a single field.
constexpr size_t kMaxNameBytes = 200;
constexpr size_t kMaxFieldBytes = 1u << 20;

// The elements of a one-dimensional array argument, at least `count` of them.
std::vector<std::string> TextArray(const Variant& v, size_t count, const char* operation) {
    if (!v.IsArray() || v.DimCount() != 1 || v.ArrayData().items.size() < count)
        throw vel::Exception(std::string(operation) + " expects an array of " + std::to_string(count) + " elements");
    std::vector<std::string> out;
    for (size_t i = 0; i < count; ++i) out.push_back(DataText(v.ArrayData().items[i]));
    return out;
}

void RequireArgs(const std::vector<Variant>& args, size_t count, const char* operation) {
    if (args.size() < count)
        throw vel::Exception(std::string(operation) + " expects " + std::to_string(count) + " arguments");
}

bool Blank(const std::string& s) { return s.find_first_not_of(" \t\r\n") == std::string::npos; }

bool IsYmd(const std::string& s) { return s.size() == 8 && s.find_first_not_of("0123456789") == std::string::npos; }

std::string CheckName(const std::string& name) {
    if (Blank(name)) return "The scheme name is empty";
    if (name.size() > kMaxNameBytes) return "The scheme name is too long";
    return "";
}

Variant DateOrEmpty(double value) { return value > 0 ? Variant::FromDate(value) : Variant(); }

const char* ModeName(int mode) {
    switch (mode) {
        case kRealTime: return "realtime";
        case kAtTime: return "timed";
        default: return "queue";
    }
}

// [reference, program, user, mode, status, submitted, run at, started, finished, error, outputs]
Variant JobRow(const JobRecord& j) {
    return Variant::Of({Variant(j.reference), Variant(j.program), Variant(j.user), Variant(ModeName(j.mode)),
                        Variant(j.status), DateOrEmpty(j.submitted), DateOrEmpty(j.runAt), DateOrEmpty(j.started),
                        DateOrEmpty(j.finished), Variant(j.error), Variant(j.outputs)});
}

Variant TextRow(const std::vector<std::string>& row) {
    Variant a = Variant::Array(0, static_cast<int>(row.size()) - 1);
    for (size_t i = 0; i < row.size(); ++i) a[static_cast<int>(i)] = Variant(row[i]);
    return a;
}

}  // namespace

ReportCounter::ReportCounter(std::shared_ptr<ServerStore> store) : store_(std::move(store)) {
    AddMethod("SQLType", [](std::vector<Variant>&) { return Variant(1); });

    AddMethod("ErrorDescript", [this](std::vector<Variant>&) { return Variant(lastError_); });

    AddMethod("GetPower", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "GetPower");
        auto k = TextArray(args[0], 3, "GetPower");
        return store_->GetPower(k[0], k[1], k[2]);
    });

    AddMethod("Request", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "Request");
        return SubmitJob("Request", args[0], "");
    });

    AddMethod("Request1", [this](std::vector<Variant>& args) {
        RequireArgs(args, 2, "Request1");
        return SubmitJob("Request1", args[0], DataText(args[1]));
    });

    AddMethod("UpdateStatus1", [this](std::vector<Variant>& args) {
        RequireArgs(args, 3, "UpdateStatus1");
        std::string reference = DataText(args[0]);
        double when = args[2].IsEmpty() ? 0 : args[2].ToDate();
        if (!store_->UpdateJobStatus(reference, DataText(args[1]), when))
            throw vel::Exception("Job " + reference + " does not exist");
        return Variant();
    });

    AddMethod("JobList", [this](std::vector<Variant>& args) {
        std::string user = args.empty() || args[0].IsEmpty() ? "" : DataText(args[0]);
        std::vector<JobRecord> jobs = store_->ListJobs(user);
        Variant rows = Variant::Array(0, static_cast<int>(jobs.size()) - 1);
        for (size_t i = 0; i < jobs.size(); ++i) rows[static_cast<int>(i)] = JobRow(jobs[i]);
        return rows;
    });

    AddMethod("JobStatus", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "JobStatus");
        std::string reference = DataText(args[0]);
        auto job = store_->GetJob(reference);
        if (!job) throw vel::Exception("Job " + reference + " does not exist");
        return JobRow(*job);
    });

    AddMethod("JobOutput", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "JobOutput");
        std::string reference = DataText(args[0]);
        std::string format = args.size() < 2 || args[1].IsEmpty() ? "csv" : DataText(args[1]);
        for (char& c : format) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        auto job = store_->GetJob(reference);
        if (!job) throw vel::Exception("Job " + reference + " does not exist");
        if (job->status == kJobFailed) throw vel::Exception("Job " + reference + " failed: " + job->error);
        if (job->status != kJobDone) throw vel::Exception("Job " + reference + " is " + job->status + ", not done");
        auto body = store_->GetJobOutput(reference, format);
        if (!body) throw vel::Exception("Job " + reference + " has no " + format + " output");
        // A document, so a wide text: every client gets its characters whatever its code page.
        return Variant(vel::Utf8ToWide(*body));
    });

    AddMethod("InsertConTable", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "InsertConTable");
        const Variant& a = args[0];
        auto f = TextArray(a, 6, "InsertConTable");
        if (a.ArrayData().items.size() < 7) return Answer("InsertConTable expects an array of 7 elements");
        SchemeRecord s{f[0], f[1], f[3], f[4], f[5], f[2]};
        if (std::string e = CheckName(s.name); !e.empty()) return Answer(e);
        if (Blank(s.creator) || Blank(s.program)) return Answer("The scheme has no user or program");
        if (!IsYmd(s.createDate)) return Answer("The creation date " + s.createDate + " is not a yyyymmdd date");
        if (s.properties.size() > kMaxFieldBytes || s.values.size() > kMaxFieldBytes)
            return Answer("The scheme is too large");
        return Answer(store_->InsertScheme(s, a.ArrayData().items[6].ToBool()));
    });

    AddMethod("LoadTable", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "LoadTable");
        auto k = TextArray(args[0], 2, "LoadTable");
        scopeUser_ = k[0];
        scopeProgram_ = k[1];
        schemesScoped_ = true;
        return Variant(std::string());
    });

    AddMethod("DeleteConTable", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "DeleteConTable");
        auto k = TextArray(args[0], 3, "DeleteConTable");
        return Answer(store_->DeleteScheme(k[0], k[1], k[2]));
    });

    AddMethod("ChangeConName", [this](std::vector<Variant>& args) {
        RequireArgs(args, 2, "ChangeConName");
        auto from = TextArray(args[0], 3, "ChangeConName");
        auto to = TextArray(args[1], 3, "ChangeConName");
        // A rename stays within one user's and program's schemes.
        if (from[1] != to[1] || from[2] != to[2]) return Answer("A scheme cannot move to another user or program");
        if (std::string e = CheckName(to[0]); !e.empty()) return Answer(e);
        return Answer(store_->RenameScheme(from[0], to[0], from[1], from[2]));
    });

    AddMethod(vel::net::kProviderGetRecords, [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, vel::net::kProviderGetRecords);
        std::string provider = DataText(args[0]);
        if (!vel::SameText(provider, kSchemeProviderName)) throw vel::Exception("Provider " + provider + " not found");
        Variant names = Variant::Of({Variant("NCONDITION"), Variant("CREATOR"), Variant("PROGRAMME"),
                                     Variant("SCONDITION"), Variant("VCONDITION"), Variant("CREATE_DATE")});
        std::vector<SchemeRecord> list;
        if (schemesScoped_) list = store_->LoadSchemes(scopeUser_, scopeProgram_);
        Variant rows = Variant::Array(0, static_cast<int>(list.size()) - 1);
        for (size_t i = 0; i < list.size(); ++i) {
            const SchemeRecord& s = list[i];
            rows[static_cast<int>(i)] = TextRow({s.name, s.creator, s.program, s.properties, s.values, s.createDate});
        }
        return Variant::Of({names, rows});
    });

    AddMethod("GetMessageText", [this](std::vector<Variant>& args) {
        RequireArgs(args, 2, "GetMessageText");
        std::string type = DataText(args[0]), id = DataText(args[1]);
        auto text = store_->GetMessage(type, id);
        if (!text) throw vel::Exception("Message " + type + ";" + id + " does not exist");
        return Variant(*text);
    });

    AddMethod("GetSysInfo", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "GetSysInfo");
        auto settings = store_->GetSysInfo(DataText(args[0]));
        Variant all = Variant::Array2(0, 1, 0, static_cast<int>(settings.size()) - 1);
        for (size_t j = 0; j < settings.size(); ++j) {
            all.At(0, static_cast<int>(j)) = Variant(settings[j].first);
            all.At(1, static_cast<int>(j)) = Variant(settings[j].second);
        }
        return all;
    });

    auto query = [this](std::vector<Variant>& args, bool fill) {
        RequireArgs(args, 4, fill ? "QueryData" : "CheckValue");
        std::vector<std::string> keys;
        if (args[3].IsArray()) {
            for (const Variant& v : args[3].ArrayData().items) keys.push_back(DataText(v));
        } else {
            keys.push_back(DataText(args[3]));
        }
        auto row = store_->QueryRow(DataText(args[0]), DataText(args[1]), keys);
        if (fill && args.size() >= 5) args[4] = row ? TextRow(*row) : Variant();
        return Variant(row.has_value());
    };
    AddMethod("QueryData", [query](std::vector<Variant>& args) { return query(args, true); });
    AddMethod("CheckValue", [query](std::vector<Variant>& args) { return query(args, false); });

    // Rows as an array of arrays of byte texts.
    auto rowsVariant = [](const std::vector<std::vector<std::string>>& rows) {
        Variant out = Variant::Array(0, static_cast<int>(rows.size()) - 1);
        for (size_t i = 0; i < rows.size(); ++i) out[static_cast<int>(i)] = TextRow(rows[i]);
        return out;
    };
    // A scalar or a one-dimensional array as texts.
    auto texts = [](const Variant& v) {
        std::vector<std::string> out;
        if (v.IsArray()) {
            if (v.DimCount() != 1) throw vel::Exception("Expected a list of texts");
            for (const Variant& item : v.ArrayData().items) out.push_back(DataText(item));
        } else if (!v.IsEmpty() && !v.IsNull()) {
            out.push_back(DataText(v));
        }
        return out;
    };
    AddMethod("LookupData", [this, rowsVariant, texts](std::vector<Variant>& args) {
        RequireArgs(args, 3, "LookupData");
        std::vector<std::string> params = args.size() >= 4 ? texts(args[3]) : std::vector<std::string>();
        return rowsVariant(store_->LookupRows(DataText(args[0]), DataText(args[1]), DataText(args[2]), params));
    });
    AddMethod("SelectRows", [this, rowsVariant, texts](std::vector<Variant>& args) {
        RequireArgs(args, 4, "SelectRows");
        std::vector<std::string> names = texts(args[2]), values = texts(args[3]);
        if (names.size() != values.size()) throw vel::Exception("SelectRows needs one value per condition column");
        std::vector<std::pair<std::string, std::string>> conditions;
        for (size_t i = 0; i < names.size(); ++i) conditions.emplace_back(names[i], values[i]);
        return rowsVariant(store_->SelectRows(DataText(args[0]), texts(args[1]), conditions));
    });

    AddMethod("GetPhrase", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "GetPhrase");
        std::string text;
        for (const std::string& p : store_->GetPhrases(DataText(args[0]))) text += p + "\r\n";
        return Variant(text);
    });

    AddMethod("NextCounter", [this](std::vector<Variant>& args) {
        RequireArgs(args, 1, "NextCounter");
        std::string name = DataText(args[0]);
        if (Blank(name) || name.size() > kMaxNameBytes) throw vel::Exception("Invalid counter name");
        return Variant(store_->NextCounter(name));
    });
}

Variant ReportCounter::Invoke(const std::string& name, vel::InvokeKind kind, std::vector<Variant>& args) {
    try {
        return DispatchObject::Invoke(name, kind, args);
    } catch (const std::exception& e) {
        lastError_ = e.what();
        throw vel::OleException(lastError_);
    }
}

Variant ReportCounter::Answer(const std::string& error) {
    if (!error.empty()) lastError_ = error;
    return Variant(error);
}

Variant ReportCounter::SubmitJob(const char* kind, const Variant& params, const std::string& computer) {
    if (!params.IsArray()) throw vel::Exception(std::string(kind) + " expects the parameter set as an array");
    return Variant(store_->AddJob(kind, vel::net::EncodeVariant(params), computer));
}

}  // namespace velserver
