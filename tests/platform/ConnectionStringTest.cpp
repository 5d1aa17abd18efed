// SPDX-License-Identifier: MIT
#include "dataaccess/ConnectionString.h"
#include "dataaccess/Backend.h"
#include "support/TestEnvironment.h"

#include <sifkit/Credentials.h>
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
    EXPECT_EQ(maskCredentials("Provider=MSDASQL;Data Source=S ;User ID=u ;Password=secret"),
              "Provider=MSDASQL;Data Source=S ;User ID=u ;Password=****");
    EXPECT_EQ(maskCredentials("DSN=x;PWD=abc;UID=u"), "DSN=x;PWD=****;UID=u");
    EXPECT_EQ(maskCredentials("DSN=x;PWD={a;b};UID=u"), "DSN=x;PWD=****;UID=u");
    EXPECT_EQ(maskCredentials("Data Source=S ;Password=p;w"), "Data Source=S ;Password=****");
    EXPECT_EQ(maskCredentials("Data Source=mypassword=1"), "Data Source=mypassword=1");
    EXPECT_EQ(maskCredentials("PWD=secret;DSN=x"), "PWD=****;DSN=x");
}

TEST(ConnectionStringTest, AStoredConnectionKeepsEverythingButItsPassword) {
    const std::pair<const char*, const char*> cases[] = {
        {"Provider=MSDASQL;Persist Security Info=False;Data Source=S ;User ID=u ;Password=p;w",
         "Provider=MSDASQL;Persist Security Info=False;Data Source=S ;User ID=u"},
        {"PWD=secret;DSN=x", "DSN=x"},
        {"DSN=x;PWD={a;b};UID=u", "DSN=x;UID=u"},
        {"DSN=x;UID=u;pwd=s", "DSN=x;UID=u"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/my password=1.db",
         "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/my password=1.db"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=m.db ",
         "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=m.db "},
    };
    for (const auto& [stored, kept] : cases)
        EXPECT_EQ(withoutPassword(stored), kept) << stored;
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
