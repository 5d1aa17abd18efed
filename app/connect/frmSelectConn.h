// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dbsift {

class frmMain;

/// "Select Databases To Compare": picks one side's database as an ODBC data source or a database
/// file, with an optional user ID and password. One instance, shown modally, kept between uses.
class frmSelectConn final : public QDialog {
    Q_OBJECT
public:
    explicit frmSelectConn(frmMain& form);

    /// "use_master" opens the dialog for the Original side, anything else for the Modified side.
    void setFormControl(const std::string& mode, frmMain& form);
    bool isMasterSide() const { return isMaster_; }
    const std::string& getMasterConnectionString() const { return masterString_; }
    const std::string& getSourceConnectionString() const { return sourceString_; }
    bool getUseODBCDSNForMaster();
    bool getUseODBCDSNForSource();

    void optDsn_Click();
    void optFile_Click();
    /// A data source chosen in cboCompare2.
    void cboCompare2_Click();
    void cmdOldDB1_Click();
    void cmdDone_Click();
    void cmdCancel_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void storeUserID(const QString& text, bool onlyWhenFilled);
    void storePassword(const QString& text, bool onlyWhenFilled);
    std::string& sideString() { return isMaster_ ? masterString_ : sourceString_; }
    /// A data source's connection string with the user ID typed in the box appended; a file's as
    /// it is.
    std::string withTypedUserID(const std::string& connection) const;

    frmMain* form_;
    bool isMaster_ = true;
    std::string masterString_;
    std::string sourceString_;
    QRadioButton* optDsn_;
    QRadioButton* optFile_;
    QComboBox* cboCompare2_;
    QPushButton* cmdOldDB1_;
    QLabel* lblSelectedConnection_;
    QLabel* lblSide_;
    QLineEdit* txtMasterDBUserID_;
    QLineEdit* txtSourcePassword_;
    QPushButton* cmdDone_;
    QPushButton* cmdCancel_;
};

} // namespace dbsift
