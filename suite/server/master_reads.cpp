// Reads of the master tables for clients that pick or look up values: the lookup window's
// candidate rows and the host's simple selects. No text from a client ever becomes SQL: the
// statements are fixed, or assembled from names checked against the schema.
#include <cctype>

#include "suite/server/server_store.h"
#include "suite/server/sqlite_util.h"

namespace velserver {
namespace {

struct MasterLookup {
    const char* kind;
    const char* variant;
    int params;  // values of the lookup's own conditions, bound after the typed text
    const char* sql;
};

// ?1 is the typed text with LIKE's wildcards escaped; the code starts with it or the name
// holds it.
const MasterLookup kMasterLookups[] = {
    {"INVMB", "01", 0,
     "SELECT MB001,MB002,MB003,MB004,MB005 FROM INVMB WHERE MB001 LIKE ?1 || '%' ESCAPE '\\' "
     "OR MB002 LIKE '%' || ?1 || '%' ESCAPE '\\' ORDER BY MB001 LIMIT 500"},
    {"CMSMC", "01", 0,
     "SELECT MC001,MC002,MC003 FROM CMSMC WHERE MC001 LIKE ?1 || '%' ESCAPE '\\' "
     "OR MC002 LIKE '%' || ?1 || '%' ESCAPE '\\' ORDER BY MC001 LIMIT 500"},
    // Footer ("1") and sign-off ("2") codes: [code, description, line 1, line 2, line 3].
    {"CMSMS", "01", 1,
     "SELECT MS002,MS006,MS003,MS004,MS005 FROM CMSMS WHERE MS001=?2 AND (MS002 LIKE ?1 || '%' ESCAPE '\\' "
     "OR MS006 LIKE '%' || ?1 || '%' ESCAPE '\\') ORDER BY MS002 LIMIT 500"},
};

// Tables a simple select may read: master data, never schemes, jobs or rights.
const char* const kReadableTables[] = {"INVMB", "CMSMC", "CMSMT", "CMSMS", "CMSMA", "VelINTMA", "ADMMB"};

std::string EscapeLike(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::vector<std::vector<std::string>> AllRows(Stmt& q) {
    std::vector<std::vector<std::string>> rows;
    while (q.Step()) {
        std::vector<std::string> row;
        for (int i = 0; i < q.ColumnCount(); ++i) row.push_back(q.Col(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace

std::vector<std::vector<std::string>> ServerStore::LookupRows(const std::string& kind, const std::string& variant,
                                                              const std::string& typed,
                                                              const std::vector<std::string>& params) {
    const MasterLookup* lookup = nullptr;
    for (const MasterLookup& l : kMasterLookups)
        if (SameName(l.kind, kind) && l.variant == variant) lookup = &l;
    if (!lookup) throw vel::Exception("No lookup " + variant + " on " + kind);
    if (static_cast<int>(params.size()) < lookup->params)
        throw vel::Exception("Lookup " + variant + " on " + kind + " needs " + std::to_string(lookup->params) + " parameters");
    std::lock_guard lock(mutex_);
    Stmt q(db_, lookup->sql);
    q.Text(1, EscapeLike(typed));
    for (int i = 0; i < lookup->params; ++i) q.Text(i + 2, params[static_cast<size_t>(i)]);
    return AllRows(q);
}

std::vector<std::vector<std::string>> ServerStore::SelectRows(
    const std::string& table, const std::vector<std::string>& columns,
    const std::vector<std::pair<std::string, std::string>>& conditions) {
    const char* readable = nullptr;
    for (const char* t : kReadableTables)
        if (SameName(t, table)) readable = t;
    if (!readable) throw vel::Exception("Table " + table + " cannot be read this way");
    if (columns.empty()) throw vel::Exception("No columns to read from " + table);
    std::lock_guard lock(mutex_);
    // The table's own column names, as the schema spells them.
    std::vector<std::string> known;
    {
        Stmt info(db_, "SELECT name FROM pragma_table_info(?1)");
        info.Text(1, readable);
        while (info.Step()) known.push_back(info.Col(0));
    }
    auto column = [&](const std::string& name) -> const std::string& {
        for (const std::string& k : known)
            if (SameName(k, name)) return k;
        throw vel::Exception("Table " + std::string(readable) + " has no column " + name);
    };
    std::string sql = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ",\"" : "\"") + column(columns[i]) + "\"";
    sql += std::string(" FROM \"") + readable + "\"";
    for (size_t i = 0; i < conditions.size(); ++i)
        sql += (i ? " AND \"" : " WHERE \"") + column(conditions[i].first) + "\"=?" + std::to_string(i + 1);
    sql += " LIMIT 1000";
    Stmt q(db_, sql.c_str());
    for (size_t i = 0; i < conditions.size(); ++i) q.Text(static_cast<int>(i) + 1, conditions[i].second);
    return AllRows(q);
}

}  // namespace velserver
