// SPDX-License-Identifier: MIT
// The structure runs of the engine control (whole databases, one table, the catalogue listing),
// the hand-over of two open connections and the field size check. The catalogues are read into
// the model (CatalogueReader), compared there (StructureRules) and rendered as the managers'
// result items and messages here.

#include "Heartbeat.h"

#include "access/CatalogueReader.h"
#include "legacy/ResultItems.h"
#include "model/Messages.h"
#include "model/StructureRules.h"

#include <sifkit/Sifcore.h>

namespace sifkit {

namespace {

const char* const success = "Successfully Completed";
const char* const readingOriginal = "Reading Original";
const char* const readingModified = "Reading Modified";

// initializeValues gives a manager every initial value, showViews included. The host sets
// showViews on the managers before a run (it is its "Show Views/Queries" option), so the runs
// that re-initialise keep it; otherwise views could never be listed.
void reinitialise(clsDBManager& side) {
    const bool showViews = side.getShowViews();
    side.initializeValues();
    side.setShowViews(showViews);
}

bool bothFilled(const clsDBManager& masterSide, const clsDBManager& sourceSide) {
    return masterSide.getResults()->count() > 0 && sourceSide.getResults()->count() > 0;
}

detail::CatalogueRequest requestFor(const clsDBManager& side, detail::Heartbeat& heartbeat) {
    return {side.getShowViews(), side.getListDBObjectsOnly(), side.getFieldList(), true,
            [&heartbeat] { heartbeat.beat(true); }};
}

/// The SQL message an object's query leaves: each open starts it afresh.
std::string columnsMessage(const detail::ColumnsReading& reading) {
    std::string text = success;
    if (reading.failures.empty())
        return text + " Successfully Completed ||";
    for (const Failure& failure : reading.failures)
        text += failure.text;
    return text;
}

void report(clsDBManager& side, const std::vector<Failure>& failures,
            const std::optional<detail::ColumnsReading>& last) {
    for (const Failure& failure : failures)
        side.appendFailure(failure);
    if (last)
        side.setReturnSQLMessage(columnsMessage(*last));
}

/// Lists every object of the side's catalogue with its keys and (unless the side lists objects
/// only) its fields. The side's tableName and tableDataType hold the last row's afterwards.
Catalogue readAllTables(clsDBManager& side, detail::Heartbeat& heartbeat) {
    side.setReturnMessage(success);
    side.openDatabaseConnection();
    detail::CatalogueReading reading = detail::readCatalogue(
        side.getDatabaseConnection().backend(), side.getConnectionString(), requestFor(side, heartbeat));
    if (!reading.lastName.empty() || !reading.lastType.empty()) {
        side.setTableName(reading.lastName);
        side.setTableDataType(reading.lastType);
    }
    report(side, reading.failures, reading.lastColumns);
    return std::move(reading.catalogue);
}

/// The one-table load: the side's tableName read as its tableDataType, its query's field count
/// stored with setFieldCount. A failure becomes a #17 text.
Catalogue loadTableStructure(clsDBManager& side, detail::Heartbeat& heartbeat) {
    Catalogue catalogue;
    try {
        side.openDatabaseConnection();
        side.setReturnMessage(success);
        side.openDatabaseSchema();
        platform::Backend& backend = platform::requireBackend(side.getDatabaseConnection());
        std::optional<detail::ColumnsReading> columns;
        std::optional<TableSchema> table = detail::readObject(
            backend, side.getTableName(), side.getTableDataType(), requestFor(side, heartbeat), columns);
        if (columns)
            report(side, columns->failures, columns);
        side.setFieldCount(table ? table->columnCount : 0);
        side.closeRecordSet();
        if (table)
            catalogue.objects.push_back(std::move(*table));
    } catch (const detail::Cancelled&) {
        throw;
    } catch (const std::exception&) {
        const detail::Cause cause = detail::Cause::current();
        Failure failure = detail::tableStructureFailure(side.getTableName());
        failure.errorNumber = cause.number;
        failure.sqlState = cause.sqlState;
        failure.description = cause.description;
        side.appendFailure(failure);
    }
    return catalogue;
}

bool hasFailures(const clsDBManager& masterSide, const clsDBManager& sourceSide) {
    return !masterSide.getFailures().empty() || !sourceSide.getFailures().empty();
}

} // namespace

bool Sifcore::publishIfBothFilled(clsDBManager& masterSide, clsDBManager& sourceSide) {
    if (!bothFilled(masterSide, sourceSide))
        return false;
    masterResults_ = masterSide.getResults();
    sourceResults_ = sourceSide.getResults();
    return true;
}

namespace {

/// Compares the two catalogues, raising the progress events of each side's pass, and renders
/// every entry as the sides' result items.
StructureResult compareAndList(Sifcore& engine, clsDBManager& masterSide, clsDBManager& sourceSide,
                               Catalogue original, Catalogue modified, bool fields) {
    StructureResult result = detail::compareStructures(
        std::move(original), std::move(modified), fields, engine.typesByFamily(),
        [&](Side side, int32_t position, int32_t count) {
            engine.setCurrentProgressCount(position, count,
                                           side == Side::Original ? readingOriginal : readingModified);
        });
    detail::appendStructureItems(*masterSide.getResults(), result.original);
    detail::appendStructureItems(*sourceSide.getResults(), result.modified);
    // The items keep "No Change" when the other side lists nothing (the run then publishes
    // nothing); the typed result says what that means: every object is on this side only.
    for (auto [mine, other] :
         {std::pair{&result.original, &result.modified}, std::pair{&result.modified, &result.original}})
        if (other->entries.empty())
            for (StructureEntry& entry : mine->entries)
                entry.change = ChangeCode::NewTable;
    result.failed = hasFailures(masterSide, sourceSide);
    return result;
}

} // namespace

bool Sifcore::beginFullDatabaseCompare(const std::string& masterConnectionString,
                                       const std::string& sourceConnectionString, bool listObjectsOnly) {
    try {
        // Held here so that a handler of the progress event cannot pull a manager from under us.
        const std::shared_ptr<clsDBManager> masterSide = getMasterDataManager();
        const std::shared_ptr<clsDBManager> sourceSide = getSourceDataManager();
        reinitialise(*masterSide);
        masterSide->setConnectionString(masterConnectionString);
        masterSide->openDatabaseConnection();
        masterSide->setListDBObjectsOnly(listObjectsOnly);
        reinitialise(*sourceSide);
        sourceSide->setConnectionString(sourceConnectionString);
        sourceSide->setListDBObjectsOnly(listObjectsOnly);
        sourceSide->openDatabaseConnection();

        detail::Heartbeat heartbeat(*hooks_);
        Catalogue original = readAllTables(*masterSide, heartbeat);
        Catalogue modified = readAllTables(*sourceSide, heartbeat);
        lastStructure_ = compareAndList(*this, *masterSide, *sourceSide, std::move(original),
                                        std::move(modified), !listObjectsOnly);

        // Emptiness is judged before the filter: a run whose items are all unchanged succeeds
        // and publishes two empty collections.
        if (!bothFilled(*masterSide, *sourceSide))
            return false;
        if (showDifferencesOnly_) {
            detail::removeUnchangedItems(*masterSide->getResults());
            detail::removeUnchangedItems(*sourceSide->getResults());
        }
        masterResults_ = masterSide->getResults();
        sourceResults_ = sourceSide->getResults();
        return true;
    } catch (const detail::Cancelled&) {
        return cancelled();
    } catch (const std::exception&) {
        appendControlFailure(77);
        lastStructure_.failed = true;
        return false;
    }
}

void Sifcore::compareOneTable(const std::string& masterConnectionString,
                              const std::string& sourceConnectionString, const std::string& tableName,
                              const std::string& masterType, const std::string& sourceType) {
    const std::shared_ptr<clsDBManager> masterSide = getMasterDataManager();
    const std::shared_ptr<clsDBManager> sourceSide = getSourceDataManager();
    for (const auto& [side, connectionString, type] :
         {std::tuple{masterSide, &masterConnectionString, &masterType},
          std::tuple{sourceSide, &sourceConnectionString, &sourceType}}) {
        reinitialise(*side);
        side->setConnectionString(*connectionString);
        side->setTableName(tableName);
        side->setTableDataType(*type);
        side->openDatabaseConnection();
    }
    detail::Heartbeat heartbeat(*hooks_);
    Catalogue original = loadTableStructure(*masterSide, heartbeat);
    Catalogue modified = loadTableStructure(*sourceSide, heartbeat);
    lastStructure_ =
        compareAndList(*this, *masterSide, *sourceSide, std::move(original), std::move(modified), true);
}

bool Sifcore::beginTablebaseCompare(const std::string& masterConnectionString,
                                    const std::string& sourceConnectionString, const std::string& tableName,
                                    const std::string& /*tableType: the table is always read as "TABLE"*/) {
    try {
        clearManagerMessages();
        compareOneTable(masterConnectionString, sourceConnectionString, tableName, "TABLE", "TABLE");
        return publishIfBothFilled(master(), source());
    } catch (const detail::Cancelled&) {
        return cancelled();
    } catch (const std::exception&) {
        appendControlFailure(76);
        lastStructure_.failed = true;
        return false;
    }
}

bool Sifcore::getTables(const std::string& masterConnectionString,
                        const std::string& sourceConnectionString) {
    try {
        const std::shared_ptr<clsDBManager> masterSide = getMasterDataManager();
        const std::shared_ptr<clsDBManager> sourceSide = getSourceDataManager();
        reinitialise(*masterSide);
        reinitialise(*sourceSide);
        masterSide->setConnectionString(masterConnectionString);
        sourceSide->setConnectionString(sourceConnectionString);
        masterSide->openDatabaseConnection();
        sourceSide->openDatabaseConnection();
        detail::Heartbeat heartbeat(*hooks_);
        // Nothing is compared: every item keeps "No Change".
        for (const auto& side : {masterSide, sourceSide}) {
            SideStructure listed;
            listed.catalogue = readAllTables(*side, heartbeat);
            listed.entries = detail::entriesOf(listed.catalogue, !side->getListDBObjectsOnly());
            detail::appendStructureItems(*side->getResults(), listed);
        }
        return bothFilled(*masterSide, *sourceSide);
    } catch (const detail::Cancelled&) {
        return cancelled();
    } catch (const std::exception&) {
        return false; // documented to pass its errors over; the sides' messages tell them
    }
}

bool Sifcore::beginDatabaseCompareWithConnection(const Connection& masterConnection,
                                                 const Connection& sourceConnection) {
    clearManagerMessages();
    reinitialise(master());
    reinitialise(source());
    master().getDataManager()->setConnection(masterConnection);
    source().getDataManager()->setConnection(sourceConnection);
    return false;
}

bool Sifcore::checkFieldLength(const Recordset& recSet1, const Recordset& recSet2, int32_t index) {
    try {
        return recSet1.field(index).definedSize() == recSet2.field(index).definedSize();
    } catch (const Error&) {
        return false; // a field that does not exist has no size to match
    }
}

} // namespace sifkit
