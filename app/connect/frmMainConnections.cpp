// The two connection strings the comparison window keeps, and the buttons that open the
// connection dialog for each side.
#include "RecentConnections.h"
#include "frmMain.h"
#include "frmSelectConn.h"

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
    masterConnectionString_ = text;
    setRecentListText(true, QString::fromStdString(withoutPassword(text)));
    if (!isConnectionString && !fromRecentList) {
        std::string path = connectionDialog().getMasterConnectionString();
        masterConnectionString_ =
            Sifcore1().getOLEDBConnectionFromPath(path, connectionDialog().getUseODBCDSNForMaster());
        setRecentListText(true, QString::fromStdString(masterConnectionString_));
    }
    if (!getMasterConnectionString().empty())
        addRecentConnection(settings_, masterConnectionString_, true);
    const bool bothSet = !getSourceConnectionString().empty();
    TreeView1_->setVisible(bothSet);
    TreeView2_->setVisible(bothSet);
}

void frmMain::setSourceConnectionString(const std::string& text, bool isConnectionString,
                                        bool fromRecentList) {
    sourceConnectionString_ = text;
    setRecentListText(false, QString::fromStdString(withoutPassword(text)));
    if (!isConnectionString && !fromRecentList) {
        std::string path = connectionDialog().getSourceConnectionString();
        sourceConnectionString_ =
            Sifcore1().getOLEDBConnectionFromPath(path, connectionDialog().getUseODBCDSNForSource());
        setRecentListText(false, QString::fromStdString(sourceConnectionString_));
    }
    if (!getSourceConnectionString().empty())
        addRecentConnection(settings_, sourceConnectionString_, false);
    const bool bothSet = !getMasterConnectionString().empty();
    TreeView1_->setVisible(bothSet);
    TreeView2_->setVisible(bothSet);
}

// The credentials are appended to what is handed out, never to the stored string: the stored
// string is what the recent lists show and record, and a password must reach neither.
std::string frmMain::getMasterConnectionString() {
    std::string connection = masterConnectionString_;
    if (connection.empty())
        return connection;
    auto manager = Sifcore1().getMasterDataManager();
    if (!appVar_.getMasterUserID().empty()) {
        manager->setUserID(appVar_.getMasterUserID());
        Sifcore1().addUserIDToConnectionString(appVar_.getMasterUserID(), connection);
    }
    if (!appVar_.getMasterPassWord().empty()) {
        manager->setPassWord(appVar_.getMasterPassWord());
        Sifcore1().addPasswordToConnectionString(appVar_.getMasterPassWord(), connection);
    }
    return connection;
}

std::string frmMain::getSourceConnectionString() {
    std::string connection = sourceConnectionString_;
    if (connection.empty())
        return connection;
    auto manager = Sifcore1().getSourceDataManager();
    if (!appVar_.getSourceUserID().empty()) {
        manager->setUserID(appVar_.getSourceUserID());
        Sifcore1().addUserIDToConnectionString(appVar_.getSourceUserID(), connection);
    }
    if (!appVar_.getSourcePassWord().empty()) {
        manager->setPassWord(appVar_.getSourcePassWord());
        Sifcore1().addPasswordToConnectionString(appVar_.getSourcePassWord(), connection);
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
