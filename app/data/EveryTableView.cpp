// SPDX-License-Identifier: MIT
#include "data/EveryTableView.h"

#include "data/SyncDirectionBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace dbsift {

namespace {

enum Column {
    TableName,
    Original,
    Modified,
    OnlyOriginal,
    OnlyModified,
    Changed,
    Identical,
    PairedBy,
    Count
};

/// Counts are right-aligned and sort by their value, not their text.
QTableWidgetItem* countItem(int32_t count) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, count);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QString joined(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names)
        list << QString::fromStdString(name);
    return list.join(QStringLiteral(", "));
}

} // namespace

EveryTableView::EveryTableView(QWidget* parent) : QWidget(parent) {
    setObjectName("EveryTableView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    table_ = new QTableWidget(0, Count, this);
    table_->setObjectName("gridEveryTable");
    table_->setHorizontalHeaderLabels({tr("Table"), tr("Original"), tr("Modified"), tr("Only in Original"),
                                       tr("Only in Modified"), tr("Changed"), tr("Identical"),
                                       tr("Paired by")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setToolTip(tr("Double-click a table, or press Return, to see its records side by side"));
    table_->installEventFilter(this);
    layout->addWidget(table_, 1);
    totals_ = new QLabel(this);
    totals_->setObjectName("lblEveryTableTotals");
    report_ = new QPushButton(tr("Create Report"), this);
    report_->setObjectName("cmdEveryTableReport");
    report_->setToolTip(tr("Write these counts as an HTML report"));
    report_->setEnabled(false);
    direction_ = newSyncDirectionBox(this);
    script_ = new QPushButton(tr("Script..."), this);
    script_->setObjectName("cmdEveryTableScript");
    script_->setToolTip(tr("Show the SQL script that brings every table compared into line"));
    apply_ = new QPushButton(tr("Apply..."), this);
    apply_->setObjectName("cmdEveryTableApply");
    apply_->setToolTip(tr("Bring every table compared into line in the database, in one step that Undo Copy "
                          "takes back"));
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(totals_, 1);
    bottom->addWidget(direction_);
    bottom->addWidget(script_);
    bottom->addWidget(apply_);
    bottom->addWidget(report_);
    layout->addLayout(bottom);
    connect(report_, &QPushButton::clicked, this, &EveryTableView::reportRequested);
    connect(script_, &QPushButton::clicked, this, &EveryTableView::syncScriptRequested);
    connect(apply_, &QPushButton::clicked, this, &EveryTableView::applySyncRequested);
    enableSync(false);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { choose(row); });
}

void EveryTableView::showSummary(const sifkit::DataSummary& summary,
                                 std::vector<sifkit::DataResult> results) {
    summary_ = summary;
    results_ = std::move(results);
    report_->setEnabled(!summary.tables.empty());
    enableSync(std::any_of(results_.begin(), results_.end(), [](const sifkit::DataResult& result) {
        return result.outcome == sifkit::DataOutcome::Differences;
    }));
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(summary.tables.size()));
    int differing = 0;
    int notCompared = 0;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const sifkit::TableCounts& counts = summary.tables[static_cast<std::size_t>(row)];
        auto* name = new QTableWidgetItem(QString::fromStdString(counts.table));
        // The row keeps its table's place in the summary, whatever the sorting does.
        name->setData(Qt::UserRole, row);
        table_->setItem(row, TableName, name);
        if (!counts.compared()) {
            ++notCompared;
            table_->setItem(row, PairedBy,
                            new QTableWidgetItem(
                                tr("not compared: %1").arg(QString::fromStdString(counts.whyNotCompared))));
            for (int column = 0; column < Count; ++column)
                if (QTableWidgetItem* item = table_->item(row, column))
                    item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            continue;
        }
        differing += counts.differences() > 0 ? 1 : 0;
        const int32_t values[] = {counts.originalRecords, counts.modifiedRecords, counts.onlyInOriginal,
                                  counts.onlyInModified,  counts.changed,         counts.identical};
        for (int i = 0; i < 6; ++i)
            table_->setItem(row, Original + i, countItem(values[i]));
        table_->setItem(
            row, PairedBy,
            new QTableWidgetItem(counts.keyColumns.empty() ? tr("(no key)") : joined(counts.keyColumns)));
        if (counts.differences() > 0) {
            QFont bold = table_->font();
            bold.setBold(true);
            name->setFont(bold);
        }
        name->setToolTip(tr("Compared columns: %1").arg(joined(counts.columns)));
    }
    // Sorted only when the user asks: the tables come in the catalogues' order.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
    const int compared = table_->rowCount() - notCompared;
    const QString tables = compared == 1 ? tr("1 table compared") : tr("%1 tables compared").arg(compared);
    QString totals =
        differing + notCompared == 0
            ? tr("%1. No differences.").arg(tables)
            : tr("%1, %2 with differences; %3 not compared.").arg(tables).arg(differing).arg(notCompared);
    if (summary.cancelled)
        totals += QLatin1Char(' ') + tr("Cancelled: the tables after the last one listed were not compared.");
    totals_->setText(totals);
}

void EveryTableView::clear() {
    summary_ = {};
    results_.clear();
    table_->setRowCount(0);
    totals_->clear();
    report_->setEnabled(false);
    enableSync(false);
}

void EveryTableView::enableSync(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{direction_, script_, apply_})
        control->setEnabled(enabled);
}

sifkit::SyncPlan EveryTableView::plan() const {
    return sifkit::planSync(results_, syncDirectionOf(*direction_));
}

void EveryTableView::choose(int row) {
    const QTableWidgetItem* name = table_->item(row, TableName);
    if (!name)
        return;
    const sifkit::TableCounts& counts = summary_.tables.at(name->data(Qt::UserRole).toUInt());
    if (!counts.compared())
        return;
    QStringList columns;
    for (const std::string& column : counts.columns)
        columns << QString::fromStdString(column);
    emit tableChosen(QString::fromStdString(counts.table), columns);
}

bool EveryTableView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table_->currentRow() >= 0) {
            choose(table_->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dbsift
