// SPDX-License-Identifier: MIT
// The two connection strings the comparison window keeps, and the buttons that open the
// connection dialog for each side.
#include "connect/frmSelectConn.h"
#include "shell/RecentConnections.h"
#include "shell/frmMain.h"

#include <sifkit/Credentials.h>
#include <sifkit/Sifcore.h>

#include <QTreeWidget>

#include <algorithm>
#include <cctype>

namespace dbsift {

namespace {

bool containsIgnoringCase(const std::string& text, const std::string& part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           }) != text.end();
}

} // namespace

frmSelectConn& frmMain::connectionDialog() {
    if (!frmSelectConn_)
        frmSelectConn_ = new frmSelectConn(*this);
    return *frmSelectConn_;
}

void frmMain::cmdSelConn_Click() {
    frmSelectConn& dialog = connectionDialog();
    dialog.setFormControl("use_master", *this);
    dialog.exec();
}

void frmMain::cmdSourceSelConn_Click() {
    frmSelectConn& dialog = connectionDialog();
    dialog.setFormControl("use_source", *this);
    dialog.exec();
}

void frmMain::setMasterConnectionString(const std::string& text, bool isConnectionString,
                                        bool fromRecentList) {
    setSideConnectionString(true, text, isConnectionString, fromRecentList);
}

void frmMain::setSourceConnectionString(const std::string& text, bool isConnectionString,
                                        bool fromRecentList) {
    setSideConnectionString(false, text, isConnectionString, fromRecentList);
}

void frmMain::setSideConnectionString(bool isMaster, const std::string& text, bool isConnectionString,
                                      bool fromRecentList) {
    std::string& stored = isMaster ? masterConnectionString_ : sourceConnectionString_;
    const std::string before = stored;
    stored = text;
    setRecentListText(isMaster, QString::fromStdString(sifkit::withoutPassword(text)));
    // A file path chosen in the dialog becomes the database-file connection string.
    if (!isConnectionString && !fromRecentList) {
        frmSelectConn& dialog = connectionDialog();
        std::string path = isMaster ? dialog.getMasterConnectionString() : dialog.getSourceConnectionString();
        stored = Sifcore1().getOLEDBConnectionFromPath(path, isMaster ? dialog.getUseODBCDSNForMaster()
                                                                      : dialog.getUseODBCDSNForSource());
        setRecentListText(isMaster, QString::fromStdString(stored));
    }
    if (stored != before)
        dropComparison();
    if (!connectionWithCredentials(isMaster).empty())
        addRecentConnection(settings_, stored, isMaster);
    const bool bothSet = !connectionWithCredentials(!isMaster).empty();
    TreeView1_->setVisible(bothSet);
    TreeView2_->setVisible(bothSet);
}

std::string frmMain::getMasterConnectionString() {
    return connectionWithCredentials(true);
}

std::string frmMain::getSourceConnectionString() {
    return connectionWithCredentials(false);
}

// The credentials are appended to what is handed out, never to the stored string: the stored
// string is what the recent lists show and record, and a password must reach neither.
std::string frmMain::connectionWithCredentials(bool isMaster) {
    std::string connection = isMaster ? masterConnectionString_ : sourceConnectionString_;
    if (connection.empty())
        return connection;
    auto manager = isMaster ? Sifcore1().getMasterDataManager() : Sifcore1().getSourceDataManager();
    const std::string& userID = isMaster ? appVar_.getMasterUserID() : appVar_.getSourceUserID();
    const std::string& password = isMaster ? appVar_.getMasterPassWord() : appVar_.getSourcePassWord();
    if (!userID.empty()) {
        manager->setUserID(userID);
        Sifcore1().addUserIDToConnectionString(userID, connection);
    }
    if (!password.empty()) {
        manager->setPassWord(password);
        Sifcore1().addPasswordToConnectionString(password, connection);
    }
    return connection;
}

bool frmMain::validConnections(bool isMaster) {
    const std::string connection = isMaster ? getMasterConnectionString() : getSourceConnectionString();
    return !connection.empty() && containsIgnoringCase(connection, "Source=");
}

void frmMain::storeConnectionStrings(const std::string& master, const std::string& source) {
    masterConnectionString_ = master;
    sourceConnectionString_ = source;
}

} // namespace dbsift
