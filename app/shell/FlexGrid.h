// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QTableView>

#include <cstdint>
#include <set>
#include <vector>

namespace dbsift {

/// Twips per pixel: the windows' measures are kept in twips, as the settings file stores them.
inline constexpr int kTwipsPerPixel = 15;

/// One cell of a FlexGrid: text, text colour, optional back colour and bold flag. Colours are
/// 32-bit values with red in the low byte; a text colour of 0 (black) is the palette's own.
struct FlexCell {
    QString text;
    uint32_t foreColour = 0;
    int64_t backColour = -1; ///< -1: the grid's own background
    bool bold = false;
    int64_t data = 0; ///< a value the cell carries unseen (the row's data, in column 0)
};

/// The cells of a FlexGrid: a plain rows x columns matrix; row 0 is the grid's fixed header row,
/// which the view shows as its header (the row itself is hidden there).
/// Bulk fills run inside a batch (FlexGrid::Batch) and reset the view once at its end, so filling
/// tens of thousands of rows costs about what storing the strings costs.
class FlexGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : cols_; }
    QVariant data(const QModelIndex& index, int role) const override;
    /// The horizontal header shows row 0, so that it stays in place and is never selected.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void resize(int rows, int cols);
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    const FlexCell& cell(int row, int col) const;
    /// The cell for writing; out-of-range positions give a scratch cell that is thrown away.
    FlexCell& mutableCell(int row, int col);
    void clearTexts();
    void changed(int row, int col);

    void beginBatch() { ++batchDepth_; }
    void endBatch();

    /// The palette the cells are shown against: the header row takes its button colours, and
    /// every text is shown in a colour that reads on its cell's background.
    void setPalette(const QPalette& palette);

private:
    QColor background(const FlexCell& c, int row) const;

    QPalette palette_;
    int rows_ = 0;
    int cols_ = 0;
    std::vector<FlexCell> cells_;
    FlexCell scratch_;
    int batchDepth_ = 0;
};

/// The grid control the windows use: cells addressed by (row, column) from 0, a fixed header row
/// 0, per-cell text colour, back colour and bold flag, column widths in twips.
class FlexGrid final : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    /// Holds the view's updates while many cells are written; resets the view once when the last
    /// batch ends.
    class Batch {
    public:
        explicit Batch(FlexGrid& grid) : model_(grid.model_) { model_->beginBatch(); }
        ~Batch() { model_->endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        FlexGridModel* model_;
    };

    int rows() const { return model_->rows(); }
    void setRows(int rows) { model_->resize(rows, model_->cols()); }
    int cols() const { return model_->cols(); }
    void setCols(int cols);

    QString textMatrix(int row, int col) const { return model_->cell(row, col).text; }
    void setTextMatrix(int row, int col, const QString& text);
    uint32_t cellForeColour(int row, int col) const { return model_->cell(row, col).foreColour; }
    int64_t cellBackColour(int row, int col) const { return model_->cell(row, col).backColour; }
    bool cellBold(int row, int col) const { return model_->cell(row, col).bold; }
    void setCellStyle(int row, int col, uint32_t foreColour, bool bold);
    void setCellBackColour(int row, int col, int64_t backColour);
    /// A value a row carries unseen (what it stands for), 0 until set and after clear().
    void setRowData(int row, int64_t value);
    int64_t rowData(int row) const;

    /// Column width in twips: the width the window asks for, which the settings file keeps.
    int colWidth(int col) const;
    void setColWidth(int col, int twips);

    /// With fitting on, the columns are as wide as their texts (up to a limit, the full text in
    /// the tooltip) whatever widths were asked for; when they do not fit the grid, the widest
    /// give way first so that every column stays in view.
    void setFitColumnsToContents(bool fit);
    bool fitColumnsToContents() const { return fit_; }
    /// The widest a fitted column grows, in pixels.
    int fittedColumnLimit() const;
    /// A column kept whole gives way only when the others can give no more.
    void setColumnKeptWhole(int col, bool whole = true);

    /// Clears every cell's text and style; rows and columns stay.
    void clear();
    FlexGridModel& gridModel() { return *model_; }

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyColumnWidths();
    /// Measures every column's texts (the header and the first rows), then lays the columns out.
    void measureColumns();
    void layoutFittedColumns();

    FlexGridModel* model_;
    std::vector<int> colWidths_; ///< twips, kept across model resets
    bool applyingWidths_ = false;
    bool fit_ = false;
    std::vector<int> contentWidths_; ///< pixels, the widest text of each column
    std::vector<int> valueWidths_;   ///< pixels, the widest text below the header row
    std::set<int> keptWhole_;
};

/// A colour value (red in the low byte) as a QColor.
QColor toQColor(uint32_t colour);
/// A QColor as a colour value (red in the low byte).
uint32_t fromQColor(const QColor& colour);

} // namespace dbsift
