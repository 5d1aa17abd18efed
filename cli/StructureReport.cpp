// SPDX-License-Identifier: MIT
#include "StructureReport.h"

#include "CliError.h"
#include "EngineMessages.h"

namespace dbsift::cli {

namespace {

/// The engine's text for a table without a primary key.
constexpr const char* noPrimaryKey = "No primary key Defined";

StructureItem itemFrom(sifkit::Sifcore& core, const sifkit::clsResultSet& result, Side side) {
    StructureItem item;
    item.side = side;
    item.object = result.getDatabaseObjName();
    item.field = result.getFieldName();
    item.type = result.getDataType();
    item.change = result.changeCode();
    item.description = core.getChangeDesciption(item.change);
    item.primaryKey = result.getPrimaryKey() == noPrimaryKey ? std::string() : result.getPrimaryKey();
    item.comparable = result.getIsFieldDesc() && result.getShow();
    return item;
}

void throwOnFailure(const sifkit::clsDBManager& side, Side which) {
    std::string failure = firstFailure(side, MessageKinds::ConnectionAndGeneral);
    if (!failure.empty())
        throw CliError(std::string(sideName(which)) + " database: " + failure);
}

} // namespace

StructureReport compareStructure(sifkit::Sifcore& core, const DatabaseTarget& original,
                                 const DatabaseTarget& modified, const StructureSettings& settings) {
    auto master = core.getMasterDataManager();
    auto source = core.getSourceDataManager();
    // The engine keeps the managers' showViews across the run's re-initialisation.
    master->setShowViews(settings.views);
    source->setShowViews(settings.views);
    core.showDifferencesOnly(settings.differencesOnly);
    const bool published =
        core.beginFullDatabaseCompare(original.connectionString, modified.connectionString, !settings.fields);
    throwOnFailure(*core.getMasterDataManager(), Side::Original);
    throwOnFailure(*core.getSourceDataManager(), Side::Modified);

    StructureReport report;
    report.compared = {original.name, modified.name};
    report.fields = settings.fields;
    report.views = settings.views;
    report.differencesOnly = settings.differencesOnly;
    if (published) {
        for (Side side : {Side::Original, Side::Modified}) {
            const int32_t count = core.getResultCount(isMaster(side));
            for (int32_t index = 1; index <= count; ++index)
                report.items.push_back(itemFrom(core, *core.getResultSet(index, isMaster(side)), side));
        }
        return report;
    }
    // Both databases opened, yet the engine published nothing: one side (or both) has no tables,
    // and the engine compares only two non-empty lists. Every object of the other side is then
    // on that side only, which is what the engine's codes say of a table missing on the other
    // side ("New Table" for the table and each of its fields).
    const int16_t newTable = static_cast<int16_t>(std::stoi(core.getConstantForNewTable()));
    for (Side side : {Side::Original, Side::Modified}) {
        const auto& manager = isMaster(side) ? core.getMasterDataManager() : core.getSourceDataManager();
        const sifkit::ResultCollection& results = *manager->getResults();
        for (int32_t index = 1; index <= results.count(); ++index) {
            StructureItem item = itemFrom(core, *results.item(index), side);
            item.change = newTable;
            item.description = core.getChangeDesciption(newTable);
            report.items.push_back(std::move(item));
        }
    }
    return report;
}

} // namespace dbsift::cli
