// SPDX-License-Identifier: MIT
#include "shell/FlexGrid.h"

#include "shell/Colours.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <numeric>

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
    case Qt::ForegroundRole: {
        const QColor back = background(c, index.row());
        if (c.foreColour != 0)
            return readableAccentOn(toQColor(c.foreColour), back);
        if (index.row() == 0 && c.backColour < 0) {
            const QColor buttonText = palette_.color(QPalette::ButtonText);
            if (contrastRatio(buttonText, back) >= 4.5)
                return buttonText;
        }
        return readableTextOn(back, palette_);
    }
    case Qt::BackgroundRole:
        if (c.backColour >= 0 || index.row() == 0)
            return background(c, index.row());
        return {};
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

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || rows_ == 0 || section < 0 || section >= cols_)
        return {};
    const FlexCell& c = cell(0, section);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return c.text.isEmpty() ? QVariant() : QVariant(c.text);
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::BackgroundRole:
        return c.backColour >= 0 ? QVariant(background(c, 0)) : QVariant();
    case Qt::ForegroundRole:
        return c.backColour >= 0 || c.foreColour != 0 ? data(index(0, section), role) : QVariant();
    default:
        return {};
    }
}

QColor FlexGridModel::background(const FlexCell& c, int row) const {
    if (c.backColour >= 0)
        return toQColor(static_cast<uint32_t>(c.backColour));
    return row == 0 ? headerBackground(palette_) : palette_.color(QPalette::Base);
}

void FlexGridModel::setPalette(const QPalette& palette) {
    palette_ = palette;
    if (rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
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
    if (batchDepth_ == 0 && rows_ > 0 && cols_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    }
}

void FlexGridModel::changed(int row, int col) {
    if (batchDepth_ == 0 && row >= 0 && col >= 0 && row < rows_ && col < cols_) {
        emit dataChanged(index(row, col), index(row, col));
        if (row == 0)
            emit headerDataChanged(Qt::Horizontal, col, col);
    }
}

void FlexGridModel::endBatch() {
    if (--batchDepth_ == 0) {
        beginResetModel();
        endResetModel();
    }
}

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this)) {
    setModel(model_);
    model_->setPalette(palette());
    // Tab leaves the grid for the next control; the arrow keys move between cells.
    setTabKeyNavigation(false);
    // Row 0 is shown as the header: it stays in place while the rows scroll, and is no row to
    // select.
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
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
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (model_->rows() == 0)
            return;
        setRowHidden(0, true);
    });
    // The last column takes what room is left, so no text is cut short beside empty space; its
    // width setting stays what the window set, as it is the one the settings file keeps.
    horizontalHeader()->setStretchLastSection(true);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        const int last = static_cast<int>(colWidths_.size()) - 1;
        if (!applyingWidths_ && col >= 0 && col < last)
            colWidths_[col] = size * kTwipsPerPixel;
    });
}

void FlexGrid::focusInEvent(QFocusEvent* event) {
    // Focus alone makes no row current (the view would take the first one): the window acts on
    // the current row, and only the user's or the window's own moves may choose it.
    if (currentIndex().isValid()) {
        QTableView::focusInEvent(event);
        return;
    }
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void FlexGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        model_->setPalette(palette());
    else if (event->type() == QEvent::FontChange && fit_)
        measureColumns();
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (fit_)
        layoutFittedColumns();
}

void FlexGrid::setFitColumnsToContents(bool fit) {
    if (fit_ == fit)
        return;
    fit_ = fit;
    if (fit_) {
        connect(model_, &QAbstractItemModel::dataChanged, this, &FlexGrid::measureColumns,
                Qt::UniqueConnection);
        measureColumns();
    } else {
        disconnect(model_, &QAbstractItemModel::dataChanged, this, &FlexGrid::measureColumns);
        applyColumnWidths();
    }
}

int FlexGrid::fittedColumnLimit() const {
    return fontMetrics().averageCharWidth() * 40;
}

void FlexGrid::measureColumns() {
    // The first rows stand for the rest: a summary of tens of thousands of records is measured
    // in the time of a few hundred.
    constexpr int kMeasuredRows = 300;
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 10;
    const int cols = model_->cols();
    const int rows = std::min(model_->rows(), kMeasuredRows);
    contentWidths_.assign(static_cast<std::size_t>(cols), 0);
    valueWidths_.assign(static_cast<std::size_t>(cols), 0);
    for (int c = 0; c < cols; ++c) {
        int widest = 0;
        for (int r = 1; r < rows; ++r) {
            const QString& text = model_->cell(r, c).text;
            if (!text.isEmpty())
                widest = std::max(widest, metrics.horizontalAdvance(text));
        }
        valueWidths_[static_cast<std::size_t>(c)] = widest + padding;
        const QString& header = model_->cell(0, c).text;
        contentWidths_[static_cast<std::size_t>(c)] =
            std::max(widest, header.isEmpty() ? 0 : metrics.horizontalAdvance(header)) + padding;
    }
    layoutFittedColumns();
}

