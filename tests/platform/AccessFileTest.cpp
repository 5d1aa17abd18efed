// SPDX-License-Identifier: MIT
// Access files read through libmdb, checked against the MDB Tools programs: mdb-tables and
// mdb-queries for the catalogue, mdb-schema for columns and keys, mdb-export for every value.

#include "support/ServerState.h"
#include "support/TestEnvironment.h"

#include "dataaccess/MdbBackend.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

namespace sifkit::test {
namespace {

namespace fs = std::filesystem;

using ExportedRow = std::vector<std::optional<std::string>>;

/// mdb-export's rows: fields split by commas, texts in double quotes (a quote doubled inside,
/// line breaks kept), Null as an unquoted NULL.
std::vector<ExportedRow> parseExport(const std::string& csv) {
    std::vector<ExportedRow> rows;
    ExportedRow row;
    std::string field;
    bool quoted = false, inQuotes = false;
    auto endField = [&] {
        row.push_back(!quoted && field == "NULL" ? std::nullopt : std::optional<std::string>(field));
        field.clear();
        quoted = false;
    };
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"')
                field += csv[++i];
            else if (c == '"')
                inQuotes = false;
            else
                field += c;
        } else if (c == '"') {
            inQuotes = quoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n') {
            endField();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

std::set<std::string> lines(const std::string& text) {
    std::set<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            found.insert(line);
    return found;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The Access files of the fixture folder, each copied to a writable temporary folder (the
/// fixtures are read-only), so that a write would have the chance to change it.
class AccessFileTest : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = whyNoAccessFiles(); !why.empty())
            GTEST_SKIP() << why;
        northwind = copy("nwind.mdb");
        dates = copy("DateTestDatabase.mdb");
    }

    std::string copy(const std::string& name) {
        const fs::path to = dir.path() / name;
        fs::copy_file(fs::path(SIFKIT_TEST_ACCESS_FIXTURES) / name, to);
        fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write);
        return to.string();
    }

    static std::string tool(const std::string& command, const std::string& file,
                            const std::string& rest = "") {
        return runCommand(installedProgram(command) + " " + shellQuoted(file) + rest + " 2>/dev/null");
    }

    /// The user tables of a file, as mdb-tables lists them.
    static std::set<std::string> userTables(const std::string& file) {
        return lines(tool("mdb-tables", file, " -1"));
    }

