// SPDX-License-Identifier: MIT
// The two grids of the data view: the summary of differing records, page by page, and the
// detail grid with the selected record above its counterpart and the fields' change rows.
#include "data/DifferenceWalk.h"
#include "shell/Colours.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace dbsift {

namespace {

/// Row 3 of the detail grid heads the fields' change rows, one per field from row 4.
constexpr int kMetadataHeaderRow = 3;
constexpr int kMetadataColumns = 4;

void writeMetadataHeader(FlexGrid& grid) {
    const char* const headers[kMetadataColumns] = {QT_TRANSLATE_NOOP("dbsift::frmMain", "DB Object Name"),
                                                   QT_TRANSLATE_NOOP("dbsift::frmMain", "Field Name"),
                                                   QT_TRANSLATE_NOOP("dbsift::frmMain", "Data Type"),
                                                   QT_TRANSLATE_NOOP("dbsift::frmMain", "Change Type")};
    for (int c = 0; c < kMetadataColumns; ++c)
        grid.setTextMatrix(kMetadataHeaderRow, c, QCoreApplication::translate("dbsift::frmMain", headers[c]));
}

int16_t toCode(const std::string& text) {
    int value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<int16_t>(value);
}

/// A column takes 100 twips per character of the value last written into it, 1000 at least.
void fitColumn(FlexGrid& grid, int col, const QString& value) {
    grid.setColWidth(col, std::max(static_cast<int>(value.size()) * 100, 1000));
}

/// What a summary row carries: the side of its record.
constexpr int64_t kOriginalRow = 1;
constexpr int64_t kModifiedRow = 2;

} // namespace

void frmMain::prepareDiffGrid(
    FlexGrid& grid, const std::string& tableName,
    bool /*isMaster: the field names were read once, from a side that reported records*/, bool metadata) {
    sifkit::Sifcore& engine = Sifcore1();
    FlexGrid::Batch batch(grid);
    grid.setVisible(true);
    grid.clear();
    const int fields = static_cast<int>(dataFieldNames_.size());
    if (metadata) {
        // Every row the detail grid writes exists: the two records, the change header and one
        // change row per field.
        grid.setRows(appVar_.getNoShowRecordMetadata() ? 3 : kMetadataHeaderRow + 1 + fields);
        grid.setCols(std::max(fields + 1, kMetadataColumns));
    } else {
        // One row per differing record: the table's own size does not matter (a later page
        // written further down grows the grid).
        const int32_t items = engine.getRecordCountInResultsForTable(tableName, true) - 1 +
                              engine.getRecordCountInResultsForTable(tableName, false) - 1;
        grid.setRows(std::max(items / std::max(fields, 1), 1) + 1);
        grid.setCols(fields + 1);
    }
    grid.setTextMatrix(0, 0, tr("Item#"));
    for (int i = 1; i <= fields; ++i)
        grid.setTextMatrix(0, i, QString::fromStdString(dataFieldNames_[static_cast<std::size_t>(i - 1)]));
    if (metadata && (appVar_.getShowRecordMetadataIfDifferent() || appVar_.getShowRecordMetadata()))
        writeMetadataHeader(grid);
}

void frmMain::fillSummaryGrid(FlexGrid& grid, const std::string& tableName, int32_t firstRow) {
    sifkit::Sifcore& engine = Sifcore1();
    int32_t limit = differencePageLimit(tableName);
    if (limit <= 0)
        limit = 50;
    DifferenceWalk walk(engine, tableName, appVar_.getCurrentMasterRecordIndex(),
                        appVar_.getCurrentSourceRecordIndex());
    int32_t row = firstRow;
    {
        FlexGrid::Batch batch(grid);
        for (int32_t pass = 1; pass <= limit && !walk.done(); ++pass) {
            const DifferenceWalk::Step step = walk.next();
            if (step.recordNumber > 0)
                writeSummaryRow(grid, step.recordNumber, step.isMaster, row++);
        }
    }
    appVar_.setCurrentMasterRecordIndex(walk.masterIndex());
    appVar_.setCurrentSourceRecordIndex(walk.sourceIndex());
    appVar_.setRowTotal(row);

    // The count is of the records that differ, on both sides together (the data items divided
    // by the fields would count a side's last record and round).
    const sifkit::DataResult& result = engine.lastDataResult();
    const auto c = static_cast<int32_t>(result.original.size() + result.modified.size());
    UpdateCount(0, c, "");
    frame_.setPanelText(1, tr("Total Records ="));
    frame_.setPanelText(2, QString::number(c));
}

