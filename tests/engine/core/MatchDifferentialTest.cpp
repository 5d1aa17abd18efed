// SPDX-License-Identifier: MIT
#include "support/DataRun.h"

#include "core/DataMatch.h"

#include <sifkit/Value.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace sifkit::test {
namespace {

/// Random pairs of tables full of the values equality gets wrong most easily: Nulls, quotes,
/// letter-case variants, LIKE wildcards, integers beside equal reals, reals that differ in the
/// last bit, dates, duplicates, Unicode, with and without a key. Each pair is compared with
/// the records answered from an index and with one query per record; everything the engine
/// shows afterwards must be the same.
class TablePairs {
public:
    TablePairs(unsigned seed, DatabaseKind kind, bool keyed) : random_(seed), kind_(kind), keyed_(keyed) {}

    std::string fields() const {
        std::string list = "[id],[name],[qty],[price],[day],[note]";
        return isSqliteKind(kind_) ? list + ",[mixed]" : list;
    }
    std::string fieldsWithoutKey() const { return fields().substr(5); }

    /// The scripts of the Original and the Modified table. The Modified table changes single
    /// fields to near or equal spellings (ann for Ann, 7.0 for 7, 0.30000000000000004 for 0.3,
    /// '7' for 7), replaces, deletes and duplicates records and adds a few.
    std::pair<std::string, std::string> scripts() {
        using Row = std::vector<std::string>;
        std::vector<Row> rows;
        const int count = 15 + pick(25);
        for (int i = 1; i <= count; ++i)
            rows.push_back(row(i));
        std::vector<Row> changed = rows;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            switch (pick(10)) {
            case 0:
                changed[i] = row(static_cast<int>(i) + 1); // another record under the same key
                break;
            case 1:
                changed[i].clear(); // deleted
                break;
            case 2:
                if (!keyed_)
                    changed.push_back(changed[i]); // a duplicate
                break;
            case 3:
            case 4:
            case 5: {
                const std::size_t field =
                    1 + static_cast<std::size_t>(pick(static_cast<int>(pools().size())));
                std::string& value = changed[i][field];
                const std::vector<Pool> all = pools();
                const Pool& pool = all[field - 1];
                Pool near; // the value's twins this field can hold
                if (auto twin = twins().find(value); twin != twins().end())
                    for (const char* candidate : twin->second)
                        if (std::find(pool.begin(), pool.end(), std::string(candidate)) != pool.end())
                            near.push_back(candidate);
                value = !near.empty() && pick(4) != 0 ? oneOf(near) : oneOf(pool);
                break;
            }
            default:
                break;
            }
        }
        for (int extra = pick(4); extra > 0; --extra)
            changed.push_back(row(count + 100 + extra));
        return {script(rows), script(changed)};
    }

private:
    using Pool = std::vector<const char*>;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    const char* oneOf(const Pool& values) {
        return values[static_cast<std::size_t>(pick(static_cast<int>(values.size())))];
    }

    /// The literals each field after the key takes its values from.
    std::vector<Pool> pools() const {
        std::vector<Pool> all = {
            {"'Ann'", "'ann'", "'ANN'", "'O''Brien'", "'50%'", "'5_0'", "'a%'", "'Zoë'", "'日本'", "''",
             "NULL", "' Ann'", "'Ann '", "'Bob'", "'b_b'", "'bob'", "'\\'", "'[x]'", "'NULL'"},
            {"7", "-7", "0", "NULL", "2147483647", "42"},
            {"7", "7.0", "0.1", "0.3", "0.30000000000000004", "NULL", "1e-7", "-0.0", "0", "2.5"},
            {"'2020-01-01'", "'2020-01-02'", "'1999-12-31'", "NULL"},
            {"'x'", "'X'", "'x%'", "'it''s'", "NULL", "'naïve'", "'_'", "'Null'"}};
        if (isSqliteKind(kind_))
            all.push_back({"7", "7.0", "'7'", "'07'", "NULL", "x'07'", "0.5", "'0.5'", "-0.0", "0"});
        if (kind_ == DatabaseKind::Mariadb)
            all[0][16] = "'\\\\'"; // MariaDB's literals escape with a backslash
        return all;
    }

