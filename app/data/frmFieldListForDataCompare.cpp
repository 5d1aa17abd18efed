// SPDX-License-Identifier: MIT
#include "data/frmFieldListForDataCompare.h"

#include "shell/frmMain.h"

#include <sifkit/FieldList.h>
#include <sifkit/Sifcore.h>
#include <sifkit/clsDBManager.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace dbsift {

frmFieldListForDataCompare::frmFieldListForDataCompare(frmMain& form) : QDialog(&form), form_(form) {
    setObjectName("frmFieldListForDataCompare");
    setWindowTitle(tr("Field Selection"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        tr("Select what fields to compare from the list below. Use the CTRL key to select multiple fields."),
        this);
    label->setWordWrap(true);
    layout->addWidget(label);
    lstFields_ = new QListWidget(this);
    lstFields_->setObjectName("lstFields");
    lstFields_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(lstFields_, 1);
    lblNotCompared_ = new QLabel(this);
    lblNotCompared_->setObjectName("lblNotCompared");
    lblNotCompared_->setWordWrap(true);
    lblNotCompared_->hide();
    layout->addWidget(lblNotCompared_);
    cboKey_ = new QComboBox(this);
    cboKey_->setObjectName("cboKey");
    cboKey_->setEditable(true);
    cboKey_->setInsertPolicy(QComboBox::NoInsert);
    cboKey_->lineEdit()->setPlaceholderText(tr("the table's own key"));
    cboKey_->setToolTip(tr("The records of the two sides that hold the same key are paired. Pick a field, "
                           "or type several separated by commas. Left empty, the table's primary key "
                           "pairs them or, without one, a unique key whose fields cannot be Null."));
    auto* keyRow = new QFormLayout;
    keyRow->addRow(tr("Pair records by:"), cboKey_);
    layout->addLayout(keyRow);
    chkSelectAll_ = new QCheckBox(tr("Select All"), this);
    chkSelectAll_->setObjectName("chkSelectAll");
    layout->addWidget(chkSelectAll_);
    auto* buttons = new QHBoxLayout;
    cmdSelectAll_ = new QPushButton(tr("Select All"), this);
    cmdSelectAll_->setObjectName("cmdSelectAll");
    cmdCompare_ = new QPushButton(tr("Compare"), this);
    cmdCompare_->setObjectName("cmdCompare");
    cmdCompare_->setEnabled(false);
    cmdCancel_ = new QPushButton(tr("Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    for (QPushButton* button : {cmdSelectAll_, cmdCompare_, cmdCancel_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    // Return compares the selected fields, whichever control has the focus.
    cmdCompare_->setDefault(true);
    layout->addLayout(buttons);
    resize(360, 420);

    connect(lstFields_, &QListWidget::itemSelectionChanged, this,
            &frmFieldListForDataCompare::lstFields_Click);
    connect(chkSelectAll_, &QCheckBox::clicked, this, &frmFieldListForDataCompare::chkSelectAll_Click);
    connect(cmdSelectAll_, &QPushButton::clicked, this, &frmFieldListForDataCompare::cmdSelectAll_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmFieldListForDataCompare::cmdCancel_Click);
    connect(cmdCompare_, &QPushButton::clicked, this, &frmFieldListForDataCompare::cmdCompare_Click);
}

bool frmFieldListForDataCompare::hasFieldDescriptions() {
    sifkit::Sifcore& engine = form_.Sifcore1();
    const int32_t count = engine.getResultCount(true);
    for (int32_t i = 1; i <= count; ++i)
        if (engine.getResultIsFieldDesc(i, true))
            return true;
    return false;
}

void frmFieldListForDataCompare::fillFields() {
    sifkit::Sifcore& engine = form_.Sifcore1();
    {
        BusyScope busy(form_);
        engine.beginTablebaseCompare(masterConnectionString_, sourceConnectionString_, tableName_,
                                     tableType_);
    }
    setWindowTitle(tr("Field List for %1").arg(QString::fromStdString(tableName_)));
    const int16_t newField = static_cast<int16_t>(std::stoi(engine.getConstantNewField()));
    // Every position up to the last: the engine lists a table's fields after the table, so the
    // last item is a field of the chosen table and must be offered too. The fields left out are
    // named with the reason, so that no difference in them is taken for none.
    QStringList notCompared;
    for (const bool isMaster : {true, false}) {
        const int32_t count = engine.getResultCount(isMaster);
        for (int32_t i = 1; i <= count; ++i) {
            if (engine.getResultDatabaseObjectName(i, isMaster) != tableName_ ||
                !engine.getResultIsFieldDesc(i, isMaster))
                continue;
            const std::string field = engine.getResultFieldName(i, isMaster);
            if (field.empty())
                continue;
            const QString name = QString::fromStdString(field);
            bool onOneSide = false;
            try {
                onOneSide = engine.getResultChangeType(i, isMaster) == newField;
            } catch (const std::exception&) {
                continue;
            }
            if (onOneSide)
                notCompared << (isMaster ? tr("%1 (not in the Modified database)")
                                         : tr("%1 (not in the Original database)"))
                                   .arg(name);
            else if (!isMaster)
                continue; // a field of both sides is offered once, from the Original's list
            else if (!engine.getResultIsFieldComparable(i, isMaster))
                notCompared << tr("%1 (its type cannot be compared)").arg(name);
            else
                lstFields_->addItem(name);
        }
    }
    lblNotCompared_->setText(notCompared.isEmpty() ? QString()
                                                   : tr("Not compared: %1").arg(notCompared.join(", ")));
    lblNotCompared_->setVisible(!notCompared.isEmpty());
}

bool frmFieldListForDataCompare::compareTableFromName(const std::string& tableName,
                                                      const std::shared_ptr<sifkit::clsDBManager>& master,
                                                      const std::shared_ptr<sifkit::clsDBManager>& source) {
    masterConnectionString_ = master->getConnectionString();
    sourceConnectionString_ = source->getConnectionString();
    tableChanged_ = tableName != tableName_;
    if (tableChanged_)
        lstFields_->clear();
    tableName_ = tableName;
    tableType_ = master->getTableDataType();
    const bool described = !tableChanged_ && hasFieldDescriptions();
    if (tableChanged_ && !described)
        fillFields();

    if (lstFields_->count() == 0) {
        form_.showMessage(
            tr("There are no compatible fields to compare for %1").arg(QString::fromStdString(tableName)));
        form_.setCanRunReport(false);
        form_.enableReportControls(false);
        return false;
    }
    form_.setCanRunReport(true);
    form_.enableReportControls(true);
    lstFields_Click();
    showKey();
    return true;
}

void frmFieldListForDataCompare::showKey() {
    cboKey_->clear();
    cboKey_->addItem(QString());
    // The key the table's records were last paired by; every field counts as compared here, so
    // that a key chosen before shows whatever fields are picked now.
    std::vector<std::string> listed;
    for (int i = 0; i < lstFields_->count(); ++i) {
        cboKey_->addItem(lstFields_->item(i)->text());
        listed.push_back(lstFields_->item(i)->text().toStdString());
    }
    QStringList key;
    for (const std::string& column : form_.tableKey(tableName_, sifkit::writeFieldList(listed)))
        key << QString::fromStdString(column);
    cboKey_->setCurrentText(key.join(QStringLiteral(", ")));
}

std::vector<std::string> frmFieldListForDataCompare::getKey() const {
    std::vector<std::string> key;
    for (const QString& column : cboKey_->currentText().split(QLatin1Char(',')))
        if (!column.trimmed().isEmpty())
            key.push_back(column.trimmed().toStdString());
    return key;
}

void frmFieldListForDataCompare::forgetTable() {
    tableName_.clear();
    tableType_.clear();
    lstFields_->clear();
    lblNotCompared_->clear();
    lblNotCompared_->hide();
}

std::string frmFieldListForDataCompare::getFieldList() const {
    std::vector<std::string> names;
    for (int i = 0; i < lstFields_->count(); ++i)
        if (lstFields_->item(i)->isSelected())
            names.push_back(lstFields_->item(i)->text().toStdString());
    return sifkit::writeFieldList(names);
}

void frmFieldListForDataCompare::lstFields_Click() {
    cmdCompare_->setEnabled(false);
    cmdCompare_->setEnabled(!lstFields_->selectedItems().isEmpty());
}

void frmFieldListForDataCompare::chkSelectAll_Click() {
    if (chkSelectAll_->isChecked())
        lstFields_->selectAll();
    else
        lstFields_->clearSelection();
}

void frmFieldListForDataCompare::cmdSelectAll_Click() {
    lstFields_->selectAll();
}

void frmFieldListForDataCompare::cmdCancel_Click() {
    hide();
}

void frmFieldListForDataCompare::cmdCompare_Click() {
    form_.setProgressBar();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string fieldList = getFieldList();
    if (fieldList.empty()) {
        QApplication::restoreOverrideCursor();
        return;
    }
    const std::vector<std::string> selected =
        sifkit::parseFieldList(fieldList).value_or(std::vector<std::string>{});
    const std::vector<std::string> key = getKey();
    for (const std::string& column : key)
        if (std::find(selected.begin(), selected.end(), column) == selected.end()) {
            // The dialog stays, with what was typed, for the key or the fields to be mended.
            QApplication::restoreOverrideCursor();
            form_.showMessage(tr("The key column %1 is not among the fields selected to compare.")
                                  .arg(QString::fromStdString(column)));
            return;
        }
    form_.chooseTableKey(tableName_, key);
    clsAppVar& appVar = form_.getApplicationVariables();
    appVar.setCurrentMasterRecordIndex(1);
    appVar.setCurrentSourceRecordIndex(1);
    // Hidden before the run: shown modally, the dialog would keep every click from the status
    // bar's Cancel while the run lasts.
    hide();
    form_.showDataDiffResultsForTableName(tableName_, fieldList);
    QApplication::restoreOverrideCursor();
}

void frmFieldListForDataCompare::keyPressEvent(QKeyEvent* event) {
    // Escape acts when released, like the other keys of the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmFieldListForDataCompare::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

} // namespace dbsift