void frmMain::writeSummaryRow(FlexGrid& grid, int32_t recordNumber, bool isMaster, int32_t row) {
    sifkit::Sifcore& engine = Sifcore1();
    if (row >= grid.rows())
        grid.setRows(row + 1);
    const std::string& tableName = appVar_.getSelectedTableName();
    const uint32_t colour = isMaster ? getOriginalColor() : getModifiedColor();
    grid.setRowData(row, isMaster ? kOriginalRow : kModifiedRow);
    const int fields = static_cast<int>(dataFieldNames_.size());
    for (int i = 0; i <= fields; ++i) {
        grid.setCellStyle(row, i, 0, false);
        grid.setCellBackColour(row, i, colour);
        const QString value =
            i == 0
                ? QString::number(recordNumber)
                : QString::fromStdString(engine.getFieldValueFromRecordNumber(
                      tableName, dataFieldNames_[static_cast<std::size_t>(i - 1)], recordNumber, isMaster));
        grid.setTextMatrix(row, i, value);
        fitColumn(grid, i, value);
    }
}

void frmMain::writeDetailGrid(FlexGrid& grid, bool first) {
    sifkit::Sifcore& engine = Sifcore1();
    const bool s = appVar_.getIsOriginal();
    const std::string& tableName = appVar_.getSelectedTableName();
    const int32_t selected = appVar_.getSelectedRecordNumber();
    const int32_t related = getSelectedRelatedRecordNumber();
    const int fields = static_cast<int>(dataFieldNames_.size());
    const bool metadata = !appVar_.getNoShowRecordMetadata();
    FlexGrid::Batch batch(grid);
    grid.setRows(metadata ? kMetadataHeaderRow + 1 + fields : 3);
    grid.setCols(std::max(fields + 1, kMetadataColumns));
    // Each row wears the colour of the side its record comes from.
    const uint32_t colour = s ? getOriginalColor() : getModifiedColor();
    const int row = first ? 1 : 2;
    for (int i = 0; i <= fields; ++i) {
        grid.setCellStyle(row, i, 0, false);
        grid.setCellBackColour(row, i, colour);
        if (first) {
            // A new selection: the counterpart row waits for its own write.
            grid.setTextMatrix(2, i, "");
            grid.setCellStyle(2, i, 0, false);
            grid.setCellBackColour(2, i, -1);
        }
        if (i == 0) {
            grid.setTextMatrix(row, 0, first ? QString::number(selected) : QString());
            continue;
        }
        const std::string& field = dataFieldNames_[static_cast<std::size_t>(i - 1)];
        if (first) {
            const QString value = selected >= 1 ? QString::fromStdString(engine.getFieldValueFromRecordNumber(
                                                      tableName, field, selected, s))
                                                : QString();
            grid.setTextMatrix(1, i, value);
            fitColumn(grid, i, value);
        } else {
            const std::string value = related >= 1
                                          ? engine.getFieldValueFromRecordNumber(tableName, field, related, s)
                                          : std::string();
            if (!value.empty())
                CopyUpButtonsEnabled(true);
            grid.setTextMatrix(2, i, QString::fromStdString(value));
        }
    }
    if (!metadata || !first)
        return;

    // The fields' change rows of the selected record.
    writeMetadataHeader(grid);
    const std::string noChange = engine.getConstantForNoChange();
    for (int j = 1; j <= fields; ++j) {
        const int metadataRow = kMetadataHeaderRow + j;
        const std::string name = engine.getResultFieldName(j, s);
        const std::string change = engine.getFieldChangeTypeFromRecordNumber(tableName, name, selected, s);
        const bool filled = (appVar_.getShowRecordMetadataIfDifferent() && change != noChange) ||
                            appVar_.getShowRecordMetadata();
        for (int c = 0; c < grid.cols(); ++c)
            grid.setTextMatrix(metadataRow, c, "");
        if (!filled)
            continue;
        grid.setTextMatrix(metadataRow, 0, QString::fromStdString(tableName));
        grid.setTextMatrix(metadataRow, 1, QString::fromStdString(name));
        grid.setTextMatrix(
            metadataRow, 2,
            QString::fromStdString(engine.getFieldDataDescrition(toCode(engine.getResultDataType(j, s)))));
        grid.setTextMatrix(metadataRow, 3,
                           QString::fromStdString(engine.getChangeDesciption(toCode(change))));
    }
}

