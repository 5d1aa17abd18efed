// SPDX-License-Identifier: MIT
#include "sync/frmUndo.h"

#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "sync/RollbackSlots.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace dbsift {

frmUndo::frmUndo(frmMain& form) : QDialog(&form), form_(form) {
    setObjectName("frmUndo");
    setWindowTitle(tr("Undo Copy"));
    auto* hint = new QLabel(
        tr("Updates made with \"Copy Record\", and changes applied from the Paired View. Choose one "
           "and press \"Roll Back\" to put the records back as they were before."),
        this);
    hint->setWordWrap(true);
    cboRollBackNumber_ = new QComboBox(this);
    cboRollBackNumber_->setObjectName("cboRollBackNumber");
    cboRollBackNumber_->setEditable(true);
    cboRollBackNumber_->lineEdit()->setReadOnly(true);
    cboRollBackNumber_->setMinimumContentsLength(60);
    cboRollBackNumber_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmdRollBack_ = new QPushButton(tr("Roll Back"), this);
    cmdRollBack_->setObjectName("cmdRollBack");
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("cmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdRollBack_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(cboRollBackNumber_);
    layout->addLayout(buttons);

    connect(cmdRollBack_, &QPushButton::clicked, this, &frmUndo::cmdRollBack_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(cboRollBackNumber_, &QComboBox::currentIndexChanged, this, [this] {
        updateButton();
        // A line starts with its slot; show that rather than the end of a long statement.
        cboRollBackNumber_->lineEdit()->setCursorPosition(0);
    });
    setMinimumWidth(720);
}

void frmUndo::ReadRollBackIniFile() {
    cboRollBackNumber_->clear();
    const ProfileFile& settings = form_.settingsFile();
    for (int n = 1; n <= kRollbackSlots; ++n) {
        const QString sql =
            QString::fromStdString(settings.readText(rollbackSection(n), "ROLLBACK_SQL", "NA")).trimmed();
        if (sql.isEmpty())
            break;
        if (sql == "NA")
            continue;
        form_.showMessage("\"" + sql + "\"");
        QString line = QString::fromStdString(rollbackSection(n)) + " " + sql;
        if (readRollbackSlot(settings, n).rolledBack)
            line += tr("  (rolled back)");
        cboRollBackNumber_->addItem(line);
    }
    cboRollBackNumber_->setCurrentIndex(-1);
    cboRollBackNumber_->setEditText(QString());
    cboRollBackNumber_->lineEdit()->setPlaceholderText(
        cboRollBackNumber_->count() > 0 ? tr("Choose the update to roll back") : tr("No updates recorded"));
    updateButton();
}

int frmUndo::slotOfLine(const QString& line) {
    static const QRegularExpression pattern("^ROLLBACK_NUMBER_(\\d+) ");
    const auto match = pattern.match(line);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

void frmUndo::updateButton() {
    cmdRollBack_->setEnabled(cboRollBackNumber_->currentIndex() >= 0);
}

void frmUndo::cmdRollBack_Click() {
    const int number = slotOfLine(cboRollBackNumber_->currentText());
    if (number < 1)
        return;
    const RollbackSlot slot = readRollbackSlot(form_.settingsFile(), number);
    if (form_.rollBackSlot(slot))
        ReadRollBackIniFile();
}

} // namespace dbsift
