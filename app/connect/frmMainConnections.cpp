// SPDX-License-Identifier: MIT
// The two connection strings the comparison window keeps, and the buttons that open the
// connection dialog for each side.
#include "connect/ConnectionNames.h"
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
    const std::string before = sifkit::withoutPassword(connectionWithCredentials(isMaster));
    std::string connection = text;
    // A file path chosen in the dialog becomes the database-file connection string.
    if (!isConnectionString && !fromRecentList) {
        frmSelectConn& dialog = connectionDialog();
        std::string path = isMaster ? dialog.getMasterConnectionString() : dialog.getSourceConnectionString();
        connection = Sifcore1().getOLEDBConnectionFromPath(path, isMaster ? dialog.getUseODBCDSNForMaster()
                                                                          : dialog.getUseODBCDSNForSource());
    }
    keepConnection(isMaster, connection);
    const std::string now = sifkit::withoutPassword(connectionWithCredentials(isMaster));
    setRecentListText(isMaster, QString::fromStdString(now));
    if (now != before)
        dropComparison();
    if (!now.empty())
        addRecentConnection(settings_, now, isMaster);
    const bool bothSet = !connectionWithCredentials(!isMaster).empty();
    TreeView1_->setVisible(bothSet);
    TreeView2_->setVisible(bothSet);
}

// The credentials belong to the database they were given for: another database on the side
// starts without them (it gets the user ID its text names, and its password from the dialog or
// a prompt), and a file has none.
void frmMain::keepConnection(bool isMaster, const std::string& connection) {
    const SideConnection chosen = splitUserID(connection);
    std::string& stored = isMaster ? masterConnectionString_ : sourceConnectionString_;
    const bool sameDatabase = chosen.database == stored;
    stored = chosen.database;
    const std::string userID = isMaster ? appVar_.getMasterUserID() : appVar_.getSourceUserID();
    auto setCredentials = [&](const std::string& user, bool keepPassword) {
        const std::string password =
            keepPassword ? (isMaster ? appVar_.getMasterPassWord() : appVar_.getSourcePassWord()) : "";
        isMaster ? appVar_.setMasterUserID(user) : appVar_.setSourceUserID(user);
        isMaster ? appVar_.setMasterPassWord(password) : appVar_.setSourcePassWord(password);
    };
    if (isFileConnection(stored))
        setCredentials("", false);
    else if (!chosen.userID.empty())
        setCredentials(chosen.userID, sameDatabase && chosen.userID == userID);
    else if (!sameDatabase)
        setCredentials("", false);
}

bool frmMain::acceptsCredentials(bool isMaster) const {
    return !isFileConnection(isMaster ? masterConnectionString_ : sourceConnectionString_);
}

std::string frmMain::getMasterConnectionString() {
    return connectionWithCredentials(true);
}

std::string frmMain::getSourceConnectionString() {
    return connectionWithCredentials(false);
}

// The credentials are appended to what is handed out, never to the stored string, and never to
// a file's: the stored string is the database alone.
std::string frmMain::connectionWithCredentials(bool isMaster) {
    std::string connection = isMaster ? masterConnectionString_ : sourceConnectionString_;
    if (connection.empty() || isFileConnection(connection))
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
    keepConnection(true, master);
    keepConnection(false, source);
}

} // namespace dbsift