void frmMain::markChangedDetailValues() {
    FlexGrid& grid = *MSFlexGridDataDiffDetail_;
    if (getSelectedRelatedRecordNumber() < 1)
        return;
    const bool s = appVar_.getIsOriginal();
    detailTopIsOriginal_ = s;
    const uint32_t topTint = fromQColor(changedTint(toQColor(s ? getOriginalColor() : getModifiedColor())));
    const uint32_t bottomTint =
        fromQColor(changedTint(toQColor(s ? getModifiedColor() : getOriginalColor())));
    FlexGrid::Batch batch(grid);
    for (int i = 1; i <= static_cast<int>(dataFieldNames_.size()); ++i) {
        if (grid.textMatrix(1, i) == grid.textMatrix(2, i))
            continue;
        grid.setCellStyle(1, i, 0, true);
        grid.setCellBackColour(1, i, topTint);
        grid.setCellStyle(2, i, 0, true);
        grid.setCellBackColour(2, i, bottomTint);
    }
}

QString frmMain::detailToolTip(int row, int col) const {
    const FlexGrid& grid = *MSFlexGridDataDiffDetail_;
    if ((row != 1 && row != 2) || col < 1 || !grid.cellBold(row, col))
        return {};
    const bool topIsOriginal = detailTopIsOriginal_;
    const QString original = grid.textMatrix(topIsOriginal ? 1 : 2, col);
    const QString modified = grid.textMatrix(topIsOriginal ? 2 : 1, col);
    return tr("Original: %1 / Modified: %2").arg(original, modified);
}

int32_t frmMain::summaryRowRecord(int row, bool& isOriginal) const {
    const FlexGrid& grid = *msFlexGridDataDiff_;
    if (grid.textMatrix(0, 0) != tr("Item#") || row < 1 || grid.textMatrix(row, 0).isEmpty())
        return -1;
    bool ok = false;
    const int32_t r = grid.textMatrix(row, 0).toInt(&ok);
    if (!ok)
        return -1;
    // The side is the row's own, never told by its colour: the two sides may share one.
    const int64_t side = grid.rowData(row);
    if (side != kOriginalRow && side != kModifiedRow)
        return -1;
    isOriginal = side == kOriginalRow;
    return r;
}

void frmMain::msFlexGridDataDiff_Click(int row) {
    bool isOriginal = appVar_.getIsOriginal();
    const int32_t r = summaryRowRecord(row, isOriginal);
    appVar_.setSelectedRecordNumber(r);
    if (r < 1)
        return;
    appVar_.setIsOriginal(isOriginal);
    const QString text =
        QString::fromStdString(differenceEntryText(appVar_.getSelectedTableName(), r, isOriginal));
    // The entry of the list when the page lists it, else the text alone.
    const int listed = cboDataDiffSummary_->findText(text, Qt::MatchStartsWith);
    if (listed >= 0)
        cboDataDiffSummary_->setCurrentIndex(listed);
    else
        cboDataDiffSummary_->setEditText(text);
    const QSignalBlocker quiet(tsDataDiff_);
    tsDataDiff_->setCurrentIndex(1);
    showSelectedDifference(cboDataDiffSummary_->currentText().toStdString(), true);
}

void frmMain::msFlexGridDataDiff_RowColChange(int row) {
    bool isOriginal = appVar_.getIsOriginal();
    const int32_t r = summaryRowRecord(row, isOriginal);
    if (r < 1)
        return;
    appVar_.setSelectedRecordNumber(r);
    appVar_.setIsOriginal(isOriginal);
    writeDetailGrid(*MSFlexGridDataDiffDetail_, true);
    msFlexGridDataDiff_->viewport()->update();
}

void frmMain::msFlexGridDataDiff_Scroll() {
    FlexGrid& grid = *msFlexGridDataDiff_;
    const int32_t lastFilled = appVar_.getRowTotal() - 1;
    const int bottom = grid.rowAt(grid.viewport()->height() - 1);
    const bool lastShown = bottom < 0 || bottom >= lastFilled;
    if (!lastShown || appVar_.getRowTotal() >= getTotalGridCount())
        return;
    if (appVar_.getSelectedTableName().empty() || grid.rows() <= 1 || summaryExtensionPending_)
        return;
    // The next page reaches the drop-down too; the difference shown stays. It is listed once the
    // scroll bar has told of this move: filling the grid changes the bar's own range.
    summaryExtensionPending_ = true;
    QTimer::singleShot(0, this, [this] {
        summaryExtensionPending_ = false;
        appendNextPage(false);
    });
}

} // namespace dbsift
