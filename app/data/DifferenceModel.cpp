// SPDX-License-Identifier: MIT
#include "data/DifferenceModel.h"

#include "shell/Colours.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <memory>

namespace dbsift {

namespace {

QString shown(const sifkit::Value* value) {
    if (!value)
        return {};
    if (value->isNull())
        return DifferenceModel::tr("(Null)");
    return QString::fromStdString(value->toString());
}

/// Whether two values read from the two sides are the same value as far as the view can tell:
/// equal, or the same number in two spellings (an integer 7 and a decimal 7.00).
bool sameValue(const sifkit::Value& a, const sifkit::Value& b) {
    if (a == b)
        return true;
    if (a.isNull() || b.isNull())
        return false;
    bool aNumber = false, bNumber = false;
    const double x = QString::fromStdString(a.toString()).toDouble(&aNumber);
    const double y = QString::fromStdString(b.toString()).toDouble(&bNumber);
    const auto isNumber = [](const sifkit::Value& v) {
        return v.kind() == sifkit::Value::Kind::Integer || v.kind() == sifkit::Value::Kind::Real;
    };
    const bool numeric = isNumber(a) || isNumber(b);
    return numeric && aNumber && bNumber && x == y;
}

} // namespace

DifferenceModel::DifferenceModel(QObject* parent) : QAbstractTableModel(parent) {}

QString DifferenceModel::kindName(DifferenceKind kind) {
    switch (kind) {
    case DifferenceKind::Changed:
        return tr("Changed");
    case DifferenceKind::OnlyInOriginal:
        return tr("Only in Original");
    case DifferenceKind::OnlyInModified:
        return tr("Only in Modified");
    case DifferenceKind::CopiesDiffer:
        return tr("Copies differ");
    }
    return {};
}

void DifferenceModel::clear() {
    beginResetModel();
    result_ = {};
    rows_.clear();
    columns_.clear();
    modifiedPosition_.clear();
    columnChanges_.clear();
    chosen_.clear();
    endResetModel();
}

void DifferenceModel::setResult(const sifkit::DataResult& result, const QColor& originalColour,
                                const QColor& modifiedColour, const QColor& changedColour) {
    beginResetModel();
    result_ = result;
    originalColour_ = originalColour;
    modifiedColour_ = modifiedColour;
    changedColour_ = changedColour;
    rows_.clear();
    columns_.clear();
    modifiedPosition_.clear();
    for (const sifkit::ColumnSchema& column : result_.originalColumns) {
        columns_.push_back(column.name);
        modifiedPosition_.push_back(result_.columnPosition(sifkit::Side::Modified, column.name));
    }
    // A pair is an Original record and the Modified record with its key; each record is in one
    // row only, in the Original's order, then the Modified records left over in theirs.
    std::vector<const sifkit::DataRecord*> modifiedByNumber;
    for (const sifkit::DataRecord& record : result_.modified) {
        if (record.number >= static_cast<int32_t>(modifiedByNumber.size()))
            modifiedByNumber.resize(static_cast<std::size_t>(record.number) + 1, nullptr);
        modifiedByNumber[static_cast<std::size_t>(record.number)] = &record;
    }
    std::vector<bool> paired(modifiedByNumber.size(), false); // by Modified record number
    for (const sifkit::DataRecord& record : result_.original) {
        const std::size_t number = record.counterpart > 0 ? static_cast<std::size_t>(record.counterpart) : 0;
        const sifkit::DataRecord* counterpart =
            number < modifiedByNumber.size() ? modifiedByNumber[number] : nullptr;
        if (counterpart && !paired[number]) {
            paired[number] = true;
            rows_.push_back({DifferenceKind::Changed, &record, counterpart});
        } else {
            rows_.push_back({DifferenceKind::OnlyInOriginal, &record, nullptr});
        }
    }
    for (const sifkit::DataRecord& record : result_.modified)
        if (modifiedByNumber[static_cast<std::size_t>(record.number)] != &record ||
            !paired[static_cast<std::size_t>(record.number)])
            rows_.push_back({DifferenceKind::OnlyInModified, nullptr, &record});
    // Without a key, a copy one side lacks differs too, though the record has an equal one there.
    for (const sifkit::RecordCopies& copies : result_.copies)
        if (copies.heldByBoth())
            rows_.push_back({DifferenceKind::CopiesDiffer, &copies.record, nullptr, copies.originalCopies,
                             copies.modifiedCopies});
    columnChanges_.assign(columns_.size(), false);
    changedCells_.assign(rows_.size() * columns_.size(), false);
    chosen_.assign(rows_.size(), false);
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const Pair& pair = rows_[row];
        if (pair.kind != DifferenceKind::Changed)
            continue;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const sifkit::Value* original = valueOf(pair.original, static_cast<int>(c) + fixedColumns);
            const sifkit::Value* modified = valueOf(pair.modified, static_cast<int>(c) + fixedColumns);
            if (original && modified && !sameValue(*original, *modified)) {
                changedCells_[row * columns_.size() + c] = true;
                columnChanges_[c] = true;
            }
        }
    }
    endResetModel();
}

int DifferenceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DifferenceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fixedColumns + static_cast<int>(columns_.size());
}

const sifkit::Value* DifferenceModel::valueOf(const sifkit::DataRecord* record, int column) const {
    const int c = column - fixedColumns;
    if (!record || c < 0 || c >= static_cast<int>(columns_.size()))
        return nullptr;
    const int position =
        record->side == sifkit::Side::Original ? c : modifiedPosition_[static_cast<std::size_t>(c)];
    if (position < 0 || position >= static_cast<int>(record->values.size()))
        return nullptr;
    return &record->values[static_cast<std::size_t>(position)];
}

bool DifferenceModel::cellChanged(int row, int column) const {
    const int c = column - fixedColumns;
    if (c < 0 || c >= static_cast<int>(columns_.size()))
        return false;
    return changedCells_[static_cast<std::size_t>(row) * columns_.size() + static_cast<std::size_t>(c)];
}

QString DifferenceModel::cellText(int row, int column) const {
    const Pair& pair = rows_.at(static_cast<std::size_t>(row));
    switch (column) {
    case 0:
        if (pair.kind == DifferenceKind::CopiesDiffer)
            return tr("%1 (%2 : %3)")
                .arg(kindName(pair.kind))
                .arg(pair.originalCopies)
                .arg(pair.modifiedCopies);
        return kindName(pair.kind);
    case 1:
        return pair.original ? QString::number(pair.original->number) : QString();
    case 2:
        return pair.modified ? QString::number(pair.modified->number) : QString();
    default:
        if (cellChanged(row, column))
            return shown(valueOf(pair.original, column)) + QStringLiteral(" → ") +
                   shown(valueOf(pair.modified, column));
        return shown(valueOf(pair.original ? pair.original : pair.modified, column));
    }
}

QVariant DifferenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Pair& pair = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    const bool changed = cellChanged(index.row(), column);
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), column);
    case Qt::ToolTipRole:
        if (pair.kind == DifferenceKind::CopiesDiffer && column < fixedColumns)
            return tr("Copies of this record: %1 in the Original, %2 in the Modified; "
                      "the Original's first is shown.")
                .arg(pair.originalCopies)
                .arg(pair.modifiedCopies);
        if (changed)
            return tr("Original: %1 / Modified: %2")
                .arg(shown(valueOf(pair.original, column)), shown(valueOf(pair.modified, column)));
        return cellText(index.row(), column);
    case Qt::FontRole:
        if (changed || column == 0) {
            QFont font;
            font.setBold(true);
            return font;
        }
        if (column >= fixedColumns) {
            const sifkit::Value* value = valueOf(pair.original ? pair.original : pair.modified, column);
            if (value && value->isNull()) {
                QFont font;
                font.setItalic(true);
                return font;
            }
        }
        return {};
    case Qt::BackgroundRole:
        if (changed)
            return changedColour_;
        if (pair.kind == DifferenceKind::OnlyInOriginal)
            return originalColour_;
        if (pair.kind == DifferenceKind::OnlyInModified)
            return modifiedColour_;
        return {};
    case Qt::ForegroundRole: {
        const QColor* background = changed                                       ? &changedColour_
                                   : pair.kind == DifferenceKind::OnlyInOriginal ? &originalColour_
                                   : pair.kind == DifferenceKind::OnlyInModified ? &modifiedColour_
                                                                                 : nullptr;
        if (!background)
            return {};
        return readableTextOn(*background, QGuiApplication::palette());
    }
    case Qt::CheckStateRole:
        if (column == 0 && canChoose(index.row()))
            return isChosen(index.row()) ? Qt::Checked : Qt::Unchecked;
        return {};
    case KindRole:
        return static_cast<int>(pair.kind);
    case ChangedRole:
        return changed;
    case SortRole:
        if (column == 1 || column == 2) {
            const sifkit::DataRecord* record = column == 1 ? pair.original : pair.modified;
            return record ? record->number : 0;
        }
        if (column >= fixedColumns) {
            const sifkit::Value* value = valueOf(pair.original ? pair.original : pair.modified, column);
            if (value && value->kind() == sifkit::Value::Kind::Integer)
                return static_cast<qlonglong>(value->asInteger());
            if (value && value->kind() == sifkit::Value::Kind::Real)
                return value->asReal();
        }
        return cellText(index.row(), column);
    default:
        return {};
    }
}

