// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace dbsift {

class frmMain;

/// The application variables: the live view options, each side's user ID and password, the
/// data view's cursor state, the two side colours and the structure grids' column widths. The
/// main window owns one; every window reads and writes settings through it.
class clsAppVar {
public:
    /// Gives every member its initial value, in the documented order; ShowViews goes through
    /// the form so that the engine's side managers follow.
    void initializeValues(frmMain& form);

    bool getShowTables() const { return showTables_; }
    void setShowTables(bool value) { showTables_ = value; }
    bool getShowViews() const { return showViews_; }
    void setShowViews(bool value) { showViews_ = value; }
    /// Also passes the value to the engine's master and source data managers of the form.
    void setShowViews(bool value, frmMain& form);
    bool getShowStructure() const { return showStructure_; }
    void setShowStructure(bool value) { showStructure_ = value; }
    const std::string& getMasterUserID() const { return masterUserID_; }
    void setMasterUserID(const std::string& value) { masterUserID_ = value; }
    const std::string& getMasterPassWord() const { return masterPassWord_; }
    void setMasterPassWord(const std::string& value) { masterPassWord_ = value; }
    const std::string& getSourceUserID() const { return sourceUserID_; }
    void setSourceUserID(const std::string& value) { sourceUserID_ = value; }
    const std::string& getSourcePassWord() const { return sourcePassWord_; }
    void setSourcePassWord(const std::string& value) { sourcePassWord_ = value; }
    bool getShowDifferencesOnly() const { return showDifferencesOnly_; }
    void setShowDifferencesOnly(bool value) { showDifferencesOnly_ = value; }
    int32_t getSelectedRecordNumber() const { return selectedRecordNumber_; }
    void setSelectedRecordNumber(int32_t value) { selectedRecordNumber_ = value; }
    bool getIsOriginal() const { return isOriginal_; }
    void setIsOriginal(bool value) { isOriginal_ = value; }
    const std::string& getSelectedTableName() const { return selectedTableName_; }
    void setSelectedTableName(const std::string& value) { selectedTableName_ = value; }
    bool getNoShowRecordMetadata() const { return noShowRecordMetadata_; }
    void setNoShowRecordMetadata(bool value) { noShowRecordMetadata_ = value; }
    bool getShowRecordMetadataIfDifferent() const { return showRecordMetadataIfDifferent_; }
    void setShowRecordMetadataIfDifferent(bool value) { showRecordMetadataIfDifferent_ = value; }
    int32_t getNumberofRecords() const { return numberofRecords_; }
    void setNumberofRecords(int32_t value) { numberofRecords_ = value; }
    int32_t getCurrentMasterRecordIndex() const { return currentMasterRecordIndex_; }
    void setCurrentMasterRecordIndex(int32_t value) { currentMasterRecordIndex_ = value; }
    int32_t getCurrentSourceRecordIndex() const { return currentSourceRecordIndex_; }
    void setCurrentSourceRecordIndex(int32_t value) { currentSourceRecordIndex_ = value; }
    bool getDoStructure() const { return doStructure_; }
    void setDoStructure(bool value) { doStructure_ = value; }
    int16_t getBufferedAmount() const { return bufferedAmount_; }
    void setBufferedAmount(int16_t value) { bufferedAmount_ = value; }
    int32_t getCurrentRowNumber() const { return currentRowNumber_; }
    void setCurrentRowNumber(int32_t value) { currentRowNumber_ = value; }
    int32_t getRowTotal() const { return rowTotal_; }
    void setRowTotal(int32_t value) { rowTotal_ = value; }
    bool getShowRecordMetadata() const { return showRecordMetadata_; }
    void setShowRecordMetadata(bool value) { showRecordMetadata_ = value; }
    /// Colours: red in the low byte, then green, then blue.
    uint32_t getOriginalColor() const { return originalColor_; }
    void setOriginalColor(uint32_t value) { originalColor_ = value; }
    uint32_t getModifiedColor() const { return modifiedColor_; }
    void setModifiedColor(uint32_t value) { modifiedColor_ = value; }
    const std::string& getTableName() const { return tableName_; }
    void setTableName(const std::string& value) { tableName_ = value; }
    /// Structure grid column widths in twips.
    int16_t getGridCol0() const { return gridCol_[0]; }
    void setGridCol0(int16_t value) { gridCol_[0] = value; }
    int16_t getGridCol1() const { return gridCol_[1]; }
    void setGridCol1(int16_t value) { gridCol_[1] = value; }
    int16_t getGridCol2() const { return gridCol_[2]; }
    void setGridCol2(int16_t value) { gridCol_[2] = value; }
    int16_t getGridCol3() const { return gridCol_[3]; }
    void setGridCol3(int16_t value) { gridCol_[3] = value; }

private:
    bool showTables_ = true;
    bool showViews_ = false;
    bool showStructure_ = true;
    std::string masterUserID_;
    std::string masterPassWord_;
    std::string sourceUserID_;
    std::string sourcePassWord_;
    bool showDifferencesOnly_ = false;
    int32_t selectedRecordNumber_ = 0;
    bool isOriginal_ = true;
    std::string selectedTableName_;
    bool noShowRecordMetadata_ = true;
    bool showRecordMetadataIfDifferent_ = false;
    int32_t numberofRecords_ = 50;
    int32_t currentMasterRecordIndex_ = 1;
    int32_t currentSourceRecordIndex_ = 1;
    bool doStructure_ = false;
    int16_t bufferedAmount_ = 50;
    int32_t currentRowNumber_ = 0;
    int32_t rowTotal_ = 0;
    bool showRecordMetadata_ = false;
    uint32_t originalColor_ = 0;
    uint32_t modifiedColor_ = 0;
    std::string tableName_;
    int16_t gridCol_[4] = {1700, 1500, 3200, 1400};
};

} // namespace dbsift
