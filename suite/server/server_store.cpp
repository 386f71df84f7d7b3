#include "suite/server/server_store.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iterator>

#include "suite/server/job_params.h"
#include "suite/server/sqlite_util.h"

namespace velserver {

void SeedDemoCompany(sqlite3* db);   // seed_data.cpp
void SeedLedgerIssues(sqlite3* db);  // seed_data.cpp

namespace {

void FillJobSchedules(sqlite3* db);

// Schema steps, applied in order inside one transaction; the version table records how many
// have run. A step is SQL, code, or both (SQL first).
struct Migration {
    const char* sql;
    void (*run)(sqlite3*);
};

const Migration kMigrations[] = {
    // 1: tables.
    {R"sql(
CREATE TABLE CONSAVE (NCONDITION TEXT NOT NULL, CREATOR TEXT NOT NULL, PROGRAMME TEXT NOT NULL,
  SCONDITION TEXT NOT NULL DEFAULT '', VCONDITION TEXT NOT NULL DEFAULT '', CREATE_DATE TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (NCONDITION, CREATOR, PROGRAMME));
CREATE TABLE JOBS (ID INTEGER PRIMARY KEY AUTOINCREMENT, REF TEXT UNIQUE, KIND TEXT NOT NULL,
  COMPUTER TEXT NOT NULL DEFAULT '', PARAMS BLOB NOT NULL, STATUS TEXT NOT NULL DEFAULT 'queued',
  MESSAGES TEXT NOT NULL DEFAULT '', STATUS_TIME REAL NOT NULL DEFAULT 0, CREATED TEXT NOT NULL);
CREATE TABLE MESSAGES (TYPE TEXT NOT NULL, ID TEXT NOT NULL, TEXT TEXT NOT NULL, PRIMARY KEY (TYPE, ID));
CREATE TABLE SYSINFO (COMPANY TEXT NOT NULL, NAME TEXT NOT NULL, VALUE TEXT NOT NULL, SEQ INTEGER NOT NULL,
  PRIMARY KEY (COMPANY, NAME));
CREATE TABLE RIGHTS (COMPANYDB TEXT NOT NULL, USERID TEXT NOT NULL, PROGRAM TEXT NOT NULL, FIELDS TEXT NOT NULL,
  E2 TEXT NOT NULL, E3 TEXT NOT NULL, E4 TEXT NOT NULL, E5 TEXT NOT NULL, PRIMARY KEY (COMPANYDB, USERID, PROGRAM));
CREATE TABLE ADMMB (MB001 TEXT PRIMARY KEY, MB002 TEXT, MB003 TEXT, MB004 TEXT, MB005 TEXT, MB006 TEXT,
  MB007 TEXT, MB008 TEXT, MB009 TEXT);
CREATE TABLE INVMB (MB001 TEXT PRIMARY KEY, MB002 TEXT, MB003 TEXT, MB004 TEXT, MB005 TEXT);
CREATE TABLE CMSMC (MC001 TEXT PRIMARY KEY, MC002 TEXT, MC003 TEXT);
CREATE TABLE CMSMT (MT001 TEXT PRIMARY KEY, MT002 TEXT, MT003 TEXT, MT004 TEXT, MT005 TEXT, MT006 TEXT,
  MT007 TEXT, MT008 TEXT, MT009 TEXT, MT010 TEXT);
CREATE TABLE CMSMS (MS001 TEXT NOT NULL, MS002 TEXT NOT NULL, MS003 TEXT, MS004 TEXT, MS005 TEXT, MS006 TEXT,
  PRIMARY KEY (MS001, MS002));
CREATE TABLE CMSMA (MA001 TEXT PRIMARY KEY, MA002 TEXT, MA003 TEXT);
CREATE TABLE VelINTMA (MA001 TEXT PRIMARY KEY, MA002 TEXT, MA003 TEXT);
CREATE TABLE PHRASES (USERID TEXT NOT NULL, SEQ INTEGER NOT NULL, TEXT TEXT NOT NULL, PRIMARY KEY (USERID, SEQ));
CREATE TABLE COUNTERS (NAME TEXT PRIMARY KEY, VALUE INTEGER NOT NULL);
CREATE TABLE INVLA (LA001 TEXT NOT NULL, LA009 TEXT NOT NULL, LA004 TEXT NOT NULL, LA011 REAL NOT NULL,
  LA013 REAL NOT NULL);
CREATE INDEX INVLA_ITEM ON INVLA (LA004, LA001, LA009);
CREATE TABLE CSTMB (MB001 TEXT NOT NULL, MB002 TEXT NOT NULL, MB003 REAL NOT NULL, PRIMARY KEY (MB001, MB002));
)sql", nullptr},
    // 2: the demo company.
    {nullptr, SeedDemoCompany},
    // 3: jobs are run: their schedule, run times, error and outputs. Jobs stored before are
    // scheduled from their parameters; logged client runs stay out of the queue.
    {R"sql(
ALTER TABLE JOBS ADD COLUMN USERID TEXT NOT NULL DEFAULT '';
ALTER TABLE JOBS ADD COLUMN PROGRAM TEXT NOT NULL DEFAULT '';
ALTER TABLE JOBS ADD COLUMN MODE INTEGER NOT NULL DEFAULT 0;
ALTER TABLE JOBS ADD COLUMN RUN_AT REAL NOT NULL DEFAULT 0;
ALTER TABLE JOBS ADD COLUMN SUBMITTED REAL NOT NULL DEFAULT 0;
ALTER TABLE JOBS ADD COLUMN STARTED REAL NOT NULL DEFAULT 0;
ALTER TABLE JOBS ADD COLUMN FINISHED REAL NOT NULL DEFAULT 0;
ALTER TABLE JOBS ADD COLUMN ERROR TEXT NOT NULL DEFAULT '';
ALTER TABLE JOBS ADD COLUMN OUTPUTS TEXT NOT NULL DEFAULT '';
UPDATE JOBS SET STATUS = CASE KIND WHEN 'Request' THEN 'queued' ELSE 'logged' END;
CREATE INDEX JOBS_WAITING ON JOBS (STATUS, MODE, RUN_AT, ID);
CREATE INDEX JOBS_USER ON JOBS (USERID, ID);
CREATE TABLE JOB_OUTPUT (REF TEXT NOT NULL, FORMAT TEXT NOT NULL, BODY BLOB NOT NULL, PRIMARY KEY (REF, FORMAT));
)sql", FillJobSchedules},
    // 4: demo ledger issues in the second month.
    {nullptr, SeedLedgerIssues},
};
static_assert(std::size(kMigrations) == ServerStore::kSchemaVersion);

constexpr const char* kJobColumns =
    "REF, KIND, COMPUTER, STATUS, MESSAGES, STATUS_TIME, USERID, PROGRAM, MODE, RUN_AT, SUBMITTED, STARTED, "
    "FINISHED, ERROR, OUTPUTS";

// A job row selected with kJobColumns (parameters, if selected, follow as column 15).
JobRecord ReadJob(const Stmt& q) {
    JobRecord j;
    j.reference = q.Col(0);
    j.kind = q.Col(1);
    j.computer = q.Col(2);
    j.status = q.Col(3);
    j.messages = q.Col(4);
    j.statusTime = q.ColReal(5);
    j.user = q.Col(6);
    j.program = q.Col(7);
    j.mode = static_cast<int>(q.ColInt(8));
    j.runAt = q.ColReal(9);
    j.submitted = q.ColReal(10);
    j.started = q.ColReal(11);
    j.finished = q.ColReal(12);
    j.error = q.Col(13);
    j.outputs = q.Col(14);
    if (q.ColumnCount() > 15) j.parameters = q.Col(15);
    return j;
}

void FillJobSchedules(sqlite3* db) {
    struct Row {
        long long id;
        std::string params;
        double submitted;
    };
    std::vector<Row> rows;
    {
        Stmt q(db, "SELECT ID, PARAMS, CREATED FROM JOBS");
        while (q.Step()) rows.push_back({q.ColInt(0), q.Col(1), YmdToDateValue(q.Col(2))});
    }
    for (const Row& r : rows) {
        JobSchedule s = ScheduleOf(r.params, r.submitted);
        Stmt(db, "UPDATE JOBS SET USERID=?2, PROGRAM=?3, MODE=?4, RUN_AT=?5, SUBMITTED=?6 WHERE ID=?1")
            .Int(1, r.id).Text(2, s.user).Text(3, s.program).Int(4, s.mode).Real(5, s.runAt).Real(6, r.submitted)
            .Run();
    }
}

struct Lookup {
    const char* table;
    const char* key;
    int params;
    const char* sql;
};

// The only reads a caller can ask for by table and key.
const Lookup kLookups[] = {
    {"ADMMB", "01", 1, "SELECT MB002,MB003,MB004,MB005,MB006,MB007,MB008,MB009 FROM ADMMB WHERE MB001=?1"},
    {"INVMB", "01", 1, "SELECT MB001,MB002,MB003,MB004,MB005 FROM INVMB WHERE MB001=?1"},
    {"CMSMC", "01", 1, "SELECT MC001,MC002,MC003 FROM CMSMC WHERE MC001=?1"},
    // The report form's layout: footer code, "Y" (the code may be looked up), spare, footer
    // lines 1-3, then the same for the sign-off block.
    {"CMSMT", "01", 1,
     "SELECT MT002,'Y','',MT005,MT006,MT007,MT003,'Y','',MT008,MT009,MT010 FROM CMSMT WHERE MT001=?1"},
    {"CMSMS", "01", 2, "SELECT MS002,MS003,MS004,MS005,MS006 FROM CMSMS WHERE MS001=?1 AND MS002=?2"},
    // The web report site: the default row whatever the (single, empty) key value.
    {"CMSMA", "02", 1, "SELECT MA002,MA001,MA003 FROM CMSMA WHERE ?1 IS NOT NULL ORDER BY MA001 LIMIT 1"},
    {"VelINTMA", "01", 1, "SELECT MA001,MA002,MA003 FROM VelINTMA WHERE MA001=?1"},
    // Does a scheme of that name exist for the user and program?
    {"GENES", "01", 3,
     "SELECT NCONDITION,CREATOR,PROGRAMME,CREATE_DATE FROM CONSAVE WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3"},
};

bool SameTextNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string Today() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

std::vector<std::string> SplitList(const std::string& text, char sep) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    size_t start = 0;
    for (;;) {
        size_t p = text.find(sep, start);
        out.push_back(text.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) break;
        start = p + 1;
    }
    return out;
}

}  // namespace

