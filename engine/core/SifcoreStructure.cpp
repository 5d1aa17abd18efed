// SPDX-License-Identifier: MIT
// The structure runs of the engine control (whole databases, one table, the catalogue listing),
// the hand-over of two open connections and the field size check.

#include "StructureCompare.h"
#include "TableItems.h"
#include "access/Failure.h"

#include <sifkit/Sifcore.h>

namespace sifkit {

namespace {

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

} // namespace

bool Sifcore::publishIfBothFilled(clsDBManager& masterSide, clsDBManager& sourceSide) {
    if (!bothFilled(masterSide, sourceSide))
        return false;
    masterResults_ = masterSide.getResults();
    sourceResults_ = sourceSide.getResults();
    return true;
}

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

        detail::readAllTables(*masterSide);
        detail::readAllTables(*sourceSide);
        detail::compareTableLists(*masterSide, *sourceSide, *this, readingOriginal);
        detail::compareTableLists(*sourceSide, *masterSide, *this, readingModified);

        // Emptiness is judged before the filter: a run whose items are all unchanged succeeds
        // and publishes two empty collections.
        if (!bothFilled(*masterSide, *sourceSide))
            return false;
        if (showDifferencesOnly_) {
            detail::removeUnchangedItems(*masterSide);
            detail::removeUnchangedItems(*sourceSide);
        }
        masterResults_ = masterSide->getResults();
        sourceResults_ = sourceSide->getResults();
        return true;
    } catch (...) {
        const std::string text = " #77 Error occurred while attempting to do a full tabsifts in component ||";
        appendGeneralMessage(text, text);
        return false;
    }
}

bool Sifcore::beginTablebaseCompare(const std::string& masterConnectionString,
                                    const std::string& sourceConnectionString, const std::string& tableName,
                                    const std::string& /*tableType: the table is always read as "TABLE"*/) {
    try {
        clearManagerMessages();
        const std::shared_ptr<clsDBManager> masterSide = getMasterDataManager();
        const std::shared_ptr<clsDBManager> sourceSide = getSourceDataManager();
        for (const auto& [side, connectionString] : {std::pair{masterSide, &masterConnectionString},
                                                     std::pair{sourceSide, &sourceConnectionString}}) {
            reinitialise(*side);
            side->setConnectionString(*connectionString);
            side->setTableName(tableName);
            side->setTableDataType("TABLE");
            side->openDatabaseConnection();
        }
        detail::loadTableStructure(*masterSide);
        detail::loadTableStructure(*sourceSide);
        detail::compareTableLists(*masterSide, *sourceSide, *this, readingOriginal);
        detail::compareTableLists(*sourceSide, *masterSide, *this, readingModified);
        return publishIfBothFilled(*masterSide, *sourceSide);
    } catch (...) {
        const std::string text = " #76 Error occurred while attempting to tabsifts in component ||";
        appendGeneralMessage(text, text);
        return false;
    }
}

bool Sifcore::getTables(const std::string& masterConnectionString,
                        const std::string& sourceConnectionString) {
    bool filled = false;
    detail::skippingFailure([&] {
        const std::shared_ptr<clsDBManager> masterSide = getMasterDataManager();
        const std::shared_ptr<clsDBManager> sourceSide = getSourceDataManager();
        detail::skippingFailure([&] { reinitialise(*masterSide); });
        detail::skippingFailure([&] { reinitialise(*sourceSide); });
        detail::skippingFailure([&] { masterSide->setConnectionString(masterConnectionString); });
        detail::skippingFailure([&] { sourceSide->setConnectionString(sourceConnectionString); });
        detail::skippingFailure([&] { masterSide->openDatabaseConnection(); });
        detail::skippingFailure([&] { sourceSide->openDatabaseConnection(); });
        detail::skippingFailure([&] { detail::readAllTables(*masterSide); });
        detail::skippingFailure([&] { detail::readAllTables(*sourceSide); });
        detail::skippingFailure([&] { filled = bothFilled(*masterSide, *sourceSide); });
    });
    return filled;
}

bool Sifcore::beginDatabaseCompareWithConnection(const Connection& masterConnection,
                                                 const Connection& sourceConnection) {
    detail::skippingFailure([&] {
        clearManagerMessages();
        reinitialise(master());
        reinitialise(source());
        master().getDataManager()->setConnection(masterConnection);
        source().getDataManager()->setConnection(sourceConnection);
    });
    return false;
}

bool Sifcore::checkFieldLength(const Recordset& recSet1, const Recordset& recSet2, int32_t index) {
    try {
        return recSet1.field(index).definedSize() == recSet2.field(index).definedSize();
    } catch (...) {
        return false;
    }
}

} // namespace sifkit
