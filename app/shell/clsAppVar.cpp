// SPDX-License-Identifier: MIT
#include "shell/clsAppVar.h"

#include "shell/frmMain.h"

#include <sifkit/Sifcore.h>

namespace dbsift {

void clsAppVar::initializeValues(frmMain& form) {
    setIsOriginal(true);
    setShowTables(true);
    setShowViews(false, form);
    setShowStructure(true);
    setShowDifferencesOnly(false);
    setNoShowRecordMetadata(true);
    setMasterUserID("");
    setMasterPassWord("");
    setSourceUserID("");
    setSourcePassWord("");
    setSelectedTableName("");
    setNumberofRecords(50);
    setCurrentMasterRecordIndex(1);
    setCurrentSourceRecordIndex(1);
    setDoStructure(false);
    setBufferedAmount(50);
    setSelectedRecordNumber(0);
    setGridCol0(1700);
    setGridCol1(1500);
    setGridCol2(3200);
    setGridCol3(1400);
}

void clsAppVar::setShowViews(bool value, frmMain& form) {
    setShowViews(value);
    form.Sifcore1().getMasterDataManager()->setShowViews(value);
    form.Sifcore1().getSourceDataManager()->setShowViews(value);
}

} // namespace dbsift