ServerStore::ServerStore(const std::string& path) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw vel::Exception("Cannot open database " + path + ": " + reason);
    }
    try {
        sqlite3_busy_timeout(db_, 10000);
        if (path != ":memory:") Exec("PRAGMA journal_mode=WAL");
        Exec("PRAGMA synchronous=FULL");
        Exec("PRAGMA foreign_keys=ON");
        Migrate();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

ServerStore::~ServerStore() { sqlite3_close(db_); }

void ServerStore::Exec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string m = err ? err : sqlite3_errmsg(db_);
        sqlite3_free(err);
        throw vel::Exception("Database error: " + m);
    }
}

void ServerStore::Migrate() {
    std::lock_guard lock(mutex_);
    Exec("CREATE TABLE IF NOT EXISTS SCHEMA_VERSION (VERSION INTEGER NOT NULL)");
    Transaction tx(db_);
    int version = 0;
    {
        Stmt q(db_, "SELECT MAX(VERSION) FROM SCHEMA_VERSION");
        if (q.Step()) version = static_cast<int>(q.ColInt(0));
    }
    if (version > kSchemaVersion)
        throw vel::Exception("Database schema version " + std::to_string(version) + " is newer than this server (" +
                             std::to_string(kSchemaVersion) + ")");
    for (int step = version; step < kSchemaVersion; ++step) {
        if (kMigrations[step].sql) Exec(kMigrations[step].sql);
        if (kMigrations[step].run) kMigrations[step].run(db_);
        Stmt(db_, "INSERT INTO SCHEMA_VERSION (VERSION) VALUES (?1)").Int(1, step + 1).Run();
    }
    tx.Commit();
}