    /// Spellings of a value that are equal to it, or nearly: one of them replaces it.
    static const std::map<std::string, Pool>& twins() {
        static const std::map<std::string, Pool> all = {{"7", {"7.0", "'7'"}},
                                                        {"7.0", {"7"}},
                                                        {"'7'", {"7", "'07'"}},
                                                        {"'07'", {"'7'"}},
                                                        {"0", {"-0.0"}},
                                                        {"-0.0", {"0"}},
                                                        {"0.3", {"0.30000000000000004"}},
                                                        {"0.30000000000000004", {"0.3"}},
                                                        {"0.5", {"'0.5'"}},
                                                        {"'0.5'", {"0.5"}},
                                                        {"'Ann'", {"'ann'", "'ANN'", "'Ann '"}},
                                                        {"'ann'", {"'Ann'"}},
                                                        {"'50%'", {"'5_0'"}},
                                                        {"'5_0'", {"'50%'"}},
                                                        {"'b_b'", {"'bob'"}},
                                                        {"'x'", {"'X'", "'x%'"}},
                                                        {"'_'", {"'x'"}},
                                                        {"NULL", {"''", "'NULL'"}},
                                                        {"''", {"NULL"}},
                                                        {"x'07'", {"7", "'7'"}}};
        return all;
    }

    std::vector<std::string> row(int id) {
        std::vector<std::string> values = {std::to_string(id)};
        for (const Pool& pool : pools())
            values.push_back(oneOf(pool));
        return values;
    }

    std::string script(const std::vector<std::vector<std::string>>& rows) const {
        std::string text = std::string("CREATE TABLE t (id INTEGER") + (keyed_ ? " PRIMARY KEY" : "") +
                           ", name VARCHAR(40), qty INTEGER, price DOUBLE PRECISION, day DATE, note TEXT" +
                           (isSqliteKind(kind_) ? ", mixed" : "") + ");";
        for (const auto& row : rows) {
            if (row.empty())
                continue;
            text += "INSERT INTO t VALUES (";
            for (std::size_t i = 0; i < row.size(); ++i)
                text += (i ? "," : "") + row[i];
            text += ");";
        }
        return text;
    }

    std::mt19937 random_;
    DatabaseKind kind_;
    bool keyed_;
};

/// Everything a data run leaves for the host to read.
struct RunOutcome {
    bool result = false;
    bool masterOnly = false;
    bool sourceOnly = false;
    std::vector<std::string> master, source; ///< one line per item
    std::vector<std::string> managers;       ///< SQL text, where clause and messages of both sides
    std::vector<std::string> events;
    bool operator==(const RunOutcome&) const = default;
};

void PrintTo(const RunOutcome& o, std::ostream* out) {
    *out << "result " << o.result << ", " << o.master.size() << " master items, " << o.source.size()
         << " source items\n";
    for (const auto& line : o.master)
        *out << "  M " << line << "\n";
    for (const auto& line : o.source)
        *out << "  S " << line << "\n";
    for (const auto& line : o.managers)
        *out << "  " << line << "\n";
}

std::vector<std::string> itemLines(const ResultCollectionPtr& results) {
    std::vector<std::string> lines;
    for (int32_t i = 1; results && i <= results->count(); ++i) {
        const clsResultSet& item = *results->item(i);
        lines.push_back(
            item.getChangeType() + "|" + item.getDataValue() + "|" + std::to_string(item.getIsNull()) +
            std::to_string(item.getIsDataValue()) + std::to_string(item.getIsFieldDesc()) + "|" +
            std::to_string(item.getRecordCount()) + "|" + std::to_string(item.getRecordNumber()) + "|" +
            std::to_string(item.getFieldCount()) + "|" + item.getFieldName() + "|" + item.getPrimaryKey() +
            "|" + item.getDataType() + "|" + item.getLength() + "|" + item.getDatabaseObjName());
    }
    return lines;
}

