// SPDX-License-Identifier: MIT
#include "support/PeopleDatabase.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>

namespace sifkit::test {
namespace {

class RecordsetXmlTest : public PeopleDatabaseTest {
protected:
    std::string extraScript() const override {
        if (GetParam() == DatabaseKind::Postgres)
            return "CREATE TABLE blobs (id INTEGER, data BYTEA, line TEXT);"
                   "INSERT INTO blobs VALUES (1, '\\x00FF10', 'a' || chr(13) || chr(10) || 'b');";
        if (GetParam() == DatabaseKind::Mariadb)
            return "CREATE TABLE blobs (id INTEGER, data BLOB, line TEXT);"
                   "INSERT INTO blobs VALUES (1, x'00FF10', CONCAT('a', CHAR(13), CHAR(10), 'b'));";
        return "CREATE TABLE blobs (id INTEGER, data BLOB, line TEXT);"
               "INSERT INTO blobs VALUES (1, x'00FF10', 'a' || char(13) || char(10) || 'b');";
    }
};

TEST_P(RecordsetXmlTest, RoundTripKeepsNamesTypesSizesAndValues) {
    Recordset records;
    records.open("select * from [people] order by id", connection);
    records.save(dir.file("people.xml"));

    Recordset loaded;
    loaded.openFile(dir.file("people.xml"));
    ASSERT_EQ(loaded.fieldCount(), records.fieldCount());
    ASSERT_EQ(loaded.recordCount(), 3);
    for (int32_t i = 0; i < records.fieldCount(); ++i) {
        EXPECT_EQ(loaded.field(i).name(), records.field(i).name());
        EXPECT_EQ(loaded.field(i).type(), records.field(i).type());
        EXPECT_EQ(loaded.field(i).definedSize(), records.field(i).definedSize());
    }
    for (records.moveFirst(), loaded.moveFirst(); !records.eof(); records.moveNext(), loaded.moveNext())
        for (int32_t i = 0; i < records.fieldCount(); ++i)
            EXPECT_EQ(loaded.field(i).value(), records.field(i).value()) << "field " << i;
}

TEST_P(RecordsetXmlTest, AFileThatCannotBeWrittenSaysWhyAndLeavesNothing) {
    Recordset records;
    records.open("select * from [people] order by id", connection);
    // Files may grow to 64 bytes only: the write fails as on a full disk, with the system's reason.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string why;
    try {
        records.save(dir.file("people.xml"));
    } catch (const Error& failure) {
        why = failure.description();
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_NE(why.find("File too large"), std::string::npos) << why;
    EXPECT_EQ(why.find("Input/output error"), std::string::npos) << why;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string().rfind("people.xml", 0), 0u) << entry.path();
}

TEST_P(RecordsetXmlTest, NullStaysApartFromEmptyText) {
    Recordset records;
    records.open("select note from [people] where id in (1, 2) order by id", connection);
    records.save(dir.file("notes.xml"));
    Recordset loaded;
    loaded.openFile(dir.file("notes.xml"));
    EXPECT_TRUE(loaded.field(0).value().isNull());
    loaded.moveNext();
    EXPECT_EQ(loaded.field(0).value(), Value(""));
}

TEST_P(RecordsetXmlTest, BinaryAndControlCharactersSurvive) {
    Recordset records;
    records.open("select * from [blobs]", connection);
    records.save(dir.file("blobs.xml"));
    Recordset loaded;
    loaded.openFile(dir.file("blobs.xml"));
    EXPECT_EQ(loaded.field("data").value(), Value::binary({0x00, 0xFF, 0x10}));
    EXPECT_EQ(loaded.field("line").value().asText(), "a\r\nb");
}

TEST_P(RecordsetXmlTest, AnExistingFileIsNeverOverwritten) {
    std::ofstream(dir.file("taken.xml")) << "keep me";
    Recordset records;
    records.open("select * from [people]", connection);
    EXPECT_THROW(records.save(dir.file("taken.xml")), Error);
    std::ifstream in(dir.file("taken.xml"));
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "keep me");
    // No temporary file is left behind either (beside the SQLite database's own file).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), onSqlite() ? 2 : 1);
}

TEST_P(RecordsetXmlTest, FilesThatAreNotSavedRecordsetsAreRefused) {
    std::ofstream(dir.file("other.xml")) << "<html><body/></html>";
    std::ofstream(dir.file("broken.xml")) << "<recordset format=\"sifkit-recordset\"><fields>";
    Recordset loaded;
    EXPECT_THROW(loaded.openFile(dir.file("other.xml")), Error);
    EXPECT_THROW(loaded.openFile(dir.file("broken.xml")), Error);
    EXPECT_THROW(loaded.openFile(dir.file("absent.xml")), Error);
    EXPECT_EQ(loaded.state(), 0);
}

TEST_P(RecordsetXmlTest, ARowReadFromAFileCanBeWrittenBackThroughATableRecordset) {
    Recordset records;
    records.open("select * from [people] where id = 2", connection);
    records.save(dir.file("row.xml"));
    Recordset saved;
    saved.openFile(dir.file("row.xml"));
    connection.execute("delete from people where id = 2");
    Recordset table;
    table.open("people", connection, Recordset::Source::Table);
    table.addNew();
    for (int32_t i = 0; i < saved.fieldCount(); ++i)
        table.field(i).setValue(saved.field(i).value());
    table.update();
    EXPECT_EQ(read("select id, name, case when note = '' then 1 else 0 end, case when born is null then 1 "
                   "else 0 end "
                   "from people where id = 2"),
              "2|O'Neil|1|1\n");
}

SIFKIT_FOR_EACH_PRODUCT(RecordsetXmlTest);

} // namespace
} // namespace sifkit::test
