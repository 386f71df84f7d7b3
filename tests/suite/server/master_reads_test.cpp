// Master-table reads for lookups and simple selects: what they answer, and that names from a
// client are checked and values bound, never spliced into SQL.
#include <gtest/gtest.h>

#include "platform/text/codepage.h"
#include "suite/host/simple_sql.h"
#include "suite/server/server_store.h"

using velserver::ServerStore;

TEST(MasterReads, LookupRowsMatchCodePrefixOrNameAndTreatWildcardsAsText) {
    ServerStore store(":memory:");
    auto all = store.LookupRows("INVMB", "01", "", {});
    ASSERT_GT(all.size(), 3u);
    EXPECT_EQ(all[0].size(), 5u);
    for (const auto& row : store.LookupRows("invmb", "01", "B", {})) EXPECT_EQ(row[0][0], 'B') << row[0];
    auto byName = store.LookupRows("INVMB", "01", vel::Utf8ToCodePage("电机", 936), {});
    ASSERT_EQ(byName.size(), 1u);
    EXPECT_EQ(byName[0][0], "B001");
    EXPECT_TRUE(store.LookupRows("INVMB", "01", "%", {}).empty());
    EXPECT_TRUE(store.LookupRows("CMSMC", "01", "W0", {}).size() >= 2u);
    EXPECT_FALSE(store.LookupRows("CMSMS", "01", "", {"1"}).empty());
    EXPECT_THROW(store.LookupRows("CMSMS", "01", "", {}), vel::Exception);
    EXPECT_THROW(store.LookupRows("CONSAVE", "01", "", {}), vel::Exception);
    EXPECT_THROW(store.LookupRows("INVMB", "99", "", {}), vel::Exception);
}

TEST(MasterReads, SelectRowsChecksNamesAndBindsValues) {
    ServerStore store(":memory:");
    auto rows = store.SelectRows("VelINTMA", {"MA003"}, {{"MA001", "StartupPortal"}});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].size(), 1u);
    EXPECT_TRUE(store.SelectRows("velintma", {"ma003"}, {{"MA001", "x' OR '1'='1"}}).empty());
    const std::vector<std::pair<std::string, std::vector<std::string>>> refused = {
        {"CONSAVE", {"NCONDITION"}},           // schemes are not master data
        {"JOBS", {"PARAMS"}},
        {"VelINTMA", {"MA003 FROM CONSAVE --"}},
        {"VelINTMA", {"*"}},
        {"VelINTMA", {"NOPE"}},
        {"VelINTMA; DROP TABLE INVMB", {"MA003"}},
        {"VelINTMA", {}},
    };
    for (const auto& [table, columns] : refused) EXPECT_THROW(store.SelectRows(table, columns, {}), vel::Exception) << table;
    EXPECT_THROW(store.SelectRows("VelINTMA", {"MA003"}, {{"MA001) OR (1", "x"}}), vel::Exception);
    EXPECT_FALSE(store.LookupRows("INVMB", "01", "", {}).empty());  // nothing was dropped
}
