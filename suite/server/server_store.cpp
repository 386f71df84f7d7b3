#include "suite/server/server_store.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "suite/server/sqlite_util.h"

namespace velserver {

void SeedDemoCompany(sqlite3* db);  // seed_data.cpp

namespace {

// Schema steps, applied in order inside one transaction each; the version table records
// how many have run.
const char* const kMigrations[] = {
    // 1: tables.
    R"sql(
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
)sql",
    // 2: the demo company (run from code, see Migrate).
    nullptr,
};

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
    {"CMSMT", "01", 1, "SELECT MT002,MT003,MT004,MT005,MT006,MT007,MT008,MT009,MT010 FROM CMSMT WHERE MT001=?1"},
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
        if (kMigrations[step]) Exec(kMigrations[step]);
        else SeedDemoCompany(db_);
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
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    std::string today = Today();
    Stmt(db_, "INSERT INTO JOBS (KIND, COMPUTER, PARAMS, CREATED) VALUES (?1, ?2, ?3, ?4)")
        .Text(1, kind).Text(2, computer).Blob(3, parameters).Text(4, today).Run();
    long long id = sqlite3_last_insert_rowid(db_);
    char ref[40];
    std::snprintf(ref, sizeof ref, "J%s-%06lld", today.c_str(), id);
    Stmt(db_, "UPDATE JOBS SET REF=?1 WHERE ID=?2").Text(1, ref).Int(2, id).Run();
    tx.Commit();
    return ref;
}

std::optional<JobRecord> ServerStore::GetJob(const std::string& reference) {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT REF, KIND, COMPUTER, PARAMS, STATUS, MESSAGES, STATUS_TIME FROM JOBS WHERE REF=?1");
    q.Text(1, reference);
    if (!q.Step()) return std::nullopt;
    return JobRecord{q.Col(0), q.Col(1), q.Col(2), q.Col(3), q.Col(4), q.Col(5), q.ColReal(6)};
}

bool ServerStore::UpdateJobStatus(const std::string& reference, const std::string& messages, double when) {
    std::lock_guard lock(mutex_);
    Transaction tx(db_);
    Stmt(db_, "UPDATE JOBS SET STATUS='updated', MESSAGES=?2, STATUS_TIME=?3 WHERE REF=?1")
        .Text(1, reference).Text(2, messages).Real(3, when).Run();
    if (sqlite3_changes(db_) == 0) return false;
    tx.Commit();
    return true;
}

int ServerStore::JobCount() {
    std::lock_guard lock(mutex_);
    Stmt q(db_, "SELECT COUNT(*) FROM JOBS");
    return q.Step() ? static_cast<int>(q.ColInt(0)) : 0;
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
