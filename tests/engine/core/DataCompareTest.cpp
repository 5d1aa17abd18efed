// SPDX-License-Identifier: MIT
#include "support/DataRun.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sifkit::test {
namespace {

const std::string allFields = "[id],[name],[city],[score]";

std::string contactsWith(const std::string& changes) {
    return fixtureScript("contacts.sql") + changes;
}

std::string numberedRows(int count, const std::string& prefix) {
    std::string script = "CREATE TABLE t (n INTEGER, label TEXT);";
    for (int i = 1; i <= count; ++i)
        script += "INSERT INTO t VALUES (" + std::to_string(i) + ", '" + prefix + std::to_string(i) + "');";
    return script;
}

using Strings = std::vector<std::string>;

class DataCompareTest : public EachDatabaseTest {
protected:
    DataRun run(const std::string& masterScript, const std::string& sourceScript) {
        return DataRun(masterScript, sourceScript, GetParam());
    }
};

TEST_P(DataCompareTest, IdenticalTablesPublishNothing) {
    DataRun run = this->run(contactsWith(""), contactsWith(""));
    run.prepare("contacts", allFields);
    EXPECT_FALSE(run.runFull());
    EXPECT_EQ(run.core.getMasterDatabaseResults(), nullptr);
    EXPECT_EQ(run.core.getSourceDatabaseResults(), nullptr);
    EXPECT_FALSE(run.core.getRecordsExistInMasterOnly());
    EXPECT_FALSE(run.core.getRecordsExistInSourceOnly());
    EXPECT_EQ(run.core.getMasterDataManager()->getResults()->count(), 0);
}

TEST_P(DataCompareTest, TheTypedResultTellsNoDifferencesFromDifferencesAndFromAFailure) {
    DataRun run =
        this->run(contactsWith(""), contactsWith("UPDATE contacts SET city = 'Rome' WHERE id = 2;"));
    run.prepare("contacts", allFields);
    ASSERT_TRUE(run.runFull());
    const DataResult& result = run.core.lastDataResult();
    EXPECT_EQ(result.outcome, DataOutcome::Differences);
    EXPECT_EQ(result.table, "contacts");
    EXPECT_EQ(result.keyColumns, (std::vector<std::string>{"id"}));
    EXPECT_EQ(result.originalRecordCount, 4);
    ASSERT_EQ(result.original.size(), 1u);
    ASSERT_EQ(result.modified.size(), 1u);
    EXPECT_TRUE(result.original[0].values[2].isNull());
    EXPECT_EQ(result.modified[0].values[2], Value("Rome"));
    // Each record's counterpart is the other side's record of the same key.
    EXPECT_EQ(result.original[0].counterpart, result.modified[0].number);
    EXPECT_EQ(result.modified[0].counterpart, result.original[0].number);
    EXPECT_TRUE(run.core.lastFailures().empty());

    run.querySource("UPDATE contacts SET city = NULL WHERE id = 2");
    EXPECT_FALSE(run.runFull());
    EXPECT_EQ(run.core.lastDataResult().outcome, DataOutcome::NoDifferences);

    // A table dropped under the comparison is a failure, never a run without differences.
    run.querySource("DROP TABLE contacts");
    EXPECT_FALSE(run.runFull());
    EXPECT_EQ(run.core.lastDataResult().outcome, DataOutcome::Failed);
    const std::vector<Failure> failures = run.core.lastFailures();
    const auto cause = std::find_if(failures.begin(), failures.end(), [](const Failure& f) {
        return f.side == Side::Modified && !f.description.empty();
    });
    ASSERT_NE(cause, failures.end());
    EXPECT_TRUE(cause->messageNumber == 3 || cause->messageNumber == 4) << cause->text;
    if (GetParam() == DatabaseKind::Postgres) {
        EXPECT_EQ(cause->sqlState, "42P01"); // undefined table
    }
}

TEST_P(DataCompareTest, RecordsPairByEveryKeyColumnOrByTheColumnsGiven) {
    const std::string lines =
        "CREATE TABLE order_lines (order_id INTEGER NOT NULL, line_no INTEGER NOT NULL, item VARCHAR(20),"
        " PRIMARY KEY (order_id, line_no));"
        "INSERT INTO order_lines VALUES (7, 1, 'pen');INSERT INTO order_lines VALUES (7, 2, 'ink');"
        "INSERT INTO order_lines VALUES (8, 1, 'pad');";
    DataRun run =
        this->run(lines, lines + "UPDATE order_lines SET item = 'nib' WHERE order_id = 7 AND line_no = 2;"
                                 "UPDATE order_lines SET item = 'pencil' WHERE order_id = 7 AND line_no = 1;"
                                 "DELETE FROM order_lines WHERE order_id = 8;"
                                 "INSERT INTO order_lines VALUES (9, 1, 'pad');");
    const Strings item{"item"};
    const Strings orderId{"order_id"};
    const Strings itemAndNote{"item", "note"};
    run.prepare("order_lines", "[order_id],[line_no],[item]");
    ASSERT_TRUE(run.runFull());
    const DataResult& result = run.core.lastDataResult();
    EXPECT_EQ(result.keyColumns, (Strings{"order_id", "line_no"}));
    ASSERT_EQ(result.original.size(), 3u);
    for (const DataRecord& record : result.original) {
        const DataRecord* counterpart = result.counterpartOf(record);
        if (record.values[0].toString() == "8") {
            EXPECT_EQ(counterpart, nullptr);
            continue;
        }
        ASSERT_NE(counterpart, nullptr) << record.number;
        EXPECT_EQ(counterpart->values[1], record.values[1]); // the same line, not the order's first
        EXPECT_EQ(result.changedColumns(record, *counterpart), item);
    }

    // The columns given pair in place of the key: by item alone, both pads are one record moved.
    run.core.setPairingKey(item);
    ASSERT_TRUE(run.runFull());
    const DataResult& byItem = run.core.lastDataResult();
    EXPECT_EQ(byItem.keyColumns, item);
    const auto pad = std::find_if(byItem.original.begin(), byItem.original.end(),
                                  [](const DataRecord& r) { return r.values[2].toString() == "pad"; });
    ASSERT_NE(pad, byItem.original.end());
    ASSERT_NE(byItem.counterpartOf(*pad), nullptr);
    EXPECT_EQ(byItem.changedColumns(*pad, *byItem.counterpartOf(*pad)), orderId);
    // A key column left out of the comparison pairs nothing.
    run.core.setPairingKey(itemAndNote);
    ASSERT_TRUE(run.runFull());
    EXPECT_TRUE(run.core.lastDataResult().keyColumns.empty());
}

TEST_P(DataCompareTest, WithoutAPrimaryKeyAUniqueKeyWithoutNullsPairs) {
    // The unique serial may be Null, so it is no key, though it was made first.
    const std::string parts =
        "CREATE TABLE parts (code VARCHAR(10) NOT NULL, serial VARCHAR(10), label VARCHAR(20));"
        "CREATE UNIQUE INDEX a_serial ON parts (serial);CREATE UNIQUE INDEX b_code ON parts (code);"
        "INSERT INTO parts VALUES ('a1', 's1', 'bolt');INSERT INTO parts VALUES ('b2', NULL, 'nut');"
        "INSERT INTO parts VALUES ('c3', 's3', 'gear');";
    DataRun run =
        this->run(parts, parts + "UPDATE parts SET label = 'screw', serial = 's9' WHERE code = 'a1';"
                                 "DELETE FROM parts WHERE code = 'c3';");
    run.prepare("parts", "[code],[serial],[label]");
    ASSERT_TRUE(run.runFull());
    const DataResult& result = run.core.lastDataResult();
    EXPECT_EQ(result.keyColumns, Strings{"code"});
    ASSERT_EQ(result.original.size(), 2u);
    const DataRecord* changed = result.counterpartOf(result.original.front());
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(result.changedColumns(result.original.front(), *changed), (Strings{"serial", "label"}));
    EXPECT_EQ(result.counterpartOf(result.original.back()), nullptr);

    // A unique key only one side has pairs nothing.
    DataRun oneSided = this->run(parts, parts + "DROP INDEX b_code" +
                                            (GetParam() == DatabaseKind::Mariadb ? " ON parts;" : ";") +
                                            "UPDATE parts SET label = 'screw' WHERE code = 'a1';");
    oneSided.prepare("parts", "[code],[serial],[label]");
    ASSERT_TRUE(oneSided.runFull());
    EXPECT_TRUE(oneSided.core.lastDataResult().keyColumns.empty());
}

TEST_P(DataCompareTest, ARecordOnTheModifiedSideOnly) {
    DataRun run =
        this->run(contactsWith(""), contactsWith("INSERT INTO contacts VALUES (5, 'Eve', NULL, 3.25);"));
    run.prepare("contacts", allFields);
    ASSERT_TRUE(run.runFull());
    EXPECT_TRUE(run.core.getRecordsExistInSourceOnly());
    EXPECT_FALSE(run.core.getRecordsExistInMasterOnly());

    const ResultCollection& source = *run.core.getSourceDatabaseResults();
    ASSERT_EQ(source.count(), 4);
    for (int32_t i = 1; i <= 4; ++i) {
        const clsResultSet& item = *source.item(i);
        EXPECT_EQ(item.getChangeType(), "5");
        EXPECT_TRUE(item.getIsDataValue());
        EXPECT_TRUE(item.getIsFieldDesc());
        EXPECT_EQ(item.getRecordNumber(), 5);
        EXPECT_EQ(item.getRecordCount(), 5 + 4);
        EXPECT_EQ(item.getFieldCount(), 4);
        EXPECT_EQ(item.getDatabaseObjName(), "contacts");
        EXPECT_EQ(item.getPrimaryKey(), "id");
    }
    EXPECT_EQ(source.item(1)->getDataValue(), "5");
    EXPECT_EQ(source.item(1)->getDataType(), "3");
    EXPECT_EQ(source.item(2)->getDataValue(), "Eve");
    EXPECT_EQ(source.item(2)->getLength(), "3");
    EXPECT_EQ(source.item(3)->getDataValue(), "Null");
    EXPECT_EQ(source.item(4)->getDataValue(), "3.25");

    // The Original side shows the table's fields instead of data items.
    const ResultCollection& master = *run.core.getMasterDatabaseResults();
    ASSERT_EQ(master.count(), 4);
    EXPECT_FALSE(master.item(1)->getIsDataValue());
    EXPECT_EQ(master.item(2)->getFieldName(), "name");
}

TEST_P(DataCompareTest, ARecordDifferingInOneFieldIsReportedOnBothSides) {
    DataRun run =
        this->run(contactsWith(""), contactsWith("UPDATE contacts SET city = 'Paris' WHERE id = 1;"));
    run.prepare("contacts", allFields);
    ASSERT_TRUE(run.runFull());
    EXPECT_FALSE(run.core.getRecordsExistInSourceOnly());
    EXPECT_FALSE(run.core.getRecordsExistInMasterOnly());
    EXPECT_EQ(reportedValues(*run.core.getMasterDatabaseResults(), "city"), Strings{"Oslo"});
    EXPECT_EQ(reportedValues(*run.core.getSourceDatabaseResults(), "city"), Strings{"Paris"});
}

TEST_P(DataCompareTest, NullsQuotesAndRealsMatchTheirEquals) {
    // Record 2 holds a Null, a quote and 0.1 (not exact in binary); record 3 a Null score.
    DataRun run =
        this->run(contactsWith(""), contactsWith("INSERT INTO contacts VALUES (6, 'Zoë', 'Malmö', 1e-7);"));
    run.prepare("contacts", allFields);
    ASSERT_TRUE(run.runFull());
    EXPECT_EQ(reportedRecords(*run.core.getSourceDatabaseResults()).size(), 1u);
    EXPECT_EQ(reportedValues(*run.core.getSourceDatabaseResults(), "name"), Strings{"Zoë"});
}

TEST_P(DataCompareTest, WildcardsAndLetterCaseNeverMatchOtherValues) {
    // Each change keeps a LIKE pattern matching: '_' for any letter, '%' for anything, and the
    // letter case SQLite's LIKE ignores. Every changed record must still be reported.
    DataRun run =
        this->run(contactsWith(""), contactsWith("UPDATE contacts SET name = 'abc' WHERE id = 4;"
                                                 "UPDATE contacts SET city = '50 percent' WHERE id = 4;"
                                                 "UPDATE contacts SET name = 'bob' WHERE id = 3;"
                                                 "UPDATE contacts SET name = 'ann' WHERE id = 1;"));
    run.prepare("contacts", allFields);
    ASSERT_TRUE(run.runFull());
    EXPECT_EQ(reportedValues(*run.core.getMasterDatabaseResults(), "name"), (Strings{"Ann", "Bob", "a_c"}));
    EXPECT_EQ(reportedValues(*run.core.getSourceDatabaseResults(), "name"), (Strings{"abc", "ann", "bob"}));
}

TEST_P(DataCompareTest, DuplicatesMatchAsSoonAsOneEqualRecordExists) {
    DataRun run =
        this->run(contactsWith("INSERT INTO contacts VALUES (7, 'Ann', 'Oslo', 1.5);"), contactsWith(""));
    run.prepare("contacts", "[name],[city],[score]");
    EXPECT_FALSE(run.runFull());
}

TEST_P(DataCompareTest, WithoutAKeyEachRecordHeldADifferentNumberOfTimesIsCountedOnBothSides) {
    const std::string table = "CREATE TABLE t (a INTEGER, b VARCHAR(10));";
    auto rows = [&](const std::vector<std::string>& values) {
        std::string script = table;
        for (const std::string& row : values)
            script += "INSERT INTO t VALUES (" + row + ");";
        return script;
    };
    DataRun run = this->run(rows({"1, 'x'", "1, 'x'", "1, 'x'", "2, 'z'", "4, 'q'", "4, 'q'"}),
                            rows({"1, 'x'", "3, 'w'", "3, 'w'", "4, 'q'", "4, 'q'", "4, 'q'"}));
    run.prepare("t", "[a],[b]");
    ASSERT_TRUE(run.runFull());
    const DataResult& result = run.core.lastDataResult();
    EXPECT_EQ(result.original.size(), 1u); // each side lists the records without an equal one
    EXPECT_EQ(result.modified.size(), 2u);
    if (GetParam() == DatabaseKind::SqliteOdbc) { // answered record by record: the sides are sets
        EXPECT_EQ(result.originalUnpairedCopies, -1);
        EXPECT_TRUE(result.copies.empty());
        return;
    }
    ASSERT_EQ(result.originalUnpairedCopies, 3);
    EXPECT_EQ(result.modifiedUnpairedCopies, 3);
    std::vector<std::string> counted;
    for (const RecordCopies& copies : result.copies)
        counted.push_back(copies.record.values[1].toString() + " " + std::to_string(copies.originalCopies) +
                          ":" + std::to_string(copies.modifiedCopies));
    EXPECT_EQ(counted, (Strings{"x 3:1", "z 1:0", "q 2:3", "w 0:2"}));
    EXPECT_EQ(result.copies.front().record.number, 1); // the Original's first copy
}

TEST_P(DataCompareTest, OnlyFieldsOfTheSameNameAndPositionTakePartWhenCountsDiffer) {
    DataRun run =
        this->run(contactsWith(""), contactsWith("UPDATE contacts SET city = 'Elsewhere', score = 9;"));
    run.prepare("contacts", "[id],[name],[city]", "[id],[name]");
    EXPECT_FALSE(run.runFull()); // city is left out of the match, so every record is found
    run.prepare("contacts", "[id],[name],[city]", "[name],[id]");
    EXPECT_FALSE(run.runFull()); // nothing lines up: no field can tell records apart
}

TEST_P(DataCompareTest, AFieldListNamingAMissingFieldLeavesThatSidesQueryInItsMessages) {
    DataRun run = this->run(contactsWith(""), "CREATE TABLE contacts (id INTEGER PRIMARY KEY, name TEXT);"
                                              "INSERT INTO contacts VALUES (1, 'Ann');");
    run.prepare("contacts", "[id],[name],[city]");
    run.runFull();
    EXPECT_EQ(reportedRecords(*run.core.getSourceDataManager()->getResults()).size(), 0u);
    std::string log = run.core.getErrorLogs(false);
    EXPECT_NE(log.find("select [id],[name],[city] from [contacts]"), std::string::npos) << log;
    EXPECT_NE(log.find(" #14 Error occurred while attempting to get data differences from specified fields"),
              std::string::npos)
        << log;
}

TEST_P(DataCompareTest, AnEmptyOriginalTableKeepsItsFieldItems) {
    DataRun run =
        this->run("CREATE TABLE contacts (id INTEGER PRIMARY KEY, name TEXT, city TEXT, score REAL);",
                  contactsWith(""));
    run.prepare("contacts", allFields);
    ASSERT_TRUE(run.runFull());
    EXPECT_FALSE(run.core.getRecordsExistInSourceOnly());
    EXPECT_FALSE(run.core.getRecordsExistInMasterOnly());
    EXPECT_EQ(run.core.getMasterDatabaseResults()->count(), 4); // field items
    EXPECT_EQ(reportedRecords(*run.core.getSourceDatabaseResults()).size(), 4u);
}

TEST_P(DataCompareTest, EveryMasterRecordFoundAndSomeSourceRecordsNew) {
    DataRun run =
        this->run(contactsWith(""), contactsWith("INSERT INTO contacts VALUES (8, 'Kim', 'Bern', 0);"
                                                 "INSERT INTO contacts VALUES (9, 'Lee', 'Bonn', 0);"));
    run.prepare("contacts", allFields);
    ASSERT_TRUE(run.runFull());
    EXPECT_TRUE(run.core.getRecordsExistInSourceOnly());
    EXPECT_FALSE(run.core.getRecordsExistInMasterOnly());
    EXPECT_EQ(reportedValues(*run.core.getSourceDatabaseResults(), "id"), (Strings{"8", "9"}));
}

TEST_P(DataCompareTest, TheWindowRunComparesTheFirstRecordsWhateverItsStart) {
    DataRun run = this->run(numberedRows(150, "a"), numberedRows(150, "b"));
    run.prepare("t", "[n],[label]");
    ASSERT_TRUE(run.runFull());
    run.core.setStartPoint(101);
    run.core.setBufferedAmount(100);
    ASSERT_TRUE(run.core.getBufferedResults());
    ReportedRecords fromWindow = reportedRecords(*run.core.getMasterDatabaseResults());
    ASSERT_EQ(fromWindow.size(), 101u);
    EXPECT_EQ(fromWindow.begin()->first, 1);
    EXPECT_EQ(fromWindow.rbegin()->first, 101);
    run.core.setStartPoint(1);
    ASSERT_TRUE(run.core.getBufferedResults());
    EXPECT_EQ(reportedRecords(*run.core.getMasterDatabaseResults()), fromWindow);
}

TEST_P(DataCompareTest, EachSideCanWriteItsComparedRowsToXml) {
    DataRun run = this->run(contactsWith(""), contactsWith("DELETE FROM contacts WHERE id = 2;"));
    run.prepare("contacts", "[id],[name]");
    auto master = run.core.getMasterDataManager();
    master->setSaveToXml(true);
    master->setXmlFileName(run.dir.file("ORIGINAL.xml"));
    ASSERT_TRUE(run.runFull());
    Recordset saved;
    saved.openFile(run.dir.file("ORIGINAL.xml"));
    EXPECT_EQ(saved.recordCount(), 4);
    EXPECT_EQ(saved.fieldCount(), 2);
    EXPECT_FALSE(std::filesystem::exists(run.dir.file("MODIFIED.xml")));
    // A second run replaces the file rather than failing on it.
    ASSERT_TRUE(run.runFull());
    EXPECT_TRUE(std::filesystem::exists(run.dir.file("ORIGINAL.xml")));
}

TEST_P(DataCompareTest, TheOrderedRunReportsUnmatchedRecordsUnderOneRecordNumber) {
    DataRun run =
        this->run(contactsWith(""), contactsWith("UPDATE contacts SET city = 'Paris' WHERE id IN (1, 3);"));
    run.prepare("contacts", allFields);
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    ASSERT_TRUE(run.core.beginTableCompareFromDBManagers(master, source));
    const ResultCollection& results = *run.core.getMasterDatabaseResults();
    int dataItems = 0;
    for (int32_t i = 1; i <= results.count(); ++i) {
        if (!results.item(i)->getIsDataValue())
            continue;
        ++dataItems;
        EXPECT_EQ(results.item(i)->getRecordNumber(), master->getCurrentRecordNumber());
    }
    EXPECT_EQ(dataItems, 8);
}

TEST_P(DataCompareTest, AFieldListRunFromConnectionStrings) {
    DataRun run =
        this->run(contactsWith(""), contactsWith("UPDATE contacts SET city = 'Paris' WHERE id = 1;"));
    ASSERT_TRUE(run.core.beginTableCompareFromFieldList(run.masterConnection, run.sourceConnection,
                                                        "contacts", "TABLE", "[id],[city]"));
    EXPECT_EQ(reportedValues(*run.core.getSourceDatabaseResults(), "city"), Strings{"Paris"});
    EXPECT_EQ(run.core.getSourceDatabaseResults()->item(1)->getFieldCount(), 2);
}

TEST_P(DataCompareTest, TheOneTableRunComparesStructureAndDataWithoutPublishing) {
    DataRun run = this->run(contactsWith(""), contactsWith("UPDATE contacts SET city = 'Paris' WHERE id = 1;"
                                                           "ALTER TABLE contacts ADD COLUMN extra TEXT;"));
    ASSERT_TRUE(
        run.core.beginTableFullDataCompare(run.masterConnection, run.sourceConnection, "contacts", "TABLE"));
    EXPECT_EQ(run.core.getMasterDatabaseResults(), nullptr);
    const ResultCollection& source = *run.core.getSourceDataManager()->getResults();
    // The table item, five field items (extra is new) and the Paris record, all fields of it.
    ASSERT_GE(source.count(), 6);
    EXPECT_EQ(source.item(1)->getFieldName(), "");
    EXPECT_EQ(source.item(6)->getFieldName(), "extra");
    EXPECT_EQ(source.item(6)->getChangeType(), "2");
    ReportedRecords reported = reportedRecords(source);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported.begin()->second.at("city"), "Paris");
}