int ServerStore::SchemaVersion() {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT MAX(VERSION) FROM SCHEMA_VERSION");
    return q.Step() ? static_cast<int>(q.ColInt(0)) : 0;
}

std::string ServerStore::InsertScheme(const SchemeRecord& s, bool replace) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    bool exists;
    {
        Stmt q(db_, "SELECT 1 FROM CONSAVE WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3");
        q.Text(1, s.name).Text(2, s.creator).Text(3, s.program);
        exists = q.Step();
    }
    if (exists && !replace) return "Scheme " + s.name + " already exists";
    Stmt(db_, exists ? "UPDATE CONSAVE SET SCONDITION=?4, VCONDITION=?5, CREATE_DATE=?6 "
                       "WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3"
                     : "INSERT INTO CONSAVE (NCONDITION, CREATOR, PROGRAMME, SCONDITION, VCONDITION, CREATE_DATE) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
        .Text(1, s.name).Text(2, s.creator).Text(3, s.program).Text(4, s.properties).Text(5, s.values)
        .Text(6, s.createDate)
        .Run();
    tx.Commit();
    return "";
}

std::vector<SchemeRecord> ServerStore::LoadSchemes(const std::string& creator, const std::string& program) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT NCONDITION, CREATOR, PROGRAMME, SCONDITION, VCONDITION, CREATE_DATE FROM CONSAVE "
                "WHERE CREATOR=?1 AND PROGRAMME=?2 ORDER BY CREATE_DATE, NCONDITION");
    q.Text(1, creator).Text(2, program);
    std::vector<SchemeRecord> out;
    while (q.Step()) out.push_back({q.Col(0), q.Col(1), q.Col(2), q.Col(3), q.Col(4), q.Col(5)});
    return out;
}

