#include "dataaccess/ConnectionString.h"
#include "dataaccess/Backend.h"
#include "support/TestEnvironment.h"

#include <sifkit/SifkitError.h>

#include <gtest/gtest.h>

#include <fstream>

namespace sifkit::test {
namespace {

using platform::translateConnectionString;

TEST(ConnectionStringTest, DataSourceFormBecomesDsnWithCredentials) {
    EXPECT_EQ(translateConnectionString("Provider=MSDASQL;Persist Security Info=False;Data Source=Sales")
                  .odbcConnectionString,
              "DSN=Sales");
    EXPECT_EQ(translateConnectionString(
                  "Provider=MSDASQL;Persist Security Info=False;Data Source=Sales ;User ID=bob ;Password=p;w")
                  .odbcConnectionString,
              "DSN=Sales;UID=bob;PWD={p;w}");
}

TEST(ConnectionStringTest, FileFormOpensSqliteFilesThroughTheSqliteDriver) {
    TempDir dir;
    std::string path = dir.file("a b.db");
    createSqliteDatabase(path, "create table t (x);");
    auto target = translateConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path);
    // As a URI: the driver takes no quoting, and a path may hold any character.
    EXPECT_EQ(target.odbcConnectionString.rfind("Driver=SQLite3;Database=file:/", 0), 0u);
    EXPECT_NE(target.odbcConnectionString.find("/a%20b.db;"), std::string::npos)
        << target.odbcConnectionString;
}

TEST(ConnectionStringTest, FileFormRefusesWhatItCannotOpen) {
    TempDir dir;
    EXPECT_THROW(translateConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source="), Error);
    std::ofstream(dir.file("x.dat")) << "0123456789abcdefghij";
    EXPECT_THROW(
        translateConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dir.file("x.dat")),
        Error);
}

TEST(ConnectionStringTest, PlainOdbcTextPassesThrough) {
    EXPECT_EQ(translateConnectionString("DSN=x;UID=y").odbcConnectionString, "DSN=x;UID=y");
}

TEST(ConnectionStringTest, PasswordsAreMaskedWhereverTheyStand) {
    EXPECT_EQ(platform::maskPassword("Provider=MSDASQL;Data Source=S ;User ID=u ;Password=secret"),
              "Provider=MSDASQL;Data Source=S ;User ID=u ;Password=****");
    EXPECT_EQ(platform::maskPassword("DSN=x;PWD=abc;UID=u"), "DSN=x;PWD=****;UID=u");
    EXPECT_EQ(platform::maskPassword("DSN=x;PWD={a;b};UID=u"), "DSN=x;PWD=****;UID=u");
    EXPECT_EQ(platform::maskPassword("Data Source=S ;Password=p;w"), "Data Source=S ;Password=****");
    EXPECT_EQ(platform::maskPassword("Data Source=mypassword=1"), "Data Source=mypassword=1");
}

TEST(DialectTest, BracketsBecomeTheDriversQuotesOutsideLiterals) {
    platform::Dialect postgres;
    postgres.quoteOpen = postgres.quoteClose = '"';
    EXPECT_EQ(postgres.rewriteBrackets("select [a b],[c]]d] from [T] where x = '[not]' and y = \"[q]\""),
              "select \"a b\",\"c]d\" from \"T\" where x = '[not]' and y = \"[q]\"");
    EXPECT_EQ(postgres.rewriteBrackets("select 'it''s [x]' from [T]"), "select 'it''s [x]' from \"T\"");
    EXPECT_EQ(postgres.quoteIdentifier("say \"hi\""), "\"say \"\"hi\"\"\"");

    platform::Dialect sqlite;
    sqlite.isSqlite = true;
    EXPECT_EQ(sqlite.rewriteBrackets("select [a] from [T]"), "select [a] from [T]");
}

} // namespace
} // namespace sifkit::test