    TempDir dir;
    std::string northwind, dates;
};

TEST_F(AccessFileTest, TheCatalogueListsTablesSystemTablesAndSavedQueries) {
    for (const std::string& file : {northwind, dates}) {
        SCOPED_TRACE(file);
        Connection connection;
        connection.open(fileConnectionString(file));
        EXPECT_EQ(connection.dbmsName(), "ACCESS");
        std::map<std::string, std::set<std::string>> byType;
        for (Recordset tables = connection.openSchema(Connection::SchemaTables, {}); !tables.eof();
             tables.moveNext())
            byType[tables.field("TABLE_TYPE").value().toString()].insert(
                tables.field("TABLE_NAME").value().toString());
        const std::set<std::string> user = userTables(file);
        std::set<std::string> system;
        for (const std::string& table : lines(tool("mdb-tables", file, " -S -1")))
            if (!user.count(table))
                system.insert(table);
        EXPECT_EQ(byType["TABLE"], user);
        EXPECT_EQ(byType["SYSTEM TABLE"], system);
        EXPECT_EQ(byType["VIEW"], lines(tool("mdb-queries", file, " -L -1")));
        EXPECT_EQ(byType.size(), byType.count("VIEW") ? 3u : 2u);
    }
}

/// The type code and size a column declared so in mdb-schema's Access spelling reads with.
std::pair<int32_t, int32_t> expectedType(const std::string& declared) {
    std::smatch sized;
    if (std::regex_match(declared, sized, std::regex(R"(Text \((\d+)\))")))
        return {202, std::stoi(sized[1])};
    static const std::map<std::string, std::pair<int32_t, int32_t>> types{
        {"Long Integer", {3, 10}},
        {"Integer", {2, 5}},
        {"Byte", {17, 3}},
        {"Currency", {6, 19}},
        {"Single", {4, 7}},
        {"Double", {5, 15}},
        {"DateTime", {7, 19}},
        {"Boolean", {11, 1}},
        {"Memo/Hyperlink (255)", {203, 1073741823}},
        {"OLE (255)", {205, 1073741823}},
        {"Replication ID", {72, 36}}};
    auto found = types.find(declared);
    return found == types.end() ? std::pair<int32_t, int32_t>{-1, -1} : found->second;
}

TEST_F(AccessFileTest, ColumnsCarryTheirAccessTypes) {
    for (const std::string& file : {northwind, dates}) {
        Connection connection;
        connection.open(fileConnectionString(file));
        for (const std::string& table : userTables(file)) {
            SCOPED_TRACE(table);
            const std::string schema = tool("mdb-schema", file, " -T " + shellQuoted(table) + " access");
            const std::regex column(R"(\t\[([^\]]+)\]\t+([^,\n]*?)( NOT NULL)?,? ?\n)");
            Recordset records;
            records.open("[" + table + "]", connection, Recordset::Source::Table, 1);
            int32_t index = 0;
            for (auto it = std::sregex_iterator(schema.begin(), schema.end(), column);
                 it != std::sregex_iterator(); ++it, ++index) {
                ASSERT_LT(index, records.fieldCount());
                const Field field = records.field(index);
                EXPECT_EQ(field.name(), (*it)[1].str());
                const auto [code, size] = expectedType((*it)[2].str());
                EXPECT_EQ(field.type(), code) << field.name() << " " << (*it)[2].str();
                EXPECT_EQ(field.definedSize(), size) << field.name() << " " << (*it)[2].str();
            }
            EXPECT_EQ(index, records.fieldCount());
        }
    }
}

TEST_F(AccessFileTest, PrimaryAndForeignKeysAreTheFilesOwn) {
    Connection connection;
    connection.open(fileConnectionString(northwind));
    // The category name is required and unique: the one unique key besides a primary key.
    EXPECT_EQ(connection.backend()->uniqueKeys("Categories"),
              std::vector<std::vector<std::string>>{{"CategoryName"}});
    EXPECT_TRUE(connection.backend()->uniqueKeys("Orders").empty());
    // mdb-schema for MySQL keeps the names' letter case: "ALTER TABLE `T` ADD PRIMARY KEY
    // (`a`, `b`);" and "... FOREIGN KEY (`c`) REFERENCES `U`(`d`)".
    const std::string schema = tool("mdb-schema", northwind, " mysql");
    std::map<std::string, std::vector<std::string>> primary;
    const std::regex primaryKey(R"(ALTER TABLE `([^`]+)` ADD PRIMARY KEY \(([^)]*)\);)");
    const std::regex quoted("`([^`]+)`");
    for (auto it = std::sregex_iterator(schema.begin(), schema.end(), primaryKey);
         it != std::sregex_iterator(); ++it) {
        const std::string names = (*it)[2].str();
        for (auto name = std::sregex_iterator(names.begin(), names.end(), quoted);
             name != std::sregex_iterator(); ++name)
            primary[(*it)[1].str()].push_back((*name)[1].str());
    }
    std::set<std::string> foreign;
    const std::regex foreignKey(
        R"(ALTER TABLE `([^`]+)` ADD CONSTRAINT `[^`]+` FOREIGN KEY \(`([^`]+)`\) REFERENCES `([^`]+)`\(`([^`]+)`\))");
    for (auto it = std::sregex_iterator(schema.begin(), schema.end(), foreignKey);
         it != std::sregex_iterator(); ++it)
        foreign.insert((*it)[1].str() + "." + (*it)[2].str() + " -> " + (*it)[3].str() + "." +
                       (*it)[4].str());
    ASSERT_FALSE(primary.empty());
    ASSERT_FALSE(foreign.empty());

    std::set<std::string> foundForeign;
    for (const std::string& table : userTables(northwind)) {
        SCOPED_TRACE(table);
        std::vector<std::string> keyColumns;
        for (Recordset keys = connection.openSchema(Connection::SchemaPrimaryKeys, {"", "", table});
             !keys.eof(); keys.moveNext()) {
            keyColumns.push_back(keys.field("COLUMN_NAME").value().toString());
            EXPECT_EQ(keys.field("PK_NAME").value().toString(), "PrimaryKey");
        }
        EXPECT_EQ(keyColumns, primary[table]);
        for (Recordset keys =
                 connection.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", table});
             !keys.eof(); keys.moveNext()) {
            EXPECT_EQ(keys.field("FK_TABLE_NAME").value().toString(), table);
            foundForeign.insert(table + "." + keys.field("FK_COLUMN_NAME").value().toString() + " -> " +
                                keys.field("PK_TABLE_NAME").value().toString() + "." +
                                keys.field("PK_COLUMN_NAME").value().toString());
        }
    }
    EXPECT_EQ(foundForeign, foreign);
    // Asked the other way: the keys that refer to a table.
    Recordset referring = connection.openSchema(Connection::SchemaForeignKeys, {"", "", "Orders"});
    ASSERT_FALSE(referring.eof());
    EXPECT_EQ(referring.field("FK_TABLE_NAME").value().toString(), "Order Details");
    EXPECT_EQ(referring.field("PK_COLUMN_NAME").value().toString(), "OrderID");
    EXPECT_EQ(referring.field("FK_NAME").value().toString(), "OrdersOrder Details");
    EXPECT_EQ(referring.field("PK_NAME").value().toString(), "PrimaryKey");
}

/// Whether a value reads as mdb-export shows it: singles with eight digits, binary in hex,
/// dates as "%Y-%m-%d %H:%M:%S" (which mdb-export cannot show before 1900: those are left
/// to DatesBefore1900AndOf9999ReadWhereMdbExportCannotShowThem).
bool readsAsExported(const Value& value, int32_t type, const std::optional<std::string>& exported) {
    if (!exported)
        return value.isNull();
    if (value.isNull())
        return false;
    if (type == 4) {
        char text[40];
        std::snprintf(text, sizeof text, "%.8g", static_cast<double>(static_cast<float>(value.asReal())));
        return *exported == text;
    }
    if (type == 7 && exported->find("-00 ") != std::string::npos)
        return true;
    return value.toString() == *exported;
}

TEST_F(AccessFileTest, EveryValueReadsAsMdbExportShowsIt) {
    std::size_t compared = 0;
    for (const std::string& file : {northwind, dates}) {
        Connection connection;
        connection.open(fileConnectionString(file));
        for (const std::string& table : userTables(file)) {
            SCOPED_TRACE(table);
            const auto exported = parseExport(
                tool("mdb-export", file, " -H -0 NULL -b hex -T '%Y-%m-%d %H:%M:%S' " + shellQuoted(table)));
            Recordset records;
            records.open("select * from [" + table + "]", connection);
            ASSERT_EQ(static_cast<std::size_t>(records.recordCount()), exported.size());
            for (const ExportedRow& row : exported) {
                ASSERT_EQ(row.size(), static_cast<std::size_t>(records.fieldCount()));
                for (int32_t i = 0; i < records.fieldCount(); ++i) {
                    const Field field = records.field(i);
                    EXPECT_TRUE(
                        readsAsExported(field.value(), field.type(), row[static_cast<std::size_t>(i)]))
                        << field.name() << ": " << field.value().toString() << " against "
                        << row[static_cast<std::size_t>(i)].value_or("NULL");
                    ++compared;
                }
                records.moveNext();
            }
        }
    }
    EXPECT_GT(compared, 10000u);
}

TEST_F(AccessFileTest, DatesBefore1900AndOf9999ReadWhereMdbExportCannotShowThem) {
    Connection connection;
    connection.open(fileConnectionString(dates));
    Recordset records;
    records.open("select IDCol, DateTimeCol, DateCol, TimeCol from [DateTest] order by IDCol", connection);
    std::map<int64_t, std::vector<std::string>> byId;
    for (; !records.eof(); records.moveNext())
        for (int32_t i = 1; i < 4; ++i)
            byId[records.field(0).value().asInteger()].push_back(records.field(i).value().toString());
    // The rows' own texts say what they hold ("Year 9999", "Pre-1900 years", "Pre-1000 years"):
    // New Year's Days, the later columns a year on. mdb-export shows only the 1900 one.
    EXPECT_EQ(byId[2], (std::vector<std::string>{"9999-01-01 00:00:00", "9999-01-01 00:00:00",
                                                 "9999-01-01 00:00:00"}));
    EXPECT_EQ(byId[3], (std::vector<std::string>{"1898-01-01 00:00:00", "1899-01-01 00:00:00",
                                                 "1900-01-01 00:00:00"}));
    EXPECT_EQ(byId[4], (std::vector<std::string>{"0632-01-01 00:00:00", "0633-01-01 00:00:00",
                                                 "0634-01-01 00:00:00"}));
}

TEST_F(AccessFileTest, WritesAreRefusedAndTheFileStaysAsItWas) {
    const std::string before = contents(northwind);
    const auto modified = fs::last_write_time(northwind);
    {
        Connection connection;
        connection.open(fileConnectionString(northwind));
        try {
            connection.execute("DELETE FROM [Shippers]");
            ADD_FAILURE() << "a delete ran";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), ErrorNumber::ReadOnly);
            EXPECT_NE(error.description().find("reading only"), std::string::npos) << error.description();
        }
        Recordset table;
        table.open("[Shippers]", connection, Recordset::Source::Table);
        table.addNew();
        table.field("ShipperID").setValue(Value(int64_t{99}));
        table.field("CompanyName").setValue(Value("New"));
        EXPECT_THROW(table.update(), Error);
        Recordset row;
        row.open("select * from [Shippers] where ShipperID = 1", connection);
        row.field("CompanyName").setValue(Value("Changed"));
        EXPECT_THROW(row.update(), Error);
        EXPECT_EQ(table.recordCount(), 3);
    }
    EXPECT_EQ(contents(northwind), before);
    EXPECT_EQ(fs::last_write_time(northwind), modified);
    // No lock file beside it either.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}

