// SPDX-License-Identifier: MIT
#include "data/frmDispMessage.h"

#include "shell/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dbsift {

const char* const kDataCompareHint =
    QT_TRANSLATE_NOOP("dbsift::frmDispMessage",
                      "To do a data compare on a table do the following. \r"
                      "1) Select a table from the Original or Modified list. \r"
                      " 2) Select Field(s) that you would like to compare from the 'Field List' Dialog Box.\r"
                      "  3) Click on the compare button in 'Field List' Dialog Box'\r");

frmDispMessage::frmDispMessage(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDispMessage");
    setWindowTitle(tr("Hint: How to Use %1").arg(QApplication::applicationDisplayName()));
    setModal(true);
    lblDescWhatToDo_ = new QLabel(this);
    lblDescWhatToDo_->setObjectName("lblDescWhatToDo");
    lblDescWhatToDo_->setWordWrap(true);
    chkNeverShowAgain_ = new QCheckBox(tr("Never Show this Message Again"), this);
    chkNeverShowAgain_->setObjectName("chkNeverShowAgain");
    auto* cmdOkay = new QPushButton(tr("Continue"), this);
    cmdOkay->setObjectName("cmdOkay");
    cmdOkay->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDescWhatToDo_);
    auto* row = new QHBoxLayout;
    row->addWidget(chkNeverShowAgain_);
    row->addStretch(1);
    row->addWidget(cmdOkay);
    layout->addLayout(row);

    // Checking the box turns the hint off at once (and saves the settings); unchecking it in the
    // same display does not turn it back on.
    connect(chkNeverShowAgain_, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked && form_)
            form_->setDisplayDataCompareMessageBox(false);
    });
    connect(cmdOkay, &QPushButton::clicked, this, &QDialog::accept);
}

void frmDispMessage::loadForm() {
    // The text's line breaks are single carriage returns; the label breaks lines on "\n".
    QString shown = tr(message_.c_str());
    shown.replace('\r', '\n');
    lblDescWhatToDo_->setText(shown);
    chkNeverShowAgain_->setChecked(false);
}

} // namespace dbsift
