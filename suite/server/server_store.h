#pragma once
// The application server's data: one SQLite database holding the demo company's master
// tables, messages, system settings, rights, condition schemes and the job queue.
//
// Texts: every text in the database is a byte text in the data code page, 936, as the
// clients send and expect them: scheme fields are kept byte for byte as they arrive, and the
// seeded demo data (authored in UTF-8) is converted once when it is written. The store's
// answers are therefore 936 bytes too.
//
// Every statement is parameterised; table and column names only ever come from the fixed
// query list in the store, never from a caller. One connection serves all threads, guarded
// by a mutex; writes commit durably (WAL, synchronous FULL).
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

struct JobRecord {
    std::string reference;
    std::string kind;          // "Request" or "Request1"
    std::string computer;      // Request1's computer name
    std::string parameters;    // the encoded parameter set
    std::string status;        // "queued", later the last status
    std::string messages;      // accumulated message texts from UpdateStatus1
    double statusTime = 0;     // date-time of the last status
};

class ServerStore {
public:
    static constexpr int kSchemaVersion = 2;

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

    // Jobs. AddJob answers the new job's unique reference.
    std::string AddJob(const std::string& kind, const std::string& parameters, const std::string& computer);
    std::optional<JobRecord> GetJob(const std::string& reference);
    // False when there is no such job.
    bool UpdateJobStatus(const std::string& reference, const std::string& messages, double when);
    int JobCount();

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
};

}  // namespace velserver