std::string ServerStore::DeleteScheme(const std::string& name, const std::string& creator, const std::string& program) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    Stmt(db_, "DELETE FROM CONSAVE WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3")
        .Text(1, name).Text(2, creator).Text(3, program).Run();
    if (sqlite3_changes(db_) == 0) return "Scheme " + name + " does not exist";
    tx.Commit();
    return "";
}

std::string ServerStore::RenameScheme(const std::string& oldName, const std::string& newName,
                                      const std::string& creator, const std::string& program) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    {
        Stmt q(db_, "SELECT 1 FROM CONSAVE WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3");
        q.Text(1, newName).Text(2, creator).Text(3, program);
        if (q.Step()) return "Scheme " + newName + " already exists";
    }
    Stmt(db_, "UPDATE CONSAVE SET NCONDITION=?4 WHERE NCONDITION=?1 AND CREATOR=?2 AND PROGRAMME=?3")
        .Text(1, oldName).Text(2, creator).Text(3, program).Text(4, newName).Run();
    if (sqlite3_changes(db_) == 0) return "Scheme " + oldName + " does not exist";
    tx.Commit();
    return "";
}

std::string ServerStore::AddJob(const std::string& kind, const std::string& parameters, const std::string& computer) {
    const bool queued = kind == "Request";
    std::string ref;
    {
        std::lock_guard lock(mutex_);
        Transaction tx(db_);
        std::string today = Today();
        double now = NowDateValue();
        JobSchedule schedule = ScheduleOf(parameters, now);
        Stmt(db_, "INSERT INTO JOBS (KIND, COMPUTER, PARAMS, CREATED, STATUS, USERID, PROGRAM, MODE, RUN_AT, SUBMITTED) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)")
            .Text(1, kind).Text(2, computer).Blob(3, parameters).Text(4, today).Text(5, queued ? kJobQueued : kJobLogged)
            .Text(6, schedule.user).Text(7, schedule.program).Int(8, schedule.mode).Real(9, schedule.runAt).Real(10, now)
            .Run();
        long long id = sqlite3_last_insert_rowid(db_);
        char buf[40];
        std::snprintf(buf, sizeof buf, "J%s-%06lld", today.c_str(), id);
        ref = buf;
        Stmt(db_, "UPDATE JOBS SET REF=?1 WHERE ID=?2").Text(1, ref).Int(2, id).Run();
        tx.Commit();
    }
    if (queued) {
        std::lock_guard lock(listenerMutex_);
        if (jobListener_) jobListener_();
    }
    return ref;
}