RunOutcome runOnce(DataRun& run, const std::function<bool()>& pass) {
    RunOutcome outcome;
    run.core.setUpdateCountHandler([&](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        outcome.events.push_back(readFrom + " " + std::to_string(count) + "/" + std::to_string(maxCount));
    });
    outcome.result = pass();
    outcome.masterOnly = run.core.getRecordsExistInMasterOnly();
    outcome.sourceOnly = run.core.getRecordsExistInSourceOnly();
    outcome.master = itemLines(run.core.getMasterDataManager()->getResults());
    outcome.source = itemLines(run.core.getSourceDataManager()->getResults());
    for (const auto& manager : {run.core.getMasterDataManager(), run.core.getSourceDataManager()})
        outcome.managers.insert(outcome.managers.end(),
                                {manager->getSql(), manager->getWhereClause(), manager->getReturnSQLMessage(),
                                 manager->getReturnMessage(), std::to_string(manager->getRecordCount()),
                                 std::to_string(manager->getCurrentRecordNumber())});
    return outcome;
}

/// The full run's outcome with one query per record, checked to be the one the index gives.
RunOutcome fullRunEitherWay(DataRun& run) {
    RunOutcome perRecord;
    {
        detail::PerRecordMatchScope perRecordOnly;
        perRecord = runOnce(run, [&] { return run.runFull(); });
    }
    EXPECT_EQ(runOnce(run, [&] { return run.runFull(); }), perRecord);
    return perRecord;
}

class MatchDifferentialTest : public EachDatabaseTest {};

TEST_P(MatchDifferentialTest, TheIndexAnswersEveryRecordAsItsMatchQueryDoes) {
    const int64_t indexedBefore = detail::indexedPassCount();
    const int64_t togetherBefore = detail::answeredTogetherCount();
    int differing = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        for (bool keyed : {true, false}) {
            TablePairs pairs(seed * 7919 + (keyed ? 1 : 0), GetParam(), keyed);
            auto [masterScript, sourceScript] = pairs.scripts();
            DataRun run(masterScript, sourceScript, GetParam());
            for (const std::string& fields : {pairs.fields(), pairs.fieldsWithoutKey()}) {
                SCOPED_TRACE("seed " + std::to_string(seed) + (keyed ? ", keyed" : ", no key") + ", " +
                             fields);
                run.prepare("t", fields);
                RunOutcome perRecord, indexed;
                {
                    detail::PerRecordMatchScope perRecordOnly;
                    perRecord = runOnce(run, [&] { return run.runFull(); });
                }
                indexed = runOnce(run, [&] { return run.runFull(); });
                EXPECT_EQ(indexed, perRecord);
                differing += static_cast<int>(perRecord.master.size() + perRecord.source.size());

                // The ordered run adds to the collections it finds: each starts from empty ones.
                auto ordered = [&] {
                    run.core.getMasterDataManager()->resetResult();
                    run.core.getSourceDataManager()->resetResult();
                    return run.core.beginTableCompareFromDBManagers(run.core.getMasterDataManager(),
                                                                    run.core.getSourceDataManager());
                };
                {
                    detail::PerRecordMatchScope perRecordOnly;
                    perRecord = runOnce(run, ordered);
                }
                EXPECT_EQ(runOnce(run, ordered), perRecord);

                run.core.setStartPoint(1);
                run.core.setBufferedAmount(9);
                {
                    detail::PerRecordMatchScope perRecordOnly;
                    perRecord = runOnce(run, [&] { return run.core.getBufferedResults(); });
                }
                indexed = runOnce(run, [&] { return run.core.getBufferedResults(); });
                EXPECT_EQ(indexed, perRecord);
            }
        }
    }
    EXPECT_GT(differing, 0);

    // The driver that rounds reals to 15 digits is always asked record by record.
    // The others answer both directions of a full run from one reading of each side.
    if (GetParam() == DatabaseKind::SqliteOdbc) {
        EXPECT_EQ(detail::indexedPassCount(), indexedBefore);
    } else {
        EXPECT_GT(detail::indexedPassCount(), indexedBefore);
        EXPECT_GT(detail::answeredTogetherCount(), togetherBefore);
    }
}

