// SPDX-License-Identifier: MIT
// The value options against real databases: each hides the false difference it names and
// nothing else.

#include "support/DataRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace sifkit::test {
namespace {

using Strings = std::vector<std::string>;

class ValueOptionsTest : public EachDatabaseTest {
protected:
    DataRun run(const std::string& masterScript, const std::string& sourceScript) {
        return DataRun(masterScript, sourceScript, GetParam());
    }
    std::string timestampType() const {
        switch (GetParam()) {
        case DatabaseKind::Postgres:
            return "TIMESTAMP(6)";
        case DatabaseKind::Mariadb:
            return "DATETIME(6)";
        default:
            return "TIMESTAMP";
        }
    }
    std::string realType() const { return isSqliteKind(GetParam()) ? "REAL" : "DOUBLE PRECISION"; }
};

/// The changed columns of each reported Original record, by its id; a record without a
/// counterpart is listed as {"no counterpart"}.
std::map<std::string, Strings> changedColumnsById(const DataResult& result) {
    std::map<std::string, Strings> changed;
    for (const DataRecord& record : result.original) {
        const DataRecord* counterpart = result.counterpartOf(record);
        changed[record.values[0].toString()] =
            counterpart ? result.changedColumns(record, *counterpart) : Strings{"no counterpart"};
    }
    return changed;
}

/// The ids of a side's reported records, ascending.
Strings idsOf(const std::vector<DataRecord>& records) {
    Strings ids;
    for (const DataRecord& record : records)
        ids.push_back(record.values[0].toString());
    std::sort(ids.begin(), ids.end());
    return ids;
}

TEST_P(ValueOptionsTest, TextOptionsHideCaseBlanksNullsAndTimeDigitsOnly) {
    const std::string table =
        "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), note VARCHAR(40), "
        "seen " +
        timestampType() + ");";
    DataRun run = this->run(table + "INSERT INTO people VALUES (1, 'Ann', 'x', '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (2, 'Bob', 'y', '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (3, 'Cy', NULL, '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (4, 'Di', 'w', '2024-05-01 10:00:00.123456');"
                                    "INSERT INTO people VALUES (5, 'Eve', 'v', '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (6, 'Flo', 'u', '2024-05-01 10:00:00.5');",
                            table + "INSERT INTO people VALUES (1, 'ANN', 'X', '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (2, '  Bob ', 'y', '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (3, 'Cy', '', '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (4, 'Di', 'w', '2024-05-01 10:00:00.123999');"
                                    "INSERT INTO people VALUES (5, 'Eva', 'v', '2024-05-01 10:00:00');"
                                    "INSERT INTO people VALUES (6, 'Flo', 'u', '2024-05-01 10:00:01.5');");
    run.prepare("people", "[id],[name],[note],[seen]");
    ASSERT_TRUE(run.runFull());
    const Strings everyId{"1", "2", "3", "4", "5", "6"};
    EXPECT_EQ(idsOf(run.core.lastDataResult().original), everyId);

    ValueOptions options;
    options.ignoreCase = true;
    options.ignoreBlanks = true;
    options.nullIsEmpty = true;
    options.timePrecision = TimePrecision::Milliseconds;
    run.core.setValueOptions(options);
    const bool differences = run.runFull();
    const DataResult& result = run.core.lastDataResult();
    if (GetParam() == DatabaseKind::SqliteOdbc) {
        // This driver rounds reals, so its sides are answered by the database's own look-ups,
        // which compare exactly: the run says so rather than report what the options hide.
        EXPECT_EQ(result.outcome, DataOutcome::Failed);
        const std::vector<Failure> failures = run.core.lastFailures();
        ASSERT_FALSE(failures.empty());
        EXPECT_NE(failures.front().description.find("value options"), std::string::npos);
        return;
    }
    ASSERT_TRUE(differences) << run.core.getErrorLogs(true);
    // A changed name and a second that differs in whole seconds are still reported.
    const Strings stillDifferent{"5", "6"};
    EXPECT_EQ(idsOf(result.original), stillDifferent);
    EXPECT_EQ(idsOf(result.modified), stillDifferent);
    const std::map<std::string, Strings> nameAndSeen{{"5", {"name"}}, {"6", {"seen"}}};
    EXPECT_EQ(changedColumnsById(result), nameAndSeen);

    // Each option alone hides its own record only.
    options = {};
    options.ignoreCase = true;
    run.core.setValueOptions(options);
    ASSERT_TRUE(run.runFull());
    const Strings withoutCase{"2", "3", "4", "5", "6"};
    EXPECT_EQ(idsOf(run.core.lastDataResult().original), withoutCase);
}

TEST_P(ValueOptionsTest, ToleranceHidesNearNumbersOnly) {
    const std::string table = "CREATE TABLE prices (id INTEGER PRIMARY KEY, price DECIMAL(10,3), weight " +
                              realType() + ", stock INTEGER);";
    DataRun run = this->run(table + "INSERT INTO prices VALUES (1, 1.000, 0.5, 10);"
                                    "INSERT INTO prices VALUES (2, 2.000, 0.5, 10);"
                                    "INSERT INTO prices VALUES (3, 3.000, 0.3, 10);"
                                    "INSERT INTO prices VALUES (4, 4.000, 0.5, 10);"
                                    "INSERT INTO prices VALUES (5, 5.000, 0.5, 10);",
                            table + "INSERT INTO prices VALUES (1, 1.004, 0.5, 10);"
                                    "INSERT INTO prices VALUES (2, 2.010, 0.5, 10);"
                                    "INSERT INTO prices VALUES (3, 3.000, 0.1 + 0.2, 10);"
                                    "INSERT INTO prices VALUES (4, 4.000, 0.5, 11);"
                                    "INSERT INTO prices VALUES (5, 5.005, 0.5, 10);");
    run.prepare("prices", "[id],[price],[weight],[stock]");
    ValueOptions options;
    options.tolerance = 0.005;
    run.core.setValueOptions(options);
    const bool differences = run.runFull();
    const DataResult& result = run.core.lastDataResult();
    if (GetParam() == DatabaseKind::SqliteOdbc) {
        EXPECT_EQ(result.outcome, DataOutcome::Failed);
        return;
    }
    ASSERT_TRUE(differences) << run.core.getErrorLogs(true);
    // 2.010 is beyond the tolerance, and an integer column stays exact whatever the tolerance.
    const Strings beyond{"2", "4"};
    EXPECT_EQ(idsOf(result.original), beyond);
    EXPECT_EQ(idsOf(result.modified), beyond);
    const std::map<std::string, Strings> priceAndStock{{"2", {"price"}}, {"4", {"stock"}}};
    EXPECT_EQ(changedColumnsById(result), priceAndStock);
    EXPECT_EQ(countsOf(result).changed, 2);
}

TEST_P(ValueOptionsTest, RowFiltersChooseTheRecordsEachSideCompares) {
    const std::string table =
        "CREATE TABLE orders (id INTEGER PRIMARY KEY, status VARCHAR(10), total INTEGER);"
        "INSERT INTO orders VALUES (1, 'open', 10);INSERT INTO orders VALUES (2, 'closed', 20);"
        "INSERT INTO orders VALUES (3, 'open', 30);";
    DataRun run = this->run(table, table + "UPDATE orders SET total = 21 WHERE id = 2;"
                                           "UPDATE orders SET total = 31 WHERE id = 3;");
    run.prepare("orders", "[id],[status],[total]");
    for (clsDBManager* side : {run.core.getMasterDataManager().get(), run.core.getSourceDataManager().get()})
        ASSERT_TRUE(side->setRowFilter("status = 'closed'"));
    ASSERT_TRUE(run.runFull());
    const Strings closed{"2"};
    EXPECT_EQ(idsOf(run.core.lastDataResult().original), closed);
    EXPECT_EQ(run.core.lastDataResult().originalRecordCount, 1);
    EXPECT_EQ(run.core.lastDataResult().originalFilter, "status = 'closed'");

    // Each side its own filter: the Original's open orders against the Modified's first order.
    ASSERT_TRUE(run.core.getMasterDataManager()->setRowFilter("status = 'open'"));
    ASSERT_TRUE(run.core.getSourceDataManager()->setRowFilter("id < 2"));
    ASSERT_TRUE(run.runFull());
    const Strings open{"3"};
    EXPECT_EQ(idsOf(run.core.lastDataResult().original), open);
    EXPECT_TRUE(run.core.lastDataResult().modified.empty());

    // A text that is not one condition is refused and the filter stays.
    EXPECT_FALSE(run.core.getSourceDataManager()->setRowFilter("1=1); DELETE FROM orders; SELECT (1"));
    EXPECT_EQ(run.core.getSourceDataManager()->rowFilter(), "id < 2");
    EXPECT_EQ(run.querySource("SELECT count(*) FROM orders"), "3\n");
}

SIFKIT_FOR_EACH_DATABASE(ValueOptionsTest);

} // namespace
} // namespace sifkit::test
