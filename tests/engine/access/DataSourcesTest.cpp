// SPDX-License-Identifier: MIT
#include "access/DataSources.h"
#include "support/TestEnvironment.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <atomic>
#include <tuple>

namespace sifkit::test {
namespace {

const std::string kJet = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
const std::string kMsdasql = "Provider=MSDASQL;Persist Security Info=False;Data Source=";

/// unixODBC caches what it read of odbc.ini per data source name for a while, so every test
/// names its data sources afresh.
std::string uniqueName(const std::string& stem) {
    static std::atomic<int> counter{0};
    return stem + "_" + std::to_string(++counter);
}

class DataSourcesTest : public testing::Test {
protected:
    void TearDown() override { OdbcConfig::instance().setUserDataSources({}); }
};

TEST_F(DataSourcesTest, ListsTheDataSourcesInDriverManagerOrder) {
    const std::string sales = uniqueName("Sales"), lite = uniqueName("Lite"), books = uniqueName("Books");
    OdbcConfig::instance().setUserDataSources(
        {{sales, "Microsoft Access Driver (*.mdb)", {{"DBQ", "/data/s.mdb"}}},
         {lite, "SQLite3", {{"Database", "/tmp/none.db"}}},
         {books, "SQLite3", {}}});
    std::vector<std::string> shown;
    HostHooks hooks;
    hooks.messageBox = [&](const std::string& text) { shown.push_back(text); };
    Sifcore core(hooks);
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(core.getODBCConnectionCount(), 3);
    EXPECT_EQ(core.getODBCConnection(1), "DSN=" + sales + " | Microsoft Access Driver (*.mdb)");
    EXPECT_EQ(core.getODBCConnection(2), "DSN=" + lite + " | SQLite3");
    EXPECT_EQ(core.getODBCConnection(3), "DSN=" + books + " | SQLite3");
}

TEST_F(DataSourcesTest, AnIndexOutsideTheListIsASubscriptError) {
    OdbcConfig::instance().setUserDataSources({{uniqueName("Only"), "SQLite3", {}}});
    Sifcore core;
    ASSERT_EQ(core.getODBCConnectionCount(), 1);
    for (int32_t index : {0, 2, -1}) { // an empty list fails the same way
        try {
            core.getODBCConnection(index);
            ADD_FAILURE() << "index " << index << " must fail";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
        }
    }
}

// A data source may name its driver library by path; the entry shows the registered driver.
TEST_F(DataSourcesTest, ADriverGivenByItsLibraryIsShownByItsRegisteredName) {
    const std::string name = uniqueName("ByPath");
    OdbcConfig::instance().setUserDataSources({{name, sqliteDriverPath(), {}}});
    Sifcore core;
    ASSERT_EQ(core.getODBCConnectionCount(), 1);
    EXPECT_EQ(core.getODBCConnection(1), "DSN=" + name + " | SQLite3");
}

TEST_F(DataSourcesTest, AnAccessSourceOpensItsDatabaseFileThroughJet) {
    const std::string sales = uniqueName("Sales"), orders = uniqueName("Orders"), empty = uniqueName("Empty");
    OdbcConfig::instance().setUserDataSources(
        {{sales, "Microsoft Access Driver (*.mdb)", {{"DBQ", "/data/sales.mdb"}}},
         {orders, "Microsoft Access Driver (*.mdb, *.accdb)", {{"Database", "/data/orders.accdb"}}},
         {empty, "Microsoft Access Driver (*.mdb)", {}}});
    Sifcore core;
    std::string entry = "DSN=" + sales + " | Microsoft Access Driver (*.mdb)";
    EXPECT_EQ(core.getConncectionStringFromDSN(entry), kJet + "/data/sales.mdb");
    EXPECT_EQ(entry, sales + " | Microsoft Access Driver (*.mdb)");
    EXPECT_TRUE(detail::isFileBasedSource());
    entry = core.getODBCConnection(2);
    EXPECT_EQ(core.getConncectionStringFromDSN(entry), kJet + "/data/orders.accdb");
    // Without a database file the Jet form has nothing after it, and opening it fails later.
    entry = core.getODBCConnection(3);
    EXPECT_EQ(core.getConncectionStringFromDSN(entry), kJet);
}

TEST_F(DataSourcesTest, OtherSourcesOpenThroughTheirDataSourceName) {
    Sifcore core;
    // dBase and FoxPro sources are file based, yet open through their name like any other.
    for (auto [entry, name, fileBased] :
         {std::tuple{"DSN=Sales | SQL Server", "Sales", false},
          std::tuple{"DSN=Lite | SQLite3", "Lite", false},
          std::tuple{"DSN=Stock | Microsoft dBase Driver (*.dbf)", "Stock", true},
          std::tuple{"DSN=Parts | Microsoft FoxPro VFP Driver (*.dbf)", "Parts", true}}) {
        std::string text = entry;
        EXPECT_EQ(core.getConncectionStringFromDSN(text), kMsdasql + name);
        EXPECT_EQ(detail::isFileBasedSource(), fileBased) << entry;
    }
}

TEST_F(DataSourcesTest, NameAndDriverOfAnEntry) {
    Sifcore core;
    std::string entry = "DSN=Sales | Microsoft Access Driver (*.mdb)";
    EXPECT_EQ(core.getDriverName(entry), "Microsoft Access Driver (*.mdb)");
    EXPECT_EQ(core.getDSNName(entry), "Sales");
    EXPECT_EQ(entry, "Sales | Microsoft Access Driver (*.mdb)");
    // The entry has lost its "DSN=": asked again it names nothing and stays as it is.
    EXPECT_EQ(core.getDSNName(entry), "");
    EXPECT_EQ(entry, "Sales | Microsoft Access Driver (*.mdb)");

    std::string noBar = "DSN=Sales";
    EXPECT_EQ(core.getDSNName(noBar), "");
    EXPECT_EQ(noBar, "Sales");
    std::string blanks = "  DSN=Sales | SQLite3";
    EXPECT_EQ(core.getDSNName(blanks), "N=Sales"); // the first four characters go, whatever they are
    std::string plain = "Sales";
    EXPECT_EQ(core.getDriverName(plain), "");
    EXPECT_EQ(core.getDSNName(plain), "");
    EXPECT_EQ(plain, "Sales");
}

TEST_F(DataSourcesTest, UserIDAndPasswordAreAddedOnce) {
    Sifcore core;
    std::string connection = kMsdasql + "Sales";
    EXPECT_EQ(core.addUserIDToConnectionString("ann", connection), kMsdasql + "Sales ;User ID=ann");
    EXPECT_EQ(connection, kMsdasql + "Sales ;User ID=ann");
    EXPECT_EQ(core.addUserIDToConnectionString("bob", connection), kMsdasql + "Sales ;User ID=ann");
    EXPECT_EQ(core.addPasswordToConnectionString("s;cret", connection),
              kMsdasql + "Sales ;User ID=ann ;Password=s;cret");
    EXPECT_EQ(core.addPasswordToConnectionString("other", connection),
              kMsdasql + "Sales ;User ID=ann ;Password=s;cret");
    EXPECT_EQ(connection, kMsdasql + "Sales ;User ID=ann ;Password=s;cret");
}

TEST_F(DataSourcesTest, ConnectionFromAPath) {
    Sifcore core;
    std::string path;
    EXPECT_EQ(core.getOLEDBConnectionFromPath(path, false), kJet);
    path = "/data/people.db";
    EXPECT_EQ(core.getOLEDBConnectionFromPath(path, false), kJet + "/data/people.db");
    EXPECT_EQ(path, "/data/people.db");
    path = "DSN=Lite | SQLite3";
    EXPECT_EQ(core.getOLEDBConnectionFromPath(path, true), kMsdasql + "Lite");
    EXPECT_EQ(path, "Lite | SQLite3");
}

TEST_F(DataSourcesTest, AFailedListingShowsOneMessageAndKeepsWhatItGathered) {
    std::vector<std::string> shown;
    HostHooks hooks;
    hooks.messageBox = [&](const std::string& text) { shown.push_back(text); };
    detail::loadOdbcDataSources(hooks, [](std::vector<platform::DataSourceEntry>& into) {
        into.push_back({"One", "SQLite3"});
        into.push_back({"Two", "PostgreSQL Unicode"});
        throw DatabaseError(0, "HY000", "listing broke");
    });
    EXPECT_EQ(shown, std::vector<std::string>{"No ODBC connections were found on this system"});
    ASSERT_EQ(detail::dataSourceCount(), 2);
    EXPECT_EQ(detail::dataSourceEntry(2), "DSN=Two | PostgreSQL Unicode");
}

TEST_F(DataSourcesTest, WithoutAnOdbcEnvironmentTheListIsEmptyAndNothingIsShown) {
    std::vector<std::string> shown;
    HostHooks hooks;
    hooks.messageBox = [&](const std::string& text) { shown.push_back(text); };
    detail::loadOdbcDataSources(hooks, [](std::vector<platform::DataSourceEntry>& into) {
        into.push_back({"One", "SQLite3"});
        throw platform::NoOdbcEnvironment(ErrorNumber::ProviderNotFound, "no environment");
    });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(detail::dataSourceCount(), 0);
}

TEST_F(DataSourcesTest, AnSqliteDataSourceOpensThroughItsConnectionString) {
    TempDir dir;
    createSqliteDatabase(dir.file("people.db"), fixtureScript("people.sql"));
    const std::string name = uniqueName("People");
    OdbcConfig::instance().setUserDataSources({{name, "SQLite3", {{"Database", dir.file("people.db")}}}});
    Sifcore core;
    ASSERT_EQ(core.getODBCConnectionCount(), 1);
    std::string entry = core.getODBCConnection(1);
    std::string connection = core.getConncectionStringFromDSN(entry);
    EXPECT_EQ(connection, kMsdasql + name);

    auto manager = core.getMasterDataManager();
    manager->setConnectionString(connection);
    manager->openDatabaseConnection();
    manager->openDataBaseRecordsFromQuery("select name from [people] where id = 2");
    EXPECT_EQ(manager->getReturnConnectionMessage(), " Successfully Completed||");
    EXPECT_EQ(manager->getDatabaseRecords().field("name").value().asText(), "O'Neil");
    manager->closeConnection();
}

} // namespace
} // namespace sifkit::test