namespace {

/// Cuts the widest of the given columns to a common cap, the largest with which they fit the
/// room; none goes below narrowest.
void shareRoom(std::vector<int>& widths, const std::vector<int>& columns, int room, int narrowest) {
    int total = 0;
    for (int c : columns)
        total += widths[static_cast<std::size_t>(c)];
    if (total <= room || columns.empty())
        return;
    std::vector<int> sorted;
    for (int c : columns)
        sorted.push_back(widths[static_cast<std::size_t>(c)]);
    std::sort(sorted.begin(), sorted.end());
    int cap = narrowest;
    int used = 0;
    const int count = static_cast<int>(sorted.size());
    for (int i = 0; i < count; ++i) {
        const int even = (room - used) / (count - i);
        if (sorted[static_cast<std::size_t>(i)] > even) {
            cap = std::max(even, narrowest);
            break;
        }
        used += sorted[static_cast<std::size_t>(i)];
    }
    for (int c : columns)
        widths[static_cast<std::size_t>(c)] = std::min(widths[static_cast<std::size_t>(c)], cap);
}

} // namespace

void FlexGrid::setColumnKeptWhole(int col, bool whole) {
    if (whole)
        keptWhole_.insert(col);
    else
        keptWhole_.erase(col);
    layoutFittedColumns();
}

void FlexGrid::layoutFittedColumns() {
    const int cols = static_cast<int>(contentWidths_.size());
    if (!fit_ || cols == 0 || cols != model_->cols())
        return;
    const int narrowest = fontMetrics().averageCharWidth() * 4;
    const int limit = fittedColumnLimit();
    std::vector<int> wanted(contentWidths_.size());
    std::transform(contentWidths_.begin(), contentWidths_.end(), wanted.begin(),
                   [&](int width) { return std::clamp(width, narrowest, std::max(limit, narrowest)); });
    // The room there is, whether or not the vertical scroll bar shows now.
    int room = viewport()->width();
    if (!verticalScrollBar()->isVisibleTo(this) &&
        model_->rows() * verticalHeader()->defaultSectionSize() > height())
        room -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    int total = std::accumulate(wanted.begin(), wanted.end(), 0);
    // A header wider than its column's values is cut first (its tooltip holds it).
    for (int c = 0; c < cols && total > room && room > 0; ++c) {
        int& width = wanted[static_cast<std::size_t>(c)];
        const int values = std::max(valueWidths_[static_cast<std::size_t>(c)], narrowest);
        const int give = std::min(width - values, total - room);
        if (give > 0) {
            width -= give;
            total -= give;
        }
    }
    if (total > room && room > 0) {
        // The other columns give way before those kept whole; within each group the widest first.
        std::vector<int> others;
        std::vector<int> kept;
        int keptWidth = 0;
        for (int c = 0; c < cols; ++c) {
            if (keptWhole_.count(c)) {
                kept.push_back(c);
                keptWidth += wanted[static_cast<std::size_t>(c)];
            } else {
                others.push_back(c);
            }
        }
        const int othersRoom = room - keptWidth;
        if (othersRoom >= narrowest * static_cast<int>(others.size())) {
            shareRoom(wanted, others, othersRoom, narrowest);
        } else {
            for (int c : others)
                wanted[static_cast<std::size_t>(c)] =
                    std::min(wanted[static_cast<std::size_t>(c)], narrowest);
            int othersWidth = 0;
            for (int c : others)
                othersWidth += wanted[static_cast<std::size_t>(c)];
            shareRoom(wanted, kept, room - othersWidth, narrowest);
        }
    }
    applyingWidths_ = true;
    for (int c = 0; c < cols; ++c)
        setColumnWidth(c, wanted[static_cast<std::size_t>(c)]);
    applyingWidths_ = false;
}

void FlexGrid::applyColumnWidths() {
    if (fit_) {
        measureColumns();
        return;
    }
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
    if (fit_)
        return;
    applyingWidths_ = true;
    setColumnWidth(col, colWidths_[col] / kTwipsPerPixel);
    applyingWidths_ = false;
}

void FlexGrid::setRowData(int row, int64_t value) {
    model_->mutableCell(row, 0).data = value;
}

int64_t FlexGrid::rowData(int row) const {
    return model_->cell(row, 0).data;
}

void FlexGrid::clear() {
    model_->clearTexts();
}

} // namespace dbsift
