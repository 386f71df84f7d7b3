#include <gtest/gtest.h>

#include "suite/host/simple_sql.h"
#include "tests/support/client_install.h"

using velhost::ParseSimpleSelect;
using velhost::SimpleSelect;

TEST(SimpleSql, ReadsNamedColumnsOfOneTableWithEqualityConditions) {
    SimpleSelect s;
    std::string error;
    ASSERT_TRUE(ParseSimpleSelect("SELECT MA003 FROM VelINTMA WHERE MA001='StartupPortal' ", s, error)) << error;
    EXPECT_EQ(s.columns, std::vector<std::string>{"MA003"});
    EXPECT_EQ(s.table, "VelINTMA");
    ASSERT_EQ(s.conditions.size(), 1u);
    EXPECT_EQ(s.conditions[0], (std::pair<std::string, std::string>{"MA001", "StartupPortal"}));

    ASSERT_TRUE(ParseSimpleSelect("select a, b_2 from T where x = 'it''s' and y=-12.5;", s, error)) << error;
    EXPECT_EQ(s.columns, (std::vector<std::string>{"a", "b_2"}));
    EXPECT_EQ(s.conditions[0].second, "it's");
    EXPECT_EQ(s.conditions[1].second, "-12.5");
    ASSERT_TRUE(ParseSimpleSelect("SELECT a FROM t", s, error));
    EXPECT_TRUE(s.conditions.empty());
}

TEST(SimpleSql, RefusesEverythingElse) {
    const char* refused[] = {
        "SELECT * FROM t",
        "SELECT a FROM t; DROP TABLE t",
        "SELECT a FROM t WHERE x='1' OR 1=1",
        "SELECT a FROM t WHERE x=y",
        "SELECT a FROM t WHERE x='open",
        "SELECT a FROM t, u",
        "DELETE FROM t",
        "SELECT a FROM t WHERE x LIKE 'a%'",
        "SELECT a FROM t -- comment",
        "SELECT a FROMt",
        "",
    };
    for (const char* text : refused) {
        SimpleSelect s;
        std::string error;
        EXPECT_FALSE(ParseSimpleSelect(text, s, error)) << text;
        EXPECT_NE(error.find("SimpleSQL"), std::string::npos) << text;
    }
}

TEST(SimpleSql, TheHostReadsThePortalSettingThroughTheServer) {
    veltest::ClientInstall install;  // local mode: the server object in this process
    velhost::ServerLink link;
    vel::Variant rows = velhost::RunSimpleSql(
        link, vel::Variant::Of({vel::Variant("SELECT MA003 FROM VelINTMA WHERE MA001='StartupPortal' "), vel::Variant("MA003")}));
    ASSERT_TRUE(rows.IsArray());
    ASSERT_EQ(rows.HighBound(), 0);
    EXPECT_EQ(rows[0][0].ToString(), "N");
    EXPECT_THROW(velhost::RunSimpleSql(link, vel::Variant("SELECT MA003 FROM VelINTMA WHERE 1=1")), vel::OleException);
}
