// SPDX-License-Identifier: MIT
#include "connect/frmSelectConn.h"

#include "connect/ConnectionNames.h"
#include "connect/frmOleDB.h"
#include "shell/frmMain.h"

#include <sifkit/Sifcore.h>

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dbsift {

frmSelectConn::frmSelectConn(frmMain& form) : QDialog(&form), form_(&form) {
    setObjectName("frmSelectConn");
    setWindowTitle(tr("Select Databases To Compare"));
    setModal(true);

    // Says which side the dialog is choosing for: the same dialog serves both.
    lblSide_ = new QLabel(this);
    lblSide_->setObjectName("lblSide");
    QFont sideFont = lblSide_->font();
    sideFont.setBold(true);
    sideFont.setPointSizeF(sideFont.pointSizeF() * 1.2);
    lblSide_->setFont(sideFont);

    auto* source = new QGroupBox(tr("Select Database by DSN or File"), this);
    optDsn_ = new QRadioButton(tr("ODBC Data Source"), source);
    optDsn_->setObjectName("optDsn");
    optFile_ = new QRadioButton(tr("File"), source);
    optFile_->setObjectName("optFile");
    cboCompare2_ = new QComboBox(source);
    cboCompare2_->setObjectName("cboCompare2");
    cboCompare2_->setMinimumContentsLength(40);
    cmdOldDB1_ = new QPushButton(tr("Select Database File (OLEDB)"), source);
    cmdOldDB1_->setObjectName("cmdOldDB1");
    lblSelectedConnection_ = new QLabel(source);
    lblSelectedConnection_->setObjectName("lblSelectedConnection");
    lblSelectedConnection_->setWordWrap(true);
    lblSelectedConnection_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSelectedConnection_->setMinimumHeight(lblSelectedConnection_->fontMetrics().height() * 2);
    auto* sourceLayout = new QVBoxLayout(source);
    auto* dsnRow = new QHBoxLayout;
    dsnRow->addWidget(optDsn_);
    dsnRow->addWidget(cboCompare2_, 1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(optFile_);
    fileRow->addWidget(cmdOldDB1_);
    fileRow->addStretch(1);
    sourceLayout->addLayout(dsnRow);
    sourceLayout->addLayout(fileRow);
    sourceLayout->addWidget(lblSelectedConnection_);

    auto* security = new QGroupBox(tr("Security"), this);
    txtMasterDBUserID_ = new QLineEdit(security);
    txtMasterDBUserID_->setObjectName("txtMasterDBUserID");
    txtSourcePassword_ = new QLineEdit(security);
    txtSourcePassword_->setObjectName("txtSourcePassword");
    txtSourcePassword_->setEchoMode(QLineEdit::Password);
    auto* securityLayout = new QFormLayout(security);
    securityLayout->addRow(new QLabel(tr("Enter User ID and Password for Database if Required"), security));
    securityLayout->addRow(tr("User ID"), txtMasterDBUserID_);
    securityLayout->addRow(tr("Password"), txtSourcePassword_);

    cmdDone_ = new QPushButton(tr("Done"), this);
    cmdDone_->setObjectName("cmdDone");
    cmdDone_->setDefault(true);
    cmdCancel_ = new QPushButton(tr("Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDone_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSide_);
    layout->addWidget(source);
    layout->addWidget(security);
    layout->addLayout(buttons);

    // The machine's data sources, as the engine listed them.
    sifkit::Sifcore& engine = form.Sifcore1();
    for (int32_t i = 1; i <= engine.getODBCConnectionCount(); ++i)
        cboCompare2_->addItem(QString::fromStdString(engine.getODBCConnection(i)));
    cboCompare2_->setCurrentIndex(-1);
    cboCompare2_->setEnabled(false);
    optFile_->setChecked(true);

    connect(optDsn_, &QRadioButton::clicked, this, &frmSelectConn::optDsn_Click);
    connect(optFile_, &QRadioButton::clicked, this, &frmSelectConn::optFile_Click);
    connect(cboCompare2_, &QComboBox::activated, this, &frmSelectConn::cboCompare2_Click);
    connect(cmdOldDB1_, &QPushButton::clicked, this, &frmSelectConn::cmdOldDB1_Click);
    connect(cmdDone_, &QPushButton::clicked, this, &frmSelectConn::cmdDone_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmSelectConn::cmdCancel_Click);
    // Leaving a box stores its text for the side, even when empty.
    connect(txtMasterDBUserID_, &QLineEdit::editingFinished, this,
            [this] { storeUserID(txtMasterDBUserID_->text(), false); });
    connect(txtSourcePassword_, &QLineEdit::editingFinished, this,
            [this] { storePassword(txtSourcePassword_->text(), false); });
}

// The dialog serves both sides: each opening starts from the side's own database and its own
// credentials, never from what was typed or chosen for the other side.
void frmSelectConn::setFormControl(const std::string& mode, frmMain& form) {
    form_ = &form;
    isMaster_ = mode == "use_master";
    lblSide_->setText(isMaster_ ? tr("Original database") : tr("Modified database"));
    lblSelectedConnection_->setText(form.recentListText(isMaster_));
    sideString().clear();
    const clsAppVar& vars = form.getApplicationVariables();
    txtMasterDBUserID_->setText(
        QString::fromStdString(isMaster_ ? vars.getMasterUserID() : vars.getSourceUserID()));
    txtSourcePassword_->setText(
        QString::fromStdString(isMaster_ ? vars.getMasterPassWord() : vars.getSourcePassWord()));
}

std::string frmSelectConn::withTypedUserID(const std::string& connection) const {
    const QString userID = txtMasterDBUserID_->text().trimmed();
    if (userID.isEmpty() || isFileConnection(connection))
        return connection;
    return connection + " ;User ID=" + userID.toStdString();
}

bool frmSelectConn::getUseODBCDSNForMaster() {
    return form_->Sifcore1().getMasterDataManager()->getUseDSN();
}
bool frmSelectConn::getUseODBCDSNForSource() {
    return form_->Sifcore1().getSourceDataManager()->getUseDSN();
}

void frmSelectConn::optDsn_Click() {
    cboCompare2_->setEnabled(true);
    cmdOldDB1_->setEnabled(false);
}

void frmSelectConn::optFile_Click() {
    cboCompare2_->setEnabled(false);
    cmdOldDB1_->setEnabled(true);
}

void frmSelectConn::cboCompare2_Click() {
    if (cboCompare2_->currentIndex() < 0)
        return;
    sifkit::Sifcore& engine = form_->Sifcore1();
    (isMaster_ ? engine.getMasterDataManager() : engine.getSourceDataManager())->setUseDSN(true);
    std::string entry = cboCompare2_->currentText().toStdString();
    sideString() = engine.getConncectionStringFromDSN(entry);
    lblSelectedConnection_->setText(QString::fromStdString(sideString()));
    // The user ID goes with the string, so that the recent entry records it.
    if (isMaster_)
        form_->setMasterConnectionString(withTypedUserID(sideString()), true, false);
    else
        form_->setSourceConnectionString(withTypedUserID(sideString()), true, false);
    storePassword(txtSourcePassword_->text(), true);
}

void frmSelectConn::cmdOldDB1_Click() {
    sifkit::Sifcore& engine = form_->Sifcore1();
    if (isMaster_)
        engine.getMasterDataManager()->setUseDSN(false);
    const std::string path = frmOleDB::getAccessPath(*form_);
    if (path.empty())
        return;
    if (!isMaster_)
        engine.getSourceDataManager()->setUseDSN(false);
    sideString() = path;
    lblSelectedConnection_->setText(QString::fromStdString(path));
    if (isMaster_)
        form_->setMasterConnectionString(path, false, false);
    else
        form_->setSourceConnectionString(path, false, false);
}

void frmSelectConn::cmdDone_Click() {
    // Nothing chosen in this opening: the side's database stays, with the credentials typed for it.
    const bool chosen = !sideString().empty();
    const bool isConnectionString = chosen ? optDsn_->isChecked() : true;
    std::string text =
        chosen ? sideString() : splitUserID(form_->recentListText(isMaster_).toStdString()).database;
    if (isConnectionString)
        text = withTypedUserID(text);
    if (!text.empty()) {
        if (isMaster_)
            form_->setMasterConnectionString(text, isConnectionString, false);
        else
            form_->setSourceConnectionString(text, isConnectionString, false);
    }
    storeUserID(txtMasterDBUserID_->text(), true);
    storePassword(txtSourcePassword_->text(), true);
    hide();
    setResult(QDialog::Accepted);
    // With one side still to choose there is nothing to list yet; the engine would only report
    // the missing side.
    if (!form_->getMasterConnectionString().empty() && !form_->getSourceConnectionString().empty())
        form_->do_TableCompare(isMaster_);
    form_->enableControls();
    done(QDialog::Accepted);
}

void frmSelectConn::cmdCancel_Click() {
    reject();
}

void frmSelectConn::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A file is opened without credentials: none are kept for it.
void frmSelectConn::storeUserID(const QString& text, bool onlyWhenFilled) {
    if ((onlyWhenFilled && text.isEmpty()) || !form_->acceptsCredentials(isMaster_))
        return;
    clsAppVar& vars = form_->getApplicationVariables();
    isMaster_ ? vars.setMasterUserID(text.toStdString()) : vars.setSourceUserID(text.toStdString());
}

void frmSelectConn::storePassword(const QString& text, bool onlyWhenFilled) {
    if ((onlyWhenFilled && text.isEmpty()) || !form_->acceptsCredentials(isMaster_))
        return;
    clsAppVar& vars = form_->getApplicationVariables();
    isMaster_ ? vars.setMasterPassWord(text.toStdString()) : vars.setSourcePassWord(text.toStdString());
}

} // namespace dbsift
