// SPDX-License-Identifier: MIT
#include "data/PairedView.h"

#include "data/SyncDirectionBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace dbsift {

namespace {

/// A CSV field: quoted when it holds a separator, a quote or a line break, quotes doubled.
QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

/// A clipboard cell: tabs and line breaks would split it, so they are shown as blanks.
QString tabField(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

/// The kind column, whose check box chooses the row. Styles outline a check box in a darker
/// shade of the window colour, which the rows of a dark palette swallow: the text's colour
/// outlines it here, so that it shows on every palette.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->palette.setColor(QPalette::Window, option->palette.color(QPalette::Text));
    }
};

} // namespace

PairedView::PairedView(QWidget* parent)
    : QWidget(parent), model_(new DifferenceModel(this)), filter_(new DifferenceFilter(this)),
      table_(new QTableView(this)), kind_(new QComboBox(this)), search_(new QLineEdit(this)),
      changedColumnsOnly_(new QCheckBox(tr("Changed columns only"), this)),
      copy_(new QPushButton(tr("Copy"), this)), export_(new QPushButton(tr("Export CSV..."), this)),
      counts_(new QLabel(this)), chosen_(new QLabel(this)),
      chooseShown_(new QPushButton(tr("Choose Shown"), this)),
      chooseNone_(new QPushButton(tr("Choose None"), this)), direction_(newSyncDirectionBox(this)),
      script_(new QPushButton(tr("Script..."), this)), apply_(new QPushButton(tr("Apply..."), this)) {
    setObjectName("framePairedView");
    filter_->setSourceModel(model_);
    table_->setObjectName("tblPairedView");
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder); // the result's own order until a header is clicked
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionsMovable(false);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setItemDelegateForColumn(0, new ChoiceDelegate(table_));

    kind_->setObjectName("cboPairedKind");
    kind_->addItem(tr("All differences"), -1);
    for (DifferenceKind kind : {DifferenceKind::Changed, DifferenceKind::OnlyInOriginal,
                                DifferenceKind::OnlyInModified, DifferenceKind::CopiesDiffer})
        kind_->addItem(DifferenceModel::kindName(kind), static_cast<int>(kind));
    search_->setObjectName("txtPairedSearch");
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    changedColumnsOnly_->setObjectName("chkChangedColumnsOnly");
    copy_->setObjectName("cmdCopyPaired");
    copy_->setToolTip(tr("Copy the selected rows, tab-separated"));
    export_->setObjectName("cmdExportPairedCsv");
    export_->setToolTip(tr("Save the rows shown as a CSV file"));
    counts_->setObjectName("lblPairedCounts");

    chosen_->setObjectName("lblChosen");
    chooseShown_->setObjectName("cmdChooseShown");
    chooseShown_->setToolTip(tr("Choose every row shown (narrow them by kind or search first)"));
    chooseNone_->setObjectName("cmdChooseNone");
    script_->setObjectName("cmdSyncScript");
    script_->setToolTip(tr("Show the SQL script that brings the chosen rows into line"));
    apply_->setObjectName("cmdApplySync");
    apply_->setToolTip(tr("Make the changes of the chosen rows in the database, in one step that Undo Copy "
                          "takes back"));

    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->addWidget(kind_);
    tools->addWidget(search_, 1);
    tools->addWidget(changedColumnsOnly_);
    tools->addWidget(copy_);
    tools->addWidget(export_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(tools);
    layout->addWidget(table_, 1);
    layout->addWidget(counts_);
    // Bringing the chosen rows into line.
    auto* sync = new QHBoxLayout;
    sync->setContentsMargins(0, 0, 0, 0);
    sync->addWidget(chooseShown_);
    sync->addWidget(chooseNone_);
    sync->addWidget(chosen_, 1);
    sync->addWidget(direction_);
    sync->addWidget(script_);
    sync->addWidget(apply_);
    layout->addLayout(sync);

    auto* copyAction = new QAction(tr("Copy"), table_);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(copyAction);
    connect(copyAction, &QAction::triggered, this, &PairedView::copySelection);
    connect(copy_, &QPushButton::clicked, this, &PairedView::copySelection);
    connect(export_, &QPushButton::clicked, this, &PairedView::exportToChosenFile);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
        filter_->setKind(kind_->currentData().toInt());
        showCounts();
    });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->setSearchText(text);
        showCounts();
    });
    connect(changedColumnsOnly_, &QCheckBox::toggled, this, &PairedView::showColumns);
    connect(chooseShown_, &QPushButton::clicked, this, &PairedView::chooseShown);
    connect(chooseNone_, &QPushButton::clicked, this, [this] {
        QList<int> rows;
        for (int row = 0; row < model_->rowCount(); ++row)
            rows << row;
        model_->choose(rows, false);
    });
    connect(model_, &QAbstractItemModel::dataChanged, this, &PairedView::showChosen);
    connect(model_, &QAbstractItemModel::modelReset, this, &PairedView::showChosen);
    connect(script_, &QPushButton::clicked, this, &PairedView::syncScriptRequested);
    connect(apply_, &QPushButton::clicked, this, &PairedView::applySyncRequested);
    clear();
}