void ServerStore::SetJobListener(std::function<void()> listener) {
    std::lock_guard lock(listenerMutex_);
    jobListener_ = std::move(listener);
}

std::optional<JobRecord> ServerStore::GetJob(const std::string& reference) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, (std::string("SELECT ") + kJobColumns + ", PARAMS FROM JOBS WHERE REF=?1").c_str());
    q.Text(1, reference);
    if (!q.Step()) return std::nullopt;
    return ReadJob(q);
}

bool ServerStore::UpdateJobStatus(const std::string& reference, const std::string& messages, double when) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    Stmt(db_, "UPDATE JOBS SET MESSAGES=?2, STATUS_TIME=?3 WHERE REF=?1").Text(1, reference).Text(2, messages)
        .Real(3, when).Run();
    if (sqlite3_changes(db_) == 0) return false;
    tx.Commit();
    return true;
}

int ServerStore::JobCount() {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT COUNT(*) FROM JOBS");
    return q.Step() ? static_cast<int>(q.ColInt(0)) : 0;
}

std::vector<JobRecord> ServerStore::ListJobs(const std::string& user) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, (std::string("SELECT ") + kJobColumns + " FROM JOBS WHERE ?1 = '' OR USERID = ?1 ORDER BY ID").c_str());
    q.Text(1, user);
    std::vector<JobRecord> out;
    while (q.Step()) out.push_back(ReadJob(q));
    return out;
}

std::optional<JobRecord> ServerStore::ClaimJob(JobLane lane, double now) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    // Real-time jobs first, then timed ones in the order of their start.
    const char* pick = lane == JobLane::Queue
                           ? "SELECT ID FROM JOBS WHERE STATUS='queued' AND MODE=0 ORDER BY ID LIMIT 1"
                           : "SELECT ID FROM JOBS WHERE STATUS='queued' AND (MODE=1 OR (MODE=2 AND RUN_AT<=?1)) "
                             "ORDER BY MODE, RUN_AT, ID LIMIT 1";
    long long id;
    {
        Stmt q(db_, pick);
        if (lane == JobLane::Prompt) q.Real(1, now);
        if (!q.Step()) return std::nullopt;
        id = q.ColInt(0);
    }
    Stmt(db_, "UPDATE JOBS SET STATUS='running', STARTED=?2 WHERE ID=?1 AND STATUS='queued'").Int(1, id).Real(2, now).Run();
    if (sqlite3_changes(db_) != 1) return std::nullopt;
    Stmt q(db_, (std::string("SELECT ") + kJobColumns + ", PARAMS FROM JOBS WHERE ID=?1").c_str());
    q.Int(1, id);
    if (!q.Step()) return std::nullopt;
    JobRecord job = ReadJob(q);
    tx.Commit();
    return job;
}

