#pragma once
// A thin prepared-statement wrapper: bind by position, step, read columns. Errors raise
// vel::Exception with SQLite's message.
#include <sqlite3.h>

#include <string>

#include "platform/core/exception.h"

namespace velserver {

class Stmt {
public:
    Stmt(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            throw vel::Exception(std::string("Database error: ") + sqlite3_errmsg(db));
    }
    ~Stmt() { sqlite3_finalize(stmt_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    Stmt& Text(int i, const std::string& v) {
        Check(sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Stmt& Blob(int i, const std::string& v) {
        Check(sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Stmt& Int(int i, long long v) {
        Check(sqlite3_bind_int64(stmt_, i, v));
        return *this;
    }
    Stmt& Real(int i, double v) {
        Check(sqlite3_bind_double(stmt_, i, v));
        return *this;
    }
    // True while a row is available.
    bool Step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw vel::Exception(std::string("Database error: ") + sqlite3_errmsg(db_));
    }
    void Run() {
        while (Step()) {
        }
    }
    // Any column as bytes (TEXT or BLOB alike).
    std::string Col(int i) const {
        const void* p = sqlite3_column_blob(stmt_, i);
        int n = sqlite3_column_bytes(stmt_, i);
        return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
    }
    long long ColInt(int i) const { return sqlite3_column_int64(stmt_, i); }
    double ColReal(int i) const { return sqlite3_column_double(stmt_, i); }
    bool IsNull(int i) const { return sqlite3_column_type(stmt_, i) == SQLITE_NULL; }
    int ColumnCount() const { return sqlite3_column_count(stmt_); }

private:
    void Check(int rc) {
        if (rc != SQLITE_OK) throw vel::Exception(std::string("Database error: ") + sqlite3_errmsg(db_));
    }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Commits on Commit(), rolls back when left otherwise.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db_(db) { Exec("BEGIN IMMEDIATE"); }
    ~Transaction() {
        if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit() {
        Exec("COMMIT");
        done_ = true;
    }

private:
    void Exec(const char* sql) {
        char* err = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            std::string m = err ? err : "unknown";
            sqlite3_free(err);
            throw vel::Exception("Database error: " + m);
        }
    }
    sqlite3* db_;
    bool done_ = false;
};

}  // namespace velserver