TEST_F(AccessFileTest, ConditionsAndOrderFindRowsExactly) {
    Connection connection;
    connection.open(fileConnectionString(northwind));
    Recordset records;
    records.open("select CompanyName from [Customers] where CustomerID = ?", {Value("ALFKI")}, connection);
    ASSERT_EQ(records.recordCount(), 1);
    EXPECT_EQ(records.field(0).value(), Value("Alfreds Futterkiste"));
    records.open("select CompanyName from [Customers] where CustomerID = 'alfki'", connection);
    EXPECT_EQ(records.recordCount(), 0);
    // Currency by exact value, singles by the value read.
    const auto products = parseExport(tool("mdb-export", northwind, " -H Products"));
    const auto costing18 = std::count_if(products.begin(), products.end(),
                                         [](const ExportedRow& row) { return row[5] == "18.0000"; });
    ASSERT_GT(costing18, 1);
    records.open("select ProductName from [Products] where UnitPrice = ?", {Value("18")}, connection);
    EXPECT_EQ(records.recordCount(), costing18);
    records.open("select OrderID from [Order Details] where Discount = ? and ProductID = 51", {Value(0.15)},
                 connection);
    EXPECT_EQ(records.recordCount(),
              std::stoi(runCommand(installedProgram("mdb-export") + " -H " + shellQuoted(northwind) +
                                   " 'Order Details' | awk -F, '$2 == 51 && $5 == \"0.15000001\"' | wc -l")));
    records.open("select TOP 2 ProductName, UnitPrice from [Products] order by UnitPrice desc, ProductName",
                 connection);
    ASSERT_EQ(records.recordCount(), 2);
    EXPECT_EQ(records.field(1).value(), Value("263.5000"));
    records.moveNext();
    EXPECT_EQ(records.field(1).value(), Value("123.7900"));
    records.open("select OrderID from [Orders] where OrderDate = #11/16/94# and ShipRegion is null",
                 connection);
    EXPECT_EQ(records.recordCount(), 1);
    EXPECT_THROW(records.open("select [NoSuchColumn] from [Orders]", connection), Error);
    EXPECT_THROW(records.open("select * from [NoSuchTable]", connection), DatabaseError);
}

