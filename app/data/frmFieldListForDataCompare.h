// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace sifkit {
class clsDBManager;
}

namespace dbsift {

class frmMain;

/// The field selection of a data comparison: the comparable fields a table has on both sides,
/// of which the user picks the ones to compare. One instance per main window, hidden between
/// uses; it keeps its list and selection while the same table is chosen again.
class frmFieldListForDataCompare final : public QDialog {
    Q_OBJECT
public:
    explicit frmFieldListForDataCompare(frmMain& form);

    /// Fills the list for a table (only when the table differs from the one listed) and says
    /// whether the dialog has a field to offer; without one it tells the user and turns the
    /// report controls off.
    bool compareTableFromName(const std::string& tableName,
                              const std::shared_ptr<sifkit::clsDBManager>& master,
                              const std::shared_ptr<sifkit::clsDBManager>& source);
    bool getTableChanged() const { return tableChanged_; }
    const std::string& getTableName() const { return tableName_; }
    void setTableName(const std::string& name) { tableName_ = name; }
    const std::string& getTableType() const { return tableType_; }
    /// The selected fields in list order as the engine takes them: "[A],[B C]"; "" when none.
    std::string getFieldList() const;
    /// The columns typed or picked to pair the records by, in order; empty: the table's own key.
    std::vector<std::string> getKey() const;
    /// Forgets the listed table and its fields: the next table chosen is listed afresh.
    void forgetTable();

    void lstFields_Click();
    void chkSelectAll_Click();
    void cmdSelectAll_Click();
    void cmdCancel_Click();
    /// Runs the comparison of the selected fields and hides the dialog.
    void cmdCompare_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    /// Whether the master results describe fields (so the list was filled from them already).
    bool hasFieldDescriptions();
    /// Lists the table's comparable fields that both sides have, in result order.
    void fillFields();
    /// Offers the listed fields as the key and shows the one the table's records are paired by.
    void showKey();

    frmMain& form_;
    bool tableChanged_ = false;
    std::string tableName_;
    std::string tableType_;
    std::string masterConnectionString_;
    std::string sourceConnectionString_;
    QListWidget* lstFields_;
    QLabel* lblNotCompared_; ///< the table's fields that are not offered, each with the reason
    QComboBox* cboKey_;      ///< the key records are paired by: a field, or several separated by commas
    QPushButton* cmdCompare_;
    QPushButton* cmdCancel_;
    QPushButton* cmdSelectAll_;
    QCheckBox* chkSelectAll_;
};

} // namespace dbsift