void PairedView::showResult(const sifkit::DataResult& result, const QColor& originalColour,
                            const QColor& modifiedColour, const QColor& changedColour) {
    model_->setResult(result, originalColour, modifiedColour, changedColour);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->scrollToTop();
    showColumns();
    fitColumns();
    showCounts();
    enableControls(model_->rowCount() > 0);
}

void PairedView::fitColumns() {
    // As wide as the header and the first rows' texts (bold, as a change is shown), up to a limit:
    // measuring every row of a long result would cost more than the whole view. The full text is
    // in the tooltip.
    QFont bold = table_->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QFontMetrics headerMetrics(table_->horizontalHeader()->font());
    const int padding = metrics.averageCharWidth() * 2;
    const int widest = std::max(metrics.averageCharWidth() * 40, 200);
    const int rows = std::min(model_->rowCount(), 50);
    for (int column = 0; column < model_->columnCount(); ++column) {
        int width = headerMetrics.horizontalAdvance(model_->headerData(column, Qt::Horizontal).toString()) +
                    padding * 2;
        for (int row = 0; row < rows; ++row)
            width = std::max(width, metrics.horizontalAdvance(model_->cellText(row, column)) + padding);
        if (column == 0) // the check box that chooses the row
            width += table_->style()->pixelMetric(QStyle::PM_IndicatorWidth) + padding;
        table_->setColumnWidth(column, std::min(width, widest));
    }
}

void PairedView::clear() {
    model_->clear();
    showCounts();
    enableControls(false);
}

void PairedView::enableControls(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{kind_, search_, changedColumnsOnly_, copy_,
                                                            export_, chooseShown_, chooseNone_, direction_})
        control->setEnabled(enabled);
    showChosen();
}

void PairedView::chooseShown() {
    QList<int> rows;
    for (int viewRow = 0; viewRow < filter_->rowCount(); ++viewRow)
        rows << filter_->mapToSource(filter_->index(viewRow, 0)).row();
    model_->choose(rows, true);
}

void PairedView::showChosen() {
    const int chosen = model_->chosenCount();
    chosen_->setText(chosen > 0 ? tr("%n chosen", nullptr, chosen) : QString());
    script_->setEnabled(chosen > 0);
    apply_->setEnabled(chosen > 0);
}

sifkit::SyncDirection PairedView::syncDirection() const {
    return syncDirectionOf(*direction_);
}

sifkit::SyncPlan PairedView::chosenPlan() const {
    return sifkit::planSync(model_->result(), syncDirection(), model_->syncChoice());
}

void PairedView::showColumns() {
    const bool onlyChanged = changedColumnsOnly_->isChecked();
    for (int column = DifferenceModel::fixedColumns; column < model_->columnCount(); ++column)
        table_->setColumnHidden(column, onlyChanged && !model_->columnChanges(column) &&
                                            !model_->isKeyColumn(column));
}

void PairedView::showCounts() {
    const std::array<int, 4> counts = model_->kindCounts();
    QString text = tr("Changed: %1   Only in Original: %2   Only in Modified: %3")
                       .arg(counts[0])
                       .arg(counts[1])
                       .arg(counts[2]);
    if (counts[3] > 0)
        text += tr("   Copies differ: %1").arg(counts[3]);
    if (filter_->rowCount() != model_->rowCount())
        text += tr("   (%1 shown)").arg(filter_->rowCount());
    counts_->setText(text);
}

QList<QStringList> PairedView::lines(const QList<int>& viewRows) const {
    QList<QStringList> result;
    QStringList header;
    QList<int> columns;
    for (int column = 0; column < model_->columnCount(); ++column)
        if (!table_->isColumnHidden(column)) {
            columns << column;
            header << model_->headerData(column, Qt::Horizontal).toString();
        }
    result << header;
    for (int viewRow : viewRows) {
        const int row = filter_->mapToSource(filter_->index(viewRow, 0)).row();
        QStringList cells;
        for (int column : columns)
            cells << model_->cellText(row, column);
        result << cells;
    }
    return result;
}

QString PairedView::selectedRowsText() const {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return {};
    std::sort(rows.begin(), rows.end());
    QString text;
    for (const QStringList& cells : lines(rows)) {
        QStringList fields;
        for (const QString& cell : cells)
            fields << tabField(cell);
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void PairedView::copySelection() const {
    const QString text = selectedRowsText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

bool PairedView::exportCsv(const QString& path, QString& error) const {
    QList<int> rows;
    for (int row = 0; row < filter_->rowCount(); ++row)
        rows << row;
    QString text;
    for (const QStringList& cells : lines(rows)) {
        QStringList fields;
        for (const QString& cell : cells)
            fields << csvField(cell);
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void PairedView::exportToChosenFile() {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Export the differences"), QString(), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!exportCsv(path, error))
        QMessageBox::warning(this, tr("Export the differences"),
                             tr("The file %1 could not be written: %2").arg(path, error));
}

} // namespace dbsift