TEST_F(AccessFileTest, ASavedQueryIsListedButCannotBeRun) {
    Connection connection;
    connection.open(fileConnectionString(northwind));
    Recordset records;
    try {
        records.open("select * from [Invoices]", connection);
        ADD_FAILURE() << "a saved query ran";
    } catch (const Error& error) {
        EXPECT_NE(error.description().find("saved query \"Invoices\""), std::string::npos)
            << error.description();
    }
}

TEST_F(AccessFileTest, ScansHandOverTheRowsOrOnlyTheWantedOnes) {
    platform::MdbBackend backend(northwind);
    const std::string sql = "select OrderID, ProductID from [Order Details] where Quantity > ?";
    const platform::RowSet all = backend.query(sql, {Value(int64_t{50})});
    ASSERT_GT(all.rows.size(), 10u);
    const std::vector<int32_t> wanted{1, 3, static_cast<int32_t>(all.rows.size())};
    std::vector<platform::Row> found;
    backend.scanRows(
        sql, {Value(int64_t{50})}, wanted, [](const std::vector<platform::ColumnInfo>&) {},
        [&](const platform::CellView* cells, std::size_t count) {
            found.push_back({cells[0].toValue(), cells[count - 1].toValue()});
        });
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], all.rows[0]);
    EXPECT_EQ(found[1], all.rows[2]);
    EXPECT_EQ(found[2], all.rows.back());
    std::size_t scanned = 0;
    backend.scan(
        sql, {Value(int64_t{50})}, [](const std::vector<platform::ColumnInfo>&) {},
        [&](const platform::CellView*, std::size_t) { ++scanned; });
    EXPECT_EQ(scanned, all.rows.size());
    EXPECT_TRUE(backend.rowExists(sql, {Value(int64_t{50})}));
    EXPECT_FALSE(backend.rowExists(sql, {Value(int64_t{5000})}));
}

TEST_F(AccessFileTest, ADataSourceOfTheMdbToolsDriverOpensItsFile) {
    OdbcConfig::instance().addUserDataSource(
        {"access_by_path", "/usr/lib/x86_64-linux-gnu/odbc/libmdbodbc.so", {{"DBQ", northwind}}});
    OdbcConfig::instance().addUserDataSource({"access_by_name", "MDBTools", {{"Database", dates}}});
    for (const char* name : {"access_by_path", "access_by_name"}) {
        SCOPED_TRACE(name);
        const std::string shown =
            std::string("Provider=MSDASQL;Persist Security Info=False;Data Source=") + name;
        Connection connection;
        connection.open(shown);
        EXPECT_EQ(connection.dbmsName(), "ACCESS");
        EXPECT_EQ(connection.connectionString(), shown);
        EXPECT_FALSE(connection.openSchema(Connection::SchemaTables, {}).eof());
    }
}

} // namespace
} // namespace sifkit::test
