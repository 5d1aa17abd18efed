// SPDX-License-Identifier: MIT
#include "sync/frmSyncScript.h"

#include "Prompter.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace dbsift {

frmSyncScript::frmSyncScript(frmMain& form) : QDialog(&form), form_(form) {
    setObjectName("frmSyncScript");
    setWindowTitle(tr("Sync Script"));
    summary_ = new QLabel(this);
    summary_->setObjectName("lblSyncSummary");
    summary_->setWordWrap(true);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("txtSyncScript");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* save = new QPushButton(tr("Save..."), this);
    save->setObjectName("cmdSaveSyncScript");
    auto* copy = new QPushButton(tr("Copy"), this);
    copy->setObjectName("cmdCopySyncScript");
    apply_ = new QPushButton(tr("Apply..."), this);
    apply_->setObjectName("cmdApplySyncScript");
    apply_->setToolTip(tr("Make these changes in the database, in one step that Undo Copy takes back"));
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("cmdCloseSyncScript");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    buttons->addWidget(apply_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, &frmSyncScript::save);
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(script()); });
    connect(apply_, &QPushButton::clicked, this, [this] {
        if (applyScript_ && applyScript_())
            hide();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    resize(900, 560);
}

void frmSyncScript::showScript(const QString& summary, const QString& script, std::function<bool()> apply) {
    applyScript_ = std::move(apply);
    summary_->setText(summary);
    text_->setPlainText(script);
}

QString frmSyncScript::script() const {
    return text_->toPlainText();
}

void frmSyncScript::save() {
    const QString path =
        form_.prompter().saveFile(this, {tr("Save the sync script"), tr("SQL scripts|*.sql|All files|*"), 1,
                                         QStringLiteral("sql"), QStringLiteral("sync.sql")});
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script().toUtf8()) < 0 || !file.commit())
        form_.showMessage(tr("The script could not be saved to %1: %2").arg(path, file.errorString()));
}

} // namespace dbsift
