// SPDX-License-Identifier: MIT
// The recent-connection lists at the top of the comparison window.
#include "connect/ConnectionNames.h"
#include "shell/RecentConnections.h"
#include "shell/frmMain.h"

#include <QComboBox>
#include <QLineEdit>

namespace dbsift {

namespace {

// Each entry shows the name of its database; the whole string is the entry's data and tooltip.
void fillComboFromIniSection(const ProfileFile& profile, const std::string& section, QComboBox& list) {
    const std::vector<std::string> entries = readIniSection(profile, section);
    const QStringList names = connectionDisplayNames(entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        list.addItem(names[static_cast<qsizetype>(i)], QString::fromStdString(entries[i]));
        list.setItemData(list.count() - 1, connectionToolTip(entries[i]), Qt::ToolTipRole);
    }
    list.setEditText(QString());
}

} // namespace

QString frmMain::recentEntryConnection(bool isMaster, int index) const {
    const QComboBox* list = isMaster ? cboMasterRecentConn_ : cboSourceRecentConn_;
    if (index < 0 || index >= list->count())
        return QString();
    const QVariant connection = list->itemData(index);
    return connection.isValid() ? connection.toString() : list->itemText(index);
}

void frmMain::loadRecentConnFromIniFile() {
    fillComboFromIniSection(settings_, kOriginalConnectionsSection, *cboMasterRecentConn_);
    fillComboFromIniSection(settings_, kModifiedConnectionsSection, *cboSourceRecentConn_);
    // A remembered index equal to the count selects an empty text; beyond it, nothing.
    if (lastSelectedOrigConnIndex_ >= 0 && lastSelectedOrigConnIndex_ <= cboMasterRecentConn_->count()) {
        const QString connection = recentEntryConnection(true, lastSelectedOrigConnIndex_);
        cboMasterRecentConn_->setCurrentIndex(
            lastSelectedOrigConnIndex_ < cboMasterRecentConn_->count() ? lastSelectedOrigConnIndex_ : -1);
        setMasterConnectionString(connection.toStdString(), true, true);
    }
    if (lastSelectedModConnIndex_ >= 0 && lastSelectedModConnIndex_ <= cboSourceRecentConn_->count()) {
        const QString connection = recentEntryConnection(false, lastSelectedModConnIndex_);
        cboSourceRecentConn_->setCurrentIndex(
            lastSelectedModConnIndex_ < cboSourceRecentConn_->count() ? lastSelectedModConnIndex_ : -1);
        setSourceConnectionString(connection.toStdString(), true, true);
    }
}

// Another database picked: its objects are listed at once, so that what the trees show, and
// what a table chosen there compares, is the pair now chosen.
void frmMain::cboMasterRecentConn_Click() {
    const QString before = recentListText(true);
    setMasterConnectionString(recentEntryConnection(true, cboMasterRecentConn_->currentIndex()).toStdString(),
                              true, true);
    writeIniLong("lLastSelectedOrigConnIndex", cboMasterRecentConn_->currentIndex());
    if (recentListText(true) != before && !sourceConnectionString_.empty() && !isBusy())
        do_TableCompare(true);
}

void frmMain::cboSourceRecentConn_Click() {
    const QString before = recentListText(false);
    setSourceConnectionString(
        recentEntryConnection(false, cboSourceRecentConn_->currentIndex()).toStdString(), true, true);
    writeIniLong("lLastSelectedmodConnIndex", cboSourceRecentConn_->currentIndex());
    if (recentListText(false) != before && !masterConnectionString_.empty() && !isBusy())
        do_TableCompare(false);
}

QString frmMain::recentListText(bool isMaster) const {
    return isMaster ? masterListConnection_ : sourceListConnection_;
}

void frmMain::setRecentListText(bool isMaster, const QString& text) {
    QComboBox* list = isMaster ? cboMasterRecentConn_ : cboSourceRecentConn_;
    (isMaster ? masterListConnection_ : sourceListConnection_) = text;
    const int entry = list->findData(text);
    list->setEditText(entry >= 0 ? list->itemText(entry) : connectionDisplayName(text.toStdString()));
    list->lineEdit()->setCursorPosition(0);
    list->setToolTip(connectionToolTip(text.toStdString()));
}

} // namespace dbsift
