#pragma once
// The application server's data: one SQLite database holding the demo company's master
// tables, messages, system settings, rights, condition schemes, the job queue and the jobs'
// outputs.
//
// Texts: every text in the database is a byte text in the data code page, 936, as the
// clients send and expect them: scheme fields are kept byte for byte as they arrive, and the
// seeded demo data (authored in UTF-8) is converted once when it is written. The store's
// answers are therefore 936 bytes too. Job outputs are documents and stored as UTF-8.
//
// Every statement is parameterised; table and column names only ever come from the fixed
// query list in the store, never from a caller. One connection serves all threads, guarded
// by a mutex; writes commit durably (WAL, synchronous FULL).
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/variant/variant.h"

struct sqlite3;

namespace velserver {

struct SchemeRecord {
    std::string name;        // NCONDITION
    std::string creator;     // CREATOR
    std::string program;     // PROGRAMME
    std::string properties;  // SCONDITION
    std::string values;      // VCONDITION
    std::string createDate;  // CREATE_DATE, yyyymmdd
};

// Job states. A job the server runs goes queued -> running -> done or failed, once; a
// Request1 job is a run the client performs itself and stays logged.
inline constexpr const char* kJobQueued = "queued";
inline constexpr const char* kJobRunning = "running";
inline constexpr const char* kJobDone = "done";
inline constexpr const char* kJobFailed = "failed";
inline constexpr const char* kJobLogged = "logged";

struct JobRecord {
    std::string reference;
    std::string kind;          // "Request" or "Request1"
    std::string computer;      // Request1's computer name
    std::string parameters;    // the encoded parameter set (not filled by ListJobs)
    std::string status;        // one of the job states above
    std::string messages;      // accumulated message texts from UpdateStatus1
    double statusTime = 0;     // date-time of the last UpdateStatus1
    std::string user;          // from the parameter set
    std::string program;
    int mode = 0;              // 0 queue, 1 real time, 2 at a given time
    double runAt = 0;          // not started before this date-time
    double submitted = 0;
    double started = 0;
    double finished = 0;
    std::string error;         // why a failed job failed
    std::string outputs;       // formats produced, comma-separated ("csv,html")
};

// One item in one warehouse at a month's end: the ledger summed up to and including the
// month, and the standard unit cost in force then.
struct LedgerBalance {
    std::string item;
    std::string itemName;
    std::string warehouse;
    std::string warehouseName;
    double quantity = 0;
    double amount = 0;
    bool movedInMonth = false;
    bool hasStandard = false;
    double standardCost = 0;
};

// Which jobs a worker takes: the queue in order of arrival, or the prompt ones (real time,
// and those at a given time once that time has come).
enum class JobLane { Queue, Prompt };

class ServerStore {
public:
    static constexpr int kSchemaVersion = 4;

    // Opens (creating when needed) the database at path (":memory:" for a private one),
    // brings its schema up to date and seeds the demo company into a new database.
    explicit ServerStore(const std::string& path);
    ~ServerStore();
    ServerStore(const ServerStore&) = delete;
    ServerStore& operator=(const ServerStore&) = delete;

    int SchemaVersion();

    // Schemes. Each answers the empty text on success, otherwise the reason.
    std::string InsertScheme(const SchemeRecord& scheme, bool replace);
    std::vector<SchemeRecord> LoadSchemes(const std::string& creator, const std::string& program);
    std::string DeleteScheme(const std::string& name, const std::string& creator, const std::string& program);
    std::string RenameScheme(const std::string& oldName, const std::string& newName, const std::string& creator,
                             const std::string& program);

    // Jobs. AddJob answers the new job's unique reference; a "Request" job is queued for the
    // server to run, any other kind is only logged. The job listener, if set, hears of every
    // queued job after it is committed.
    std::string AddJob(const std::string& kind, const std::string& parameters, const std::string& computer);
    void SetJobListener(std::function<void()> listener);
    std::optional<JobRecord> GetJob(const std::string& reference);
    // Records a client's status messages; the run state is not touched. False when there is no such job.
    bool UpdateJobStatus(const std::string& reference, const std::string& messages, double when);
    int JobCount();
    // Jobs of one user (all users for the empty text), oldest first, without their parameters.
    std::vector<JobRecord> ListJobs(const std::string& user);

    // Running jobs. ClaimJob marks the lane's next job running (atomically, so no job is run
    // twice, even by two servers on one database) and answers it with its parameters.
    std::optional<JobRecord> ClaimJob(JobLane lane, double now);
    // The earliest start time of a waiting timed job; 0 when there is none.
    double NextTimedStart();
    // Stores the outputs (format, body) and marks the job done, in one transaction.
    void FinishJob(const std::string& reference, const std::vector<std::pair<std::string, std::string>>& outputs,
                   double now);
    void FailJob(const std::string& reference, const std::string& error, double now);
    // Jobs left running by a server that stopped during their run become failed with the
    // given reason; answers how many.
    int FailInterruptedJobs(const std::string& reason, double now);
    std::optional<std::string> GetJobOutput(const std::string& reference, const std::string& format);

    // Report data: every item and warehouse with ledger rows up to the month (yyyymm), ordered
    // by item and warehouse. Names are empty for unknown items or warehouses.
    std::vector<LedgerBalance> MonthEndBalances(const std::string& yearMonth);

    // Rights of a user for a program: [program, "f1,...,f6", text, text, text, counted array];
    // the row of user "*" applies when the user has none. Raises when neither exists.
    vel::Variant GetPower(const std::string& companyDb, const std::string& user, const std::string& program);

    // Message text by type letter and number.
    std::optional<std::string> GetMessage(const std::string& type, const std::string& id);
    // All settings of a company (name, value), the defaults where it has no own value.
    std::vector<std::pair<std::string, std::string>> GetSysInfo(const std::string& companyId);
    // A validation query: table and query key pick one of a fixed list of lookups; the key
    // values fill its parameters. Answers the row's columns (texts) or nothing. An unknown
    // table or key, or the wrong number of key values, raises.
    std::optional<std::vector<std::string>> QueryRow(const std::string& table, const std::string& key,
                                                     const std::vector<std::string>& keyValues);
    // Rows of a master table for the lookup window: kind (table) and variant pick one of a
    // fixed list of lookups; the typed text matches the start of the code or any part of the
    // name (as plain text, no wildcards); `params` fill the lookup's own conditions. At most
    // kMaxLookupRows rows, ordered by code. An unknown kind or variant raises.
    static constexpr int kMaxLookupRows = 500;
    std::vector<std::vector<std::string>> LookupRows(const std::string& kind, const std::string& variant,
                                                     const std::string& typed, const std::vector<std::string>& params);
    // The named columns of the rows of a readable table whose named columns equal the values.
    // Table and column names are checked against the schema and a fixed list of readable
    // tables; values are bound. Anything else raises.
    std::vector<std::vector<std::string>> SelectRows(const std::string& table, const std::vector<std::string>& columns,
                                                     const std::vector<std::pair<std::string, std::string>>& conditions);
    // The user's phrases (the "*" phrases for everybody come after the user's own).
    std::vector<std::string> GetPhrases(const std::string& user);
    // Next value of a named counter (created at 1).
    int NextCounter(const std::string& name);

private:
    void Migrate();
    void Seed();
    void Exec(const char* sql);

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
    std::mutex listenerMutex_;
    std::function<void()> jobListener_;
};

}  // namespace velserver