double ServerStore::NextTimedStart() {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT MIN(RUN_AT) FROM JOBS WHERE STATUS='queued' AND MODE=2");
    return q.Step() ? q.ColReal(0) : 0;
}

void ServerStore::FinishJob(const std::string& reference, const std::vector<std::pair<std::string, std::string>>& outputs,
                            double now) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    std::string formats;
    for (const auto& [format, body] : outputs) {
        Stmt(db_, "INSERT OR REPLACE INTO JOB_OUTPUT (REF, FORMAT, BODY) VALUES (?1, ?2, ?3)")
            .Text(1, reference).Text(2, format).Blob(3, body).Run();
        formats += (formats.empty() ? "" : ",") + format;
    }
    Stmt(db_, "UPDATE JOBS SET STATUS='done', FINISHED=?2, ERROR='', OUTPUTS=?3 WHERE REF=?1 AND STATUS='running'")
        .Text(1, reference).Real(2, now).Text(3, formats).Run();
    if (sqlite3_changes(db_) != 1) throw vel::Exception("Job " + reference + " is not running");
    tx.Commit();
}

void ServerStore::FailJob(const std::string& reference, const std::string& error, double now) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    Stmt(db_, "DELETE FROM JOB_OUTPUT WHERE REF=?1").Text(1, reference).Run();
    Stmt(db_, "UPDATE JOBS SET STATUS='failed', FINISHED=?2, ERROR=?3, OUTPUTS='' WHERE REF=?1")
        .Text(1, reference).Real(2, now).Text(3, error).Run();
    tx.Commit();
}

int ServerStore::FailInterruptedJobs(const std::string& reason, double now) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    Stmt(db_, "UPDATE JOBS SET STATUS='failed', FINISHED=?1, ERROR=?2 WHERE STATUS='running'").Real(1, now)
        .Text(2, reason).Run();
    int n = sqlite3_changes(db_);
    tx.Commit();
    return n;
}

std::optional<std::string> ServerStore::GetJobOutput(const std::string& reference, const std::string& format) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT BODY FROM JOB_OUTPUT WHERE REF=?1 AND FORMAT=?2");
    q.Text(1, reference).Text(2, format);
    if (!q.Step()) return std::nullopt;
    return q.Col(0);
}

std::vector<LedgerBalance> ServerStore::MonthEndBalances(const std::string& yearMonth) {
    std::lock_guard lock(mutex_);
    Stmt q(db_,
           "SELECT L.LA001, IFNULL(I.MB002, ''), L.LA009, IFNULL(W.MC002, ''), SUM(L.LA011), SUM(L.LA013), "
           "MAX(L.LA004 = ?1), "
           "(SELECT C.MB003 FROM CSTMB C WHERE C.MB001 = L.LA001 AND C.MB002 <= ?1 ORDER BY C.MB002 DESC LIMIT 1) "
           "FROM INVLA L LEFT JOIN INVMB I ON I.MB001 = L.LA001 LEFT JOIN CMSMC W ON W.MC001 = L.LA009 "
           "WHERE L.LA004 <= ?1 GROUP BY L.LA001, L.LA009 ORDER BY L.LA001, L.LA009");
    q.Text(1, yearMonth);
    std::vector<LedgerBalance> out;
    while (q.Step()) {
        LedgerBalance b;
        b.item = q.Col(0);
        b.itemName = q.Col(1);
        b.warehouse = q.Col(2);
        b.warehouseName = q.Col(3);
        b.quantity = q.ColReal(4);
        b.amount = q.ColReal(5);
        b.movedInMonth = q.ColInt(6) != 0;
        b.hasStandard = !q.IsNull(7);
        b.standardCost = q.ColReal(7);
        out.push_back(std::move(b));
    }
    return out;
}