TEST_P(MatchDifferentialTest, AFieldListThatIsNotNamesIsRefusedEitherWay) {
    // An expression under a field name never reaches a statement: no record is read, so none
    // can be reported or taken as found.
    const std::string rows = "CREATE TABLE t (id INTEGER, c INTEGER);"
                             "INSERT INTO t VALUES (1, 1), (2, 2), (3, 3), (4, 10);";
    DataRun run(rows, rows, GetParam());
    run.prepare("t", "[id],[c] + 1 AS [c]", "[id],[c]");
    const RunOutcome perRecord = fullRunEitherWay(run);
    EXPECT_TRUE(perRecord.master.empty());
}

TEST_P(MatchDifferentialTest, LongTextsAreComparedWhole) {
    // Longer than any buffer a block of rows is fetched into: such a table is read another way.
    const std::string longText(10000, 'x');
    const std::string table = "CREATE TABLE t (id INTEGER, c TEXT);";
    DataRun run(table + "INSERT INTO t VALUES (1, '" + longText + "'), (2, 'short');",
                table + "INSERT INTO t VALUES (1, '" + longText.substr(1) + "y'), (2, 'short');", GetParam());
    run.prepare("t", "[id],[c]");
    const RunOutcome perRecord = fullRunEitherWay(run);
    ASSERT_EQ(perRecord.master.size(), 2u);
    EXPECT_EQ(perRecord.master[1].substr(0, 12), "5|" + longText.substr(0, 10));
}

TEST_P(MatchDifferentialTest, TextsDifferByTheirBytesWhateverTheColumnsCollation) {
    // A column declared to compare without letter case or trailing blanks still holds 'abc'
    // and 'ABC', 'x' and 'x  ' apart, either way.
    if (!isSqliteKind(GetParam()))
        GTEST_SKIP() << "SQLite's collations";
    for (const char* collation : {"NOCASE", "RTRIM"}) {
        SCOPED_TRACE(collation);
        const std::string table =
            std::string("CREATE TABLE t (id INTEGER, c TEXT COLLATE ") + collation + ");";
        DataRun run(table + "INSERT INTO t VALUES (1, 'abc'), (2, 'x'), (3, 'same');",
                    table + "INSERT INTO t VALUES (1, 'ABC'), (2, 'x  '), (3, 'same');", GetParam());
        run.prepare("t", "[id],[c]");
        const RunOutcome perRecord = fullRunEitherWay(run);
        EXPECT_EQ(perRecord.master.size(), 4u); // records 1 and 2, two fields each
    }
}

TEST_P(MatchDifferentialTest, ACaseInsensitiveTextTypeIsComparedByItsBytes) {
    // citext's own equality ignores letter case; the comparison does not: 'abc' and 'ABC' are
    // different values, as on every other product. Its match query would call them equal.
    if (GetParam() != DatabaseKind::Postgres)
        GTEST_SKIP() << "PostgreSQL's citext";
    const std::string table = "CREATE EXTENSION IF NOT EXISTS citext; CREATE TABLE t (id INTEGER, c citext);";
    DataRun run(table + "INSERT INTO t VALUES (1, 'abc'), (2, 'x'), (3, 'same');",
                table + "INSERT INTO t VALUES (1, 'ABC'), (2, 'y'), (3, 'same');", GetParam());
    run.prepare("t", "[id],[c]");
    const RunOutcome indexed = runOnce(run, [&] { return run.runFull(); });
    EXPECT_EQ(indexed.master.size(), 4u); // records 1 and 2, two fields each
    EXPECT_EQ(indexed.source.size(), 4u);
}

