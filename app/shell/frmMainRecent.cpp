// SPDX-License-Identifier: MIT
// The recent-connection lists at the top of the comparison window.
#include "shell/RecentConnections.h"
#include "shell/frmMain.h"

#include <QComboBox>

namespace dbsift {

namespace {

void fillComboFromIniSection(const ProfileFile& profile, const std::string& section, QComboBox& list) {
    for (const std::string& entry : readIniSection(profile, section))
        list.addItem(QString::fromStdString(entry));
    list.setEditText(QString());
}

} // namespace

void frmMain::loadRecentConnFromIniFile() {
    fillComboFromIniSection(settings_, kOriginalConnectionsSection, *cboMasterRecentConn_);
    fillComboFromIniSection(settings_, kModifiedConnectionsSection, *cboSourceRecentConn_);
    // A remembered index equal to the count selects an empty text; beyond it, nothing.
    if (lastSelectedOrigConnIndex_ >= 0 && lastSelectedOrigConnIndex_ <= cboMasterRecentConn_->count()) {
        const QString text = cboMasterRecentConn_->itemText(lastSelectedOrigConnIndex_);
        cboMasterRecentConn_->setCurrentIndex(
            lastSelectedOrigConnIndex_ < cboMasterRecentConn_->count() ? lastSelectedOrigConnIndex_ : -1);
        cboMasterRecentConn_->setEditText(text);
        setMasterConnectionString(text.toStdString(), true, true);
    }
    if (lastSelectedModConnIndex_ >= 0 && lastSelectedModConnIndex_ <= cboSourceRecentConn_->count()) {
        const QString text = cboSourceRecentConn_->itemText(lastSelectedModConnIndex_);
        cboSourceRecentConn_->setCurrentIndex(
            lastSelectedModConnIndex_ < cboSourceRecentConn_->count() ? lastSelectedModConnIndex_ : -1);
        cboSourceRecentConn_->setEditText(text);
        setSourceConnectionString(text.toStdString(), true, true);
    }
}

// Another database picked: its objects are listed at once, so that what the trees show, and
// what a table chosen there compares, is the pair now chosen.
void frmMain::cboMasterRecentConn_Click() {
    const std::string before = masterConnectionString_;
    setMasterConnectionString(cboMasterRecentConn_->currentText().toStdString(), true, true);
    writeIniLong("lLastSelectedOrigConnIndex", cboMasterRecentConn_->currentIndex());
    if (masterConnectionString_ != before && !sourceConnectionString_.empty() && !isBusy())
        do_TableCompare(true);
}

void frmMain::cboSourceRecentConn_Click() {
    const std::string before = sourceConnectionString_;
    setSourceConnectionString(cboSourceRecentConn_->currentText().toStdString(), true, true);
    writeIniLong("lLastSelectedmodConnIndex", cboSourceRecentConn_->currentIndex());
    if (sourceConnectionString_ != before && !masterConnectionString_.empty() && !isBusy())
        do_TableCompare(false);
}

QString frmMain::recentListText(bool isMaster) const {
    return (isMaster ? cboMasterRecentConn_ : cboSourceRecentConn_)->currentText();
}

void frmMain::setRecentListText(bool isMaster, const QString& text) {
    QComboBox* list = isMaster ? cboMasterRecentConn_ : cboSourceRecentConn_;
    list->setEditText(text);
    list->setToolTip(text);
}

} // namespace dbsift
