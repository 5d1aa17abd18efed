// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataResult.h>
#include <sifkit/SyncPlan.h>

#include <QAbstractTableModel>
#include <QColor>
#include <QSortFilterProxyModel>

#include <array>
#include <cstdint>
#include <vector>

namespace dbsift {

/// How a row of the paired view differs. CopiesDiffer: a record of a table without a key that
/// both sides hold, a different number of times.
enum class DifferenceKind { Changed, OnlyInOriginal, OnlyInModified, CopiesDiffer };

/// Every difference of a data result, one row per record or pair of records with the same key:
/// a changed pair (both sides, its changed cells marked), a record only in the Original, a
/// record only in the Modified; for a table without a key, also each record both sides hold a
/// different number of times, with both counts. The columns are the kind, the two record numbers and the
/// compared columns. The side and the records are kept in the row, never told by a colour. Each
/// row can be chosen, to bring its records into line.
class DifferenceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        KindRole = Qt::UserRole + 1, ///< the row's DifferenceKind, as an int
        SortRole,                    ///< numbers as numbers, texts as texts
        ChangedRole,                 ///< whether the cell's value differs between the pair
    };
    static constexpr int fixedColumns = 3; ///< kind, Original record, Modified record

    explicit DifferenceModel(QObject* parent = nullptr);

    /// Shows a result; the colours are those of the Original's and the Modified's records and of
    /// a changed value.
    void setResult(const sifkit::DataResult& result, const QColor& originalColour,
                   const QColor& modifiedColour, const QColor& changedColour);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Rows of each kind, in the order of DifferenceKind.
    std::array<int, 4> kindCounts() const;
    /// Whether a compared column (a model column) differs in any changed pair.
    bool columnChanges(int column) const;
    /// Whether a model column is one of the key's.
    bool isKeyColumn(int column) const;
    /// A row's text in one cell a column, as copied and exported: the value of each side
    /// separated by " → " for a changed cell.
    QString cellText(int row, int column) const;

    /// Rows chosen to be brought into line, by the check box of their first cell. Rows of copies
    /// that differ cannot be chosen: such copies cannot be told apart.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canChoose(int row) const;
    bool isChosen(int row) const;
    /// Chooses or clears rows (of the model) at once.
    void choose(const QList<int>& rows, bool chosen);
    int chosenCount() const;
    /// The records of the chosen rows, as a sync plan takes them.
    sifkit::SyncChoice syncChoice() const;
    /// The result the rows show.
    const sifkit::DataResult& result() const { return result_; }

    static QString kindName(DifferenceKind kind);

private:
    struct Pair {
        DifferenceKind kind = DifferenceKind::Changed;
        const sifkit::DataRecord* original = nullptr;
        const sifkit::DataRecord* modified = nullptr;
        int32_t originalCopies = 0; ///< of a CopiesDiffer row
        int32_t modifiedCopies = 0;
    };

    /// The value of a compared column for one side's record; nullptr where it has none.
    const sifkit::Value* valueOf(const sifkit::DataRecord* record, int column) const;
    /// Whether the pair's values of a model column differ, as worked out once in setResult.
    bool cellChanged(int row, int column) const;

    sifkit::DataResult result_;
    std::vector<Pair> rows_;
    std::vector<std::string> columns_;  ///< the compared columns, in the Original's order
    std::vector<int> modifiedPosition_; ///< each column's place in the Modified's records
    std::vector<bool> columnChanges_;   ///< by compared column
    std::vector<bool> changedCells_;    ///< by row, then compared column
    std::vector<bool> chosen_;          ///< by row
    QColor originalColour_, modifiedColour_, changedColour_;
};

/// The paired view's rows as the user narrows them: one kind or all, and a text that any cell
/// of the row holds, whatever its letter case.
class DifferenceFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit DifferenceFilter(QObject* parent = nullptr);
    /// -1 for every kind, else a DifferenceKind.
    void setKind(int kind);
    void setSearchText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    int kind_ = -1;
    QString search_;
};

} // namespace dbsift