TEST_P(MatchDifferentialTest, TypesWithoutEqualityAreComparedByTheirText) {
    // json has no "=" at all, point's compares areas: their texts decide.
    if (GetParam() != DatabaseKind::Postgres)
        GTEST_SKIP() << "PostgreSQL's types";
    const std::string table =
        "CREATE TABLE t (id INTEGER, j json, x xml, p point, a integer[], r int4range);";
    DataRun run(table + "INSERT INTO t VALUES (1, '{\"a\": 1}', '<a/>', '(1,2)', '{1,2}', '[1,5)'),"
                        "(2, '{\"a\": 1}', '<a/>', '(1,2)', '{1,2}', '[1,5)');",
                table + "INSERT INTO t VALUES (1, '{\"a\": 1}', '<a/>', '(1,2)', '{1,2}', '[1,5)'),"
                        "(2, '{\"a\":1}', '<a/>', '(2,1)', '{1,2}', '[1,5)');",
                GetParam());
    run.prepare("t", "[id],[j],[x],[p],[a],[r]");
    EXPECT_TRUE(run.runFull()) << run.core.getErrorLogs(true) << run.core.getErrorLogs(false);
    EXPECT_EQ(reportedValues(*run.core.getMasterDataManager()->getResults(), "id"),
              std::vector<std::string>{"2"});
    EXPECT_EQ(reportedValues(*run.core.getSourceDataManager()->getResults(), "p"),
              std::vector<std::string>{"(2,1)"});
}

TEST_P(MatchDifferentialTest, DatesAreReadAsStoredNeverAsStandIns) {
    // The driver's own reading turns 'infinity' into 9999-12-31 23:59:59, and fails on
    // '-infinity' and on years before Christ: record 1 would be equal, the run would fail.
    if (GetParam() != DatabaseKind::Postgres)
        GTEST_SKIP() << "PostgreSQL's infinite and BC dates";
    const std::string table =
        "SET TIME ZONE 'UTC'; CREATE TABLE t (id INTEGER, ts timestamp, tz timestamptz, d date);";
    const std::string same = "(2, '2020-01-02 03:04:05.25', '-infinity', '0044-03-15 BC'),"
                             "(3, '1999-12-31 23:59:59', '2020-01-02 03:04:05+00', '2020-01-02');";
    DataRun run(table + "INSERT INTO t VALUES (1, 'infinity', 'infinity', 'infinity')," + same,
                table + "INSERT INTO t VALUES (1, '9999-12-31 23:59:59', 'infinity', 'infinity')," + same,
                GetParam());
    run.prepare("t", "[id],[ts],[tz],[d]");
    const RunOutcome perRecord = fullRunEitherWay(run);
    EXPECT_TRUE(perRecord.result) << run.core.getErrorLogs(true) << run.core.getErrorLogs(false);
    EXPECT_EQ(reportedValues(*run.core.getMasterDataManager()->getResults(), "ts"),
              std::vector<std::string>{"infinity"});
    EXPECT_EQ(reportedValues(*run.core.getSourceDataManager()->getResults(), "ts"),
              std::vector<std::string>{"9999-12-31 23:59:59"});
}

TEST_P(MatchDifferentialTest, ColumnsTheDatabaseCollatesLooselyAreNamed) {
    // 'Paris' and 'PARIS' differ, and the result says which columns the database itself would
    // have called equal.
    if (GetParam() == DatabaseKind::SqliteOdbc)
        GTEST_SKIP() << "the SQLite driver tells no column's collation";
    std::string table;
    switch (GetParam()) {
    case DatabaseKind::Postgres:
        table =
            "CREATE EXTENSION IF NOT EXISTS citext; CREATE TABLE t (id INTEGER, loose citext, exact text);";
        break;
    case DatabaseKind::Mariadb:
        table = "CREATE TABLE t (id INTEGER, loose VARCHAR(20), "
                "exact VARCHAR(20) CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin);";
        break;
    default:
        table = "CREATE TABLE t (id INTEGER, loose TEXT COLLATE NOCASE, exact TEXT);";
    }
    DataRun run(table + "INSERT INTO t VALUES (1, 'Paris', 'Paris');",
                table + "INSERT INTO t VALUES (1, 'PARIS', 'Paris');", GetParam());
    run.prepare("t", "[id],[loose],[exact]");
    EXPECT_TRUE(run.runFull()) << run.core.getErrorLogs(true) << run.core.getErrorLogs(false);
    EXPECT_EQ(run.core.lastDataResult().outcome, DataOutcome::Differences);
    EXPECT_EQ(run.core.lastDataResult().exactDespiteCollation, std::vector<std::string>{"loose"});
}

SIFKIT_FOR_EACH_DATABASE(MatchDifferentialTest);

} // namespace
} // namespace sifkit::test