Qt::ItemFlags DifferenceModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0 && canChoose(index.row()))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool DifferenceModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || !canChoose(index.row()))
        return false;
    choose({index.row()}, value.toInt() == Qt::Checked);
    return true;
}

bool DifferenceModel::canChoose(int row) const {
    return row >= 0 && row < rowCount() &&
           rows_[static_cast<std::size_t>(row)].kind != DifferenceKind::CopiesDiffer;
}

bool DifferenceModel::isChosen(int row) const {
    return canChoose(row) && chosen_[static_cast<std::size_t>(row)];
}

void DifferenceModel::choose(const QList<int>& rows, bool chosen) {
    // One signal for the whole span changed: a signal per row would have the view count the
    // chosen rows again for each of many thousands.
    int first = rowCount(), last = -1;
    for (int row : rows)
        if (canChoose(row) && chosen_[static_cast<std::size_t>(row)] != chosen) {
            chosen_[static_cast<std::size_t>(row)] = chosen;
            first = std::min(first, row);
            last = std::max(last, row);
        }
    if (last >= first)
        emit dataChanged(index(first, 0), index(last, 0), {Qt::CheckStateRole});
}

int DifferenceModel::chosenCount() const {
    return static_cast<int>(std::count(chosen_.begin(), chosen_.end(), true));
}

sifkit::SyncChoice DifferenceModel::syncChoice() const {
    // Looked up by record number: a plan asks once for every reported record.
    auto chosen = std::make_shared<std::array<std::vector<bool>, 2>>();
    const auto mark = [&](const sifkit::DataRecord* record) {
        if (!record)
            return;
        std::vector<bool>& side = (*chosen)[record->side == sifkit::Side::Original ? 0 : 1];
        if (record->number >= static_cast<int32_t>(side.size()))
            side.resize(static_cast<std::size_t>(record->number) + 1, false);
        side[static_cast<std::size_t>(record->number)] = true;
    };
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (chosen_[row]) {
            mark(rows_[row].original);
            mark(rows_[row].modified);
        }
    return [chosen](sifkit::Side side, int32_t number) {
        const std::vector<bool>& records = (*chosen)[side == sifkit::Side::Original ? 0 : 1];
        return number >= 0 && static_cast<std::size_t>(number) < records.size() &&
               records[static_cast<std::size_t>(number)];
    };
}

QVariant DifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case 0:
        return tr("Difference");
    case 1:
        return tr("Original #");
    case 2:
        return tr("Modified #");
    default:
        if (section - fixedColumns < static_cast<int>(columns_.size()))
            return QString::fromStdString(columns_[static_cast<std::size_t>(section - fixedColumns)]);
        return {};
    }
}

std::array<int, 4> DifferenceModel::kindCounts() const {
    std::array<int, 4> counts{};
    for (const Pair& pair : rows_)
        ++counts[static_cast<std::size_t>(pair.kind)];
    return counts;
}

bool DifferenceModel::columnChanges(int column) const {
    const int c = column - fixedColumns;
    return c >= 0 && c < static_cast<int>(columnChanges_.size()) &&
           columnChanges_[static_cast<std::size_t>(c)];
}

bool DifferenceModel::isKeyColumn(int column) const {
    const int c = column - fixedColumns;
    if (c < 0 || c >= static_cast<int>(columns_.size()))
        return false;
    const std::vector<std::string>& key = result_.keyColumns;
    return std::find(key.begin(), key.end(), columns_[static_cast<std::size_t>(c)]) != key.end();
}

DifferenceFilter::DifferenceFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(DifferenceModel::SortRole);
}

void DifferenceFilter::setKind(int kind) {
    if (kind == kind_)
        return;
    kind_ = kind;
    invalidateRowsFilter();
}

void DifferenceFilter::setSearchText(const QString& text) {
    if (text == search_)
        return;
    search_ = text;
    invalidateRowsFilter();
}

bool DifferenceFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QAbstractItemModel* model = sourceModel();
    if (kind_ >= 0 &&
        model->index(sourceRow, 0, sourceParent).data(DifferenceModel::KindRole).toInt() != kind_)
        return false;
    if (search_.isEmpty())
        return true;
    for (int column = 0; column < model->columnCount(sourceParent); ++column)
        if (model->index(sourceRow, column, sourceParent)
                .data()
                .toString()
                .contains(search_, Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace dbsift