vel::Variant ServerStore::GetPower(const std::string& companyDb, const std::string& user, const std::string& program) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT FIELDS, E2, E3, E4, E5 FROM RIGHTS WHERE COMPANYDB=?1 AND PROGRAM=?3 AND USERID IN (?2, '*') "
                "ORDER BY USERID = '*' LIMIT 1");
    q.Text(1, companyDb).Text(2, user).Text(3, program);
    if (!q.Step()) throw vel::Exception("User " + user + " has no rights to program " + program + " in " + companyDb);
    std::vector<std::string> list = SplitList(q.Col(4), ';');
    vel::Variant counted = vel::Variant::Array(0, static_cast<int>(list.size()));
    counted[0] = vel::Variant(static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) counted[static_cast<int>(i) + 1] = vel::Variant(list[i]);
    return vel::Variant::Of({vel::Variant(program), vel::Variant(q.Col(0)), vel::Variant(q.Col(1)),
                             vel::Variant(q.Col(2)), vel::Variant(q.Col(3)), counted});
}

std::optional<std::string> ServerStore::GetMessage(const std::string& type, const std::string& id) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT TEXT FROM MESSAGES WHERE TYPE=?1 AND ID=?2");
    q.Text(1, type).Text(2, id);
    if (!q.Step()) return std::nullopt;
    return q.Col(0);
}

std::vector<std::pair<std::string, std::string>> ServerStore::GetSysInfo(const std::string& companyId) {
    std::lock_guard lock(mutex_);
    // A company's own value wins over the default row (company '').
    Stmt q(db_, "SELECT NAME, VALUE FROM SYSINFO s WHERE COMPANY=?1 OR (COMPANY='' AND NOT EXISTS "
                "(SELECT 1 FROM SYSINFO o WHERE o.COMPANY=?1 AND o.NAME=s.NAME)) ORDER BY SEQ, NAME");
    q.Text(1, companyId);
    std::vector<std::pair<std::string, std::string>> out;
    while (q.Step()) out.emplace_back(q.Col(0), q.Col(1));
    return out;
}

std::optional<std::vector<std::string>> ServerStore::QueryRow(const std::string& table, const std::string& key,
                                                               const std::vector<std::string>& keyValues) {
    const Lookup* lookup = nullptr;
    for (const Lookup& l : kLookups)
        if (SameTextNoCase(l.table, table) && l.key == key) lookup = &l;
    if (!lookup) throw vel::Exception("No query " + key + " on table " + table);
    if (static_cast<int>(keyValues.size()) != lookup->params)
        throw vel::Exception("Query " + key + " on table " + table + " needs " + std::to_string(lookup->params) +
                             " key values, got " + std::to_string(keyValues.size()));
    std::lock_guard lock(mutex_);
    Stmt q(db_, lookup->sql);
    for (size_t i = 0; i < keyValues.size(); ++i) q.Text(static_cast<int>(i) + 1, keyValues[i]);
    if (!q.Step()) return std::nullopt;
    std::vector<std::string> row;
    for (int i = 0; i < q.ColumnCount(); ++i) row.push_back(q.Col(i));
    return row;
}

std::vector<std::string> ServerStore::GetPhrases(const std::string& user) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT TEXT FROM PHRASES WHERE USERID IN (?1, '*') ORDER BY USERID = '*', SEQ");
    q.Text(1, user);
    std::vector<std::string> out;
    while (q.Step()) out.push_back(q.Col(0));
    return out;
}

int ServerStore::NextCounter(const std::string& name) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    Stmt(db_, "INSERT INTO COUNTERS (NAME, VALUE) VALUES (?1, 1) ON CONFLICT(NAME) DO UPDATE SET VALUE = VALUE + 1")
        .Text(1, name).Run();
    Stmt q(db_, "SELECT VALUE FROM COUNTERS WHERE NAME=?1");
    q.Text(1, name);
    int value = q.Step() ? static_cast<int>(q.ColInt(0)) : 0;
    tx.Commit();
    return value;
}

}  // namespace velserver
