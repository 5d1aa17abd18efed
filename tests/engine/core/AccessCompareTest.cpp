// SPDX-License-Identifier: MIT
// An Access file compared with its own export into SQLite (mdb-export, the MDB Tools' reading of
// the file) is compared value by value: Currency against the reals of the export, texts with
// their accents, the file's integers and yes/no fields.
#include "support/DataRun.h"
#include "support/ServerState.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sifkit::test {
namespace {

namespace fs = std::filesystem;

class AccessCompareTest : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = whyNoAccessFiles(); !why.empty())
            GTEST_SKIP() << why;
        northwind = dir.file("nwind.mdb");
        fs::copy_file(fs::path(SIFKIT_TEST_ACCESS_FIXTURES) / "nwind.mdb", northwind);
        exported = dir.file("products.db");
        const std::string file = " " + shellQuoted(northwind);
        createSqliteDatabase(
            exported,
            runCommand(installedProgram("mdb-schema") + " -T Products" + file + " sqlite 2>/dev/null") +
                runCommand(installedProgram("mdb-export") + " -I sqlite" + file + " Products 2>/dev/null"));
    }

    /// The ProductIDs of each side's reported records after a comparison of Products.
    std::pair<std::vector<std::string>, std::vector<std::string>> compareProducts() {
        Sifcore core;
        auto master = core.getMasterDataManager();
        auto source = core.getSourceDataManager();
        master->setConnectionString(fileConnectionString(northwind));
        source->setConnectionString(fileConnectionString(exported));
        for (const auto& side : {master, source}) {
            side->openDatabaseConnection();
            side->setTableName("Products");
            side->setFieldList("[ProductID],[ProductName],[SupplierID],[CategoryID],[QuantityPerUnit],"
                               "[UnitPrice],[UnitsInStock],[UnitsOnOrder],[ReorderLevel],[Discontinued]");
        }
        core.beginTableCompareFromFieldListFromDBManager(master, source);
        EXPECT_NE(core.lastDataResult().outcome, DataOutcome::Failed);
        return {reportedValues(*master->getResults(), "ProductID"),
                reportedValues(*source->getResults(), "ProductID")};
    }

    TempDir dir;
    std::string northwind, exported;
};

TEST_F(AccessCompareTest, AFileEqualsItsExportAndAChangedPriceIsSeen) {
    const auto [same, sameToo] = compareProducts();
    EXPECT_TRUE(same.empty()) << same.size() << " records of the Access file differ from their export";
    EXPECT_TRUE(sameToo.empty());

    // A cent more, a letter's case, a trailing blank: each a difference.
    sqliteQuery(exported, "UPDATE Products SET UnitPrice = 21.36 WHERE ProductID = 5;"
                          "UPDATE Products SET ProductName = 'chai' WHERE ProductID = 1;"
                          "UPDATE Products SET QuantityPerUnit = QuantityPerUnit || ' ' WHERE ProductID = 77;"
                          "UPDATE Products SET UnitPrice = 18.00 WHERE ProductID = 39;");
    const auto [original, modified] = compareProducts();
    const std::vector<std::string> changed{"1", "5", "77"};
    EXPECT_EQ(original, changed);
    EXPECT_EQ(modified, changed);
}

} // namespace
} // namespace sifkit::test
