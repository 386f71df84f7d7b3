// The demo company a new database starts with. Texts are written here in UTF-8 and stored
// in the data code page (936), the way clients read them.
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/text/codepage.h"
#include "suite/common/message_catalog.h"
#include "suite/server/sqlite_util.h"

namespace velserver {
namespace {

std::string D(const char* utf8) { return vel::Utf8ToCodePage(utf8, vel::kCodePageGB); }

void Rows(sqlite3* db, const char* sql, std::initializer_list<std::vector<const char*>> rows) {
    for (const auto& row : rows) {
        Stmt s(db, sql);
        for (size_t i = 0; i < row.size(); ++i) s.Text(static_cast<int>(i) + 1, D(row[i]));
        s.Run();
    }
}

}  // namespace

void SeedDemoCompany(sqlite3* db) {
    // Messages the module reports by code, as the product ships them (%s: the arguments).
    for (const velsuite::MessageText& m : velsuite::BuiltInMessages())
        Stmt(db, "INSERT INTO MESSAGES (TYPE, ID, TEXT) VALUES (?1, ?2, ?3)")
            .Text(1, m.type)
            .Text(2, m.id)
            .Text(3, D(m.text))
            .Run();

    // System settings of every company (company ''); SEQ keeps their order in GetSysInfo.
    const std::vector<std::vector<const char*>> settings = {
        {"Sys001", "1"},             // date type: 1 = yyyy/mm/dd
        {"Sys002", "/"},             // date separator
        {"Vel002", "示范公司"},      // title suffix
        {"SYS007", "商品大类"},
        {"SYS008", "商品中类"},
        {"SYS009", ""},              // empty: the client shows its built-in name
        {"SYS010", ""},
        {"SYS026", "1"},             // "2" would drop the two ROC-year date types
        {"SYS181", "Y"},             // web report available
    };
    int seq = 0;
    for (const auto& s : settings)
        Stmt(db, "INSERT INTO SYSINFO (COMPANY, NAME, VALUE, SEQ) VALUES ('', ?1, ?2, ?3)")
            .Text(1, s[0]).Text(2, D(s[1])).Int(3, ++seq).Run();

    // Program master: display name, system, kind, version, log switch ("Y" = log direct
    // queries), viewer library, remark, English name.
    Rows(db, "INSERT INTO ADMMB VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
         {{"QMLK07", "成本差异分析表", "QML", "R", "1.0", "Y", "QMLK07S.so", "", "Cost Difference Report"}});

    // Items: number, name, size and grade, unit, category.
    Rows(db, "INSERT INTO INVMB VALUES (?1, ?2, ?3, ?4, ?5)",
         {
             {"A001", "螺丝", "M6x20", "个", "五金"},
             {"A002", "螺母", "M6", "个", "五金"},
             {"A003", "垫片", "6mm", "个", "五金"},
             {"B001", "电机", "220V 1.5kW", "台", "机电"},
             {"B002", "控制板", "V2", "块", "机电"},
             {"C001", "包装箱", "60x40x40", "只", "包材"},
             {"C002", "说明书", "A4", "本", "包材"},
             {"P001", "风扇成品", "FS-40", "台", "成品"},
         });
    Rows(db, "INSERT INTO CMSMC VALUES (?1, ?2, ?3)",
         {{"W01", "原料仓", "1"}, {"W02", "成品仓", "1"}, {"W03", "半成品仓", "2"}});

    // Footer and sign-off defaults of the program, then the code tables ("1" footer, "2" sign-off).
    Rows(db, "INSERT INTO CMSMT VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
         {{"QMLK07", "F01", "S01", "", "本表仅供内部使用", "金额单位：元", "", "制表", "审核", "核准"}});
    Rows(db, "INSERT INTO CMSMS VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
         {
             {"1", "F01", "本表仅供内部使用", "金额单位：元", "", "标准表尾"},
             {"1", "F02", "机密资料", "请勿外传", "", "机密表尾"},
             {"2", "S01", "制表", "审核", "核准", "三级签核"},
             {"2", "S02", "经办", "主管", "", "两级签核"},
         });
    Rows(db, "INSERT INTO CMSMA VALUES (?1, ?2, ?3)", {{"DEFAULT", "http://127.0.0.1:8080", "网页报表站点"}});
    Rows(db, "INSERT INTO VelINTMA VALUES (?1, ?2, ?3)",
         {{"StartupPortal", "门户启用", "N"}, {"Portal WS", "门户服务地址", "http://127.0.0.1:8081/portal"}});

    // Rights: fields "level,run,print,flags,scope,spare" (flags characters 7 and 8 are the two
    // lookup switches), two further texts, a text and a counted list (";"-separated here).
    Rows(db, "INSERT INTO RIGHTS VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
         {
             {"DEMO", "ADMIN", "QMLK07", "9,Y,Y,YYYYYYYY,ALL,", "Y", "Y", "ALL", "W01;W02;W03"},
             {"DEMO", "*", "QMLK07", "1,Y,N,YYYYYYNN,OWN,", "N", "N", "OWN", "W01"},
         });
    Rows(db, "INSERT INTO PHRASES VALUES (?1, ?2, ?3)",
         {{"*", "1", "本月"}, {"*", "2", "上月"}, {"ADMIN", "1", "全部仓库"}});

    // Inventory ledger movements (item, warehouse, yyyymm, signed quantity, signed amount) of
    // two months and the standard costs by month: A001, B001 and P001 show a difference
    // between actual and standard unit cost, the others do not.
    Rows(db, "INSERT INTO INVLA VALUES (?1, ?2, ?3, ?4, ?5)",
         {
             {"A001", "W01", "202611", "1000", "520"},   {"A002", "W01", "202611", "1000", "300"},
             {"A003", "W01", "202611", "500", "50"},     {"B001", "W01", "202611", "20", "9200"},
             {"B002", "W01", "202611", "20", "3000"},    {"C001", "W01", "202611", "100", "800"},
             {"P001", "W02", "202611", "10", "16500"},   {"A001", "W01", "202612", "800", "400"},
             {"B001", "W01", "202612", "10", "4500"},    {"B002", "W03", "202612", "5", "750"},
             {"C002", "W01", "202612", "200", "100"},    {"P001", "W02", "202612", "12", "19200"},
         });
    Rows(db, "INSERT INTO CSTMB VALUES (?1, ?2, ?3)",
         {
             {"A001", "202611", "0.5"}, {"A002", "202611", "0.3"}, {"A003", "202611", "0.1"},
             {"B001", "202611", "450"}, {"B002", "202611", "150"}, {"C001", "202611", "8"},
             {"P001", "202611", "1600"}, {"A001", "202612", "0.5"}, {"B001", "202612", "450"},
             {"B002", "202612", "150"}, {"C002", "202612", "0.5"}, {"P001", "202612", "1600"},
         });
}

// Issues in the second month: C001 leaves W01 entirely (a row with movement but no balance),
// A003 in part, and B001 arrives in W02 at its standard cost (no difference there, while
// W01 keeps its difference).
void SeedLedgerIssues(sqlite3* db) {
    Rows(db, "INSERT INTO INVLA VALUES (?1, ?2, ?3, ?4, ?5)",
         {
             {"C001", "W01", "202612", "-100", "-800"},
             {"A003", "W01", "202612", "-200", "-20"},
             {"B001", "W02", "202612", "5", "2250"},
         });
}

}  // namespace velserver
