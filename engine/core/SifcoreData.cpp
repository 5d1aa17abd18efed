// SPDX-License-Identifier: MIT
#include "DataCompare.h"
#include "EngineAccess.h"
#include "FieldItems.h"
#include "StructureCompare.h"
#include "TableItems.h"
#include "access/XmlExport.h"

#include <sifkit/Sifcore.h>

namespace sifkit {

namespace {

void exportRequestedXml(clsDBManager& masterSide, clsDBManager& sourceSide) {
    for (clsDBManager* side : {&masterSide, &sourceSide})
        if (side->getSaveToXml())
            detail::exportSideToXml(*side);
}

} // namespace

bool Sifcore::publishDataRun(clsDBManager& masterSide, clsDBManager& sourceSide) {
    const bool masterHasItems = masterSide.getResults()->count() >= 1;
    const bool sourceHasItems = sourceSide.getResults()->count() >= 1;
    if (!masterHasItems && !sourceHasItems) {
        recordsExistInSourceOnly_ = false;
        recordsExistInMasterOnly_ = false;
        return false;
    }
    // A side without differences shows the table's fields instead.
    if (!masterHasItems)
        detail::loadFieldStructure(masterSide);
    if (!sourceHasItems)
        detail::loadFieldStructure(sourceSide);
    detail::EngineAccess::publish(*this, masterSide, sourceSide);
    recordsExistInMasterOnly_ = !sourceHasItems;
    recordsExistInSourceOnly_ = !masterHasItems;
    return true;
}

bool Sifcore::beginTableCompareFromFieldListFromDBManager(
    const std::shared_ptr<clsDBManager>& masterDatamanager,
    const std::shared_ptr<clsDBManager>& sourceDatamanager) {
    setMasterDataManager(masterDatamanager);
    setSourceDataManager(sourceDatamanager);
    return beginTableCompareFromFieldListFromDbManagers();
}

bool Sifcore::beginTableCompareFromFieldListFromDbManagers() {
    try {
        clearManagerMessages();
        hooks_->letEventsRun();
        clsDBManager& masterSide = master();
        clsDBManager& sourceSide = source();
        detail::loadFieldStructure(masterSide);
        detail::loadFieldStructure(sourceSide);
        // Both passes run, so that each side's messages tell what happened to it; a pass
        // whose look-ups failed leaves nothing to publish.
        detail::DigestCarry carry;
        const bool masterComplete =
            detail::compareTableData(masterSide, sourceSide, *this, "Reading Original", &carry);
        const bool sourceComplete =
            detail::compareTableData(sourceSide, masterSide, *this, "Reading Modified", &carry);
        if (!masterComplete || !sourceComplete)
            return false;
        exportRequestedXml(masterSide, sourceSide);
        return publishDataRun(masterSide, sourceSide);
    } catch (...) {
        const std::string text = " #74 Error occurred while attempting to tabsifts in component ||";
        appendGeneralMessage(text, text);
        return false;
    }
}

bool Sifcore::getBufferedResults() {
    try {
        const int32_t start = startPoint_;
        const int32_t amount = bufferedAmount_;
        clsDBManager& masterSide = master();
        clsDBManager& sourceSide = source();
        const bool masterComplete =
            detail::compareTableDataWindow(masterSide, sourceSide, *this, "Reading Original", start, amount);
        const bool sourceComplete =
            detail::compareTableDataWindow(sourceSide, masterSide, *this, "Reading Modified", start, amount);
        if (!masterComplete || !sourceComplete)
            return false;
        exportRequestedXml(masterSide, sourceSide);
        return publishDataRun(masterSide, sourceSide);
    } catch (...) {
        return false;
    }
}

bool Sifcore::beginTableCompareFromDBManagers(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                              const std::shared_ptr<clsDBManager>& sourceDatamanager) {
    try {
        clsDBManager& masterSide = *masterDatamanager;
        clsDBManager& sourceSide = *sourceDatamanager;
        masterSide.clearMessages();
        sourceSide.clearMessages();
        detail::loadFieldStructure(masterSide);
        detail::loadFieldStructure(sourceSide);
        const bool masterComplete = detail::compareTableDataOrdered(masterSide, sourceSide);
        const bool sourceComplete = detail::compareTableDataOrdered(sourceSide, masterSide);
        if (!masterComplete || !sourceComplete)
            return false;
        exportRequestedXml(masterSide, sourceSide);
        return publishIfBothFilled(masterSide, sourceSide);
    } catch (...) {
        const std::string text = " #75 Error occurred while attempting to tabsifts in component ||";
        appendGeneralMessage(text, text);
        return false;
    }
}

bool Sifcore::beginTableCompareFromFieldList(const std::string& masterConnectionString,
                                             const std::string& sourceConnectionString,
                                             const std::string& tableName, const std::string& tableType,
                                             const std::string& fieldList) {
    for (auto [side, connectionString] :
         {std::pair{&master(), &masterConnectionString}, std::pair{&source(), &sourceConnectionString}}) {
        side->initializeValues();
        side->setConnectionString(*connectionString);
        side->setTableName(tableName);
        side->setFieldList(fieldList);
        side->setTableDataType(tableType);
        // The passes read through the side's connection, so it is opened here.
        side->openDatabaseConnection();
    }
    return beginTableCompareFromFieldListFromDBManager(getMasterDataManager(), getSourceDataManager());
}

bool Sifcore::beginTableFullDataCompare(const std::string& masterConnectionString,
                                        const std::string& sourceConnectionString,
                                        const std::string& tableName, const std::string& tableType) {
    try {
        clearManagerMessages();
        clsDBManager& masterSide = master();
        clsDBManager& sourceSide = source();
        for (auto [side, connectionString, type] :
             {std::tuple{&masterSide, &masterConnectionString, tableType},
              // The Modified side's table is read as a table ("TABLE"): any other spelling would
              // keep it out of the listing and leave that side empty.
              std::tuple{&sourceSide, &sourceConnectionString, std::string("TABLE")}}) {
            side->initializeValues();
            side->setConnectionString(*connectionString);
            side->setTableName(tableName);
            side->setTableDataType(type);
            side->openDatabaseConnection();
            detail::loadTableStructure(*side);
        }
        detail::compareTableLists(masterSide, sourceSide, *this, "Reading Original");
        detail::compareTableLists(sourceSide, masterSide, *this, "Reading Modified");
        const bool masterComplete = detail::compareTableDataOrdered(masterSide, sourceSide);
        const bool sourceComplete = detail::compareTableDataOrdered(sourceSide, masterSide);
        return masterComplete && sourceComplete && masterSide.getResults()->count() >= 1 &&
               sourceSide.getResults()->count() >= 1;
    } catch (...) {
        const std::string text = " #76 Error occurred while attempting to tabsifts in component ||";
        appendGeneralMessage(text, text);
        return false;
    }
}

} // namespace sifkit
