// SPDX-License-Identifier: MIT
// The program's JSON against the engine's own results on the same files, read in this process
// through the public interface: the front end must show what the engine found, item by item.

#include "CliRun.h"

#include <sifkit/Sifcore.h>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <map>

namespace sifkit::test {
namespace {

using nlohmann::json;

json textOrNull(const std::string& text) {
    return text.empty() ? json(nullptr) : json(text);
}

TEST(EngineAgreementTest, StructureItemsAreTheEnginesItemsInItsOrder) {
    DatabasePair pair(fixtureScript("structure_original.sql"), fixtureScript("structure_modified.sql"));
    for (bool differencesOnly : {false, true}) {
        SCOPED_TRACE(differencesOnly ? "differences only" : "all items");
        std::vector<std::string> args{pair.original, pair.modified, "--fields",
                                      "--views",     "--format",    "json"};
        if (differencesOnly)
            args.push_back("--differences-only");
        json items = json::parse(runCli(args).out)["items"];

        Sifcore core;
        core.getMasterDataManager()->setShowViews(true);
        core.getSourceDataManager()->setShowViews(true);
        core.showDifferencesOnly(differencesOnly);
        ASSERT_TRUE(core.beginFullDatabaseCompare(fileConnectionString(pair.original),
                                                  fileConnectionString(pair.modified), false));
        std::size_t at = 0;
        for (bool isMaster : {true, false}) {
            for (int32_t index = 1; index <= core.getResultCount(isMaster); ++index, ++at) {
                ASSERT_LT(at, items.size());
                const clsResultSet& item = *core.getResultSet(index, isMaster);
                const json& shown = items[at];
                EXPECT_EQ(shown["side"], isMaster ? "Original" : "Modified");
                EXPECT_EQ(shown["object"], item.getDatabaseObjName());
                EXPECT_EQ(shown["field"], textOrNull(item.getFieldName()));
                EXPECT_EQ(shown["kind"], item.getIsFieldDesc() ? "field" : "object");
                EXPECT_EQ(shown["type"], item.getDataType());
                EXPECT_EQ(shown["change"], core.getResultChangeType(index, isMaster));
                EXPECT_EQ(shown["description"],
                          core.getChangeDesciption(core.getResultChangeType(index, isMaster)));
                if (item.getIsFieldDesc()) {
                    EXPECT_EQ(shown["comparable"], core.getResultIsFieldComparable(index, isMaster));
                }
            }
        }
        EXPECT_EQ(at, items.size());
    }
}

TEST(EngineAgreementTest, DataRecordsAreTheEnginesRecordsWithItsPairing) {
    const std::string changes = "UPDATE contacts SET city = 'Paris' WHERE id = 1;"
                                "DELETE FROM contacts WHERE id = 3;"
                                "INSERT INTO contacts VALUES (9, 'New', NULL, 7.25);";
    DatabasePair pair(fixtureScript("contacts.sql"), fixtureScript("contacts.sql") + changes);
    json document =
        json::parse(runCli({pair.original, pair.modified, "--table", "contacts", "--format", "json"}).out);

    Sifcore core;
    for (auto [manager, path] : {std::pair{core.getMasterDataManager(), pair.original},
                                 std::pair{core.getSourceDataManager(), pair.modified}}) {
        manager->setConnectionString(fileConnectionString(path));
        manager->openDatabaseConnection();
        manager->setTableName("contacts");
        manager->setFieldList("[id],[name],[city],[score]");
    }
    ASSERT_TRUE(core.beginTableCompareFromFieldListFromDBManager(core.getMasterDataManager(),
                                                                 core.getSourceDataManager()));
    core.getRecordCountInResultsForTable("contacts", true);
    core.getRecordCountInResultsForTable("contacts", false);

    // (side, record number) -> values, from the engine's data items and from the document.
    using Records = std::map<std::pair<std::string, int32_t>, json>;
    Records fromEngine;
    for (bool isMaster : {true, false}) {
        const ResultCollection& results =
            *(isMaster ? core.getMasterDatabaseResults() : core.getSourceDatabaseResults());
        for (int32_t index = 1; index <= results.count(); ++index) {
            const clsResultSet& item = *results.item(index);
            json& record = fromEngine[{isMaster ? "Original" : "Modified", item.getRecordNumber()}];
            const bool isNull = item.getDataValue() == "Null" && item.getLength() == "0";
            record["values"][item.getFieldName()] = isNull ? json(nullptr) : json(item.getDataValue());
            const int32_t other =
                core.lookupRelatedRecordFromRecordNumber("contacts", isMaster, item.getRecordNumber());
            record["counterpart"] = other ? json(other) : json(nullptr);
        }
    }
    Records fromProgram;
    for (const auto& record : document["records"])
        fromProgram[{record["side"], record["record"]}] = {{"values", record["values"]},
                                                           {"counterpart", record["counterpart"]}};
    EXPECT_EQ(fromProgram, fromEngine);
    EXPECT_EQ(fromProgram.size(), 4u); // 1 changed on both sides, 3 removed, 9 added
}

} // namespace
} // namespace sifkit::test
