// SPDX-License-Identifier: MIT
#include "shell/FlexGrid.h"

#include <QHeaderView>

namespace dbsift {

QColor toQColor(uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

uint32_t fromQColor(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
           static_cast<uint32_t>(colour.blue()) << 16;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const FlexCell& c = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return c.text.isEmpty() ? QVariant() : QVariant(c.text);
    case Qt::ForegroundRole:
        return c.foreColour == 0 ? QVariant() : QVariant(toQColor(c.foreColour));
    case Qt::BackgroundRole:
        if (c.backColour >= 0)
            return toQColor(static_cast<uint32_t>(c.backColour));
        return index.row() == 0 ? QVariant(QColor(0xE8, 0xE8, 0xE8)) : QVariant();
    case Qt::FontRole:
        if (c.bold || index.row() == 0) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

void FlexGridModel::resize(int rows, int cols) {
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (rows == rows_ && cols == cols_)
        return;
    std::vector<FlexCell> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            cells[static_cast<std::size_t>(r) * cols + c] =
                std::move(cells_[static_cast<std::size_t>(r) * cols_ + c]);
    if (batchDepth_ == 0)
        beginResetModel();
    cells_ = std::move(cells);
    rows_ = rows;
    cols_ = cols;
    if (batchDepth_ == 0)
        endResetModel();
}

const FlexCell& FlexGridModel::cell(int row, int col) const {
    static const FlexCell empty;
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_)
        return empty;
    return cells_[static_cast<std::size_t>(row) * cols_ + col];
}

FlexCell& FlexGridModel::mutableCell(int row, int col) {
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_) {
        scratch_ = FlexCell();
        return scratch_;
    }
    return cells_[static_cast<std::size_t>(row) * cols_ + col];
}

void FlexGridModel::clearTexts() {
    for (FlexCell& c : cells_)
        c = FlexCell();
    if (batchDepth_ == 0 && rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

void FlexGridModel::changed(int row, int col) {
    if (batchDepth_ == 0 && row >= 0 && col >= 0 && row < rows_ && col < cols_)
        emit dataChanged(index(row, col), index(row, col));
}

void FlexGridModel::endBatch() {
    if (--batchDepth_ == 0) {
        beginResetModel();
        endResetModel();
    }
}

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this)) {
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    // A model reset gives every section the default size; the grid's widths are its own.
    connect(model_, &QAbstractItemModel::modelReset, this, &FlexGrid::applyColumnWidths);
    // The last column takes what room is left, so no text is cut short beside empty space; its
    // width setting stays what the window set, as it is the one the settings file keeps.
    horizontalHeader()->setStretchLastSection(true);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        const int last = static_cast<int>(colWidths_.size()) - 1;
        if (!applyingWidths_ && col >= 0 && col < last)
            colWidths_[col] = size * kTwipsPerPixel;
    });
}

void FlexGrid::applyColumnWidths() {
    applyingWidths_ = true;
    for (int c = 0; c < static_cast<int>(colWidths_.size()); ++c)
        setColumnWidth(c, colWidths_[c] / kTwipsPerPixel);
    applyingWidths_ = false;
}

void FlexGrid::setCols(int cols) {
    colWidths_.resize(static_cast<std::size_t>(std::max(cols, 0)), 1000);
    model_->resize(model_->rows(), cols);
    applyColumnWidths();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    model_->mutableCell(row, col).text = text;
    model_->changed(row, col);
}

void FlexGrid::setCellStyle(int row, int col, uint32_t foreColour, bool bold) {
    FlexCell& c = model_->mutableCell(row, col);
    c.foreColour = foreColour;
    c.bold = bold;
    model_->changed(row, col);
}

void FlexGrid::setCellBackColour(int row, int col, int64_t backColour) {
    model_->mutableCell(row, col).backColour = backColour;
    model_->changed(row, col);
}

int FlexGrid::colWidth(int col) const {
    return col >= 0 && col < static_cast<int>(colWidths_.size()) ? colWidths_[col] : 0;
}

void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= static_cast<int>(colWidths_.size()))
        return;
    colWidths_[col] = std::max(twips, 0);
    applyingWidths_ = true;
    setColumnWidth(col, colWidths_[col] / kTwipsPerPixel);
    applyingWidths_ = false;
}

void FlexGrid::clear() {
    model_->clearTexts();
}

} // namespace dbsift