SIFKIT_FOR_EACH_DATABASE(DataCompareTest);

struct ProgressCase {
    int records;
    std::vector<int32_t> counts;
};

void PrintTo(const ProgressCase& c, std::ostream* out) {
    *out << c.records << " records";
}

class DataCompareProgressTest : public testing::TestWithParam<ProgressCase> {};

TEST_P(DataCompareProgressTest, RaisesUpdateCountEveryFiftyRecords) {
    const ProgressCase& c = GetParam();
    DataRun run(numberedRows(c.records, "a"), numberedRows(c.records, "b"));
    run.prepare("t", "[n],[label]");
    std::vector<int32_t> original, modified;
    run.core.setUpdateCountHandler([&](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        EXPECT_EQ(maxCount, c.records);
        (readFrom == "Reading Original" ? original : modified).push_back(count);
    });
    ASSERT_TRUE(run.runFull());
    EXPECT_EQ(original, c.counts);
    EXPECT_EQ(modified, c.counts);
    EXPECT_EQ(reportedRecords(*run.core.getMasterDatabaseResults()).size(), static_cast<size_t>(c.records));
}

INSTANTIATE_TEST_SUITE_P(Counts, DataCompareProgressTest,
                         testing::Values(ProgressCase{49, {}}, ProgressCase{50, {}},
                                         ProgressCase{120, {51, 101}}));

} // namespace
} // namespace sifkit::test
