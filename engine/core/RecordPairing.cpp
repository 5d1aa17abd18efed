// SPDX-License-Identifier: MIT
// Pairing a reported record with the other side's reported record of the same key, and telling
// which columns of such a pair differ.

#include "RecordPairing.h"

#include "CanonicalNumber.h"
#include "RecordFingerprint.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace sifkit::detail {

namespace {

/// Whether a column of the type holds numbers that a driver may hand over as text: decimals,
/// and integers beyond 64 signed bits.
bool holdsNumbers(int32_t typeCode) {
    return typeCode == 2 || typeCode == 3 || typeCode == 6 || typeCode == 14 ||
           (typeCode >= 16 && typeCode <= 21) || typeCode == 131 || typeCode == 139;
}

std::vector<std::size_t> keyPositions(const DataResult& result, Side side) {
    std::vector<std::size_t> positions;
    for (const std::string& key : result.keyColumns)
        if (const int32_t position = result.columnPosition(side, key); position >= 0)
            positions.push_back(static_cast<std::size_t>(position));
    return positions;
}

std::string keyOf(const DataRecord& record, const std::vector<std::size_t>& positions,
                  const std::vector<ColumnSchema>& columns) {
    std::string key;
    for (std::size_t position : positions)
        key += pairingForm(record.values[position], columns[position]);
    return key;
}

} // namespace

std::string pairingForm(const Value& value, const ColumnSchema& column) {
    std::optional<CanonicalNumber> number;
    if (value.kind() == Value::Kind::Integer)
        number = numberFromText(std::to_string(value.asInteger()));
    else if (value.kind() == Value::Kind::Real && std::isfinite(value.asReal()))
        number = numberFromReal(value.asReal());
    else if (value.kind() == Value::Kind::Text && holdsNumbers(column.typeCode))
        number = numberFromText(value.asText());
    const std::string text = number                  ? number->bytes()
                             : column.typeCode == 72 ? guidInOneSpelling(value.toString())
                                                     : value.toString();
    std::string form(1, number ? 'N' : static_cast<char>(value.kind()));
    return form + std::to_string(text.size()) + ":" + text;
}

void pairByKey(DataResult& result) {
    if (result.keyColumns.empty())
        return;
    const std::vector<std::size_t> originalKey = keyPositions(result, Side::Original);
    const std::vector<std::size_t> modifiedKey = keyPositions(result, Side::Modified);
    if (originalKey.size() != result.keyColumns.size() || modifiedKey.size() != result.keyColumns.size())
        return;
    std::unordered_map<std::string, int32_t> firstModified;
    for (const DataRecord& modified : result.modified)
        firstModified.try_emplace(keyOf(modified, modifiedKey, result.modifiedColumns), modified.number);
    std::unordered_map<std::string, int32_t> firstOriginal;
    for (DataRecord& original : result.original) {
        const std::string key = keyOf(original, originalKey, result.originalColumns);
        firstOriginal.try_emplace(key, original.number);
        if (auto found = firstModified.find(key); found != firstModified.end())
            original.counterpart = found->second;
    }
    for (DataRecord& modified : result.modified)
        if (auto found = firstOriginal.find(keyOf(modified, modifiedKey, result.modifiedColumns));
            found != firstOriginal.end())
            modified.counterpart = found->second;
}

} // namespace sifkit::detail

namespace sifkit {

std::vector<std::string> DataResult::changedColumns(const DataRecord& originalRecord,
                                                    const DataRecord& modifiedRecord) const {
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < originalColumns.size() && i < originalRecord.values.size(); ++i) {
        const int32_t other = columnPosition(Side::Modified, originalColumns[i].name);
        if (other < 0 || static_cast<std::size_t>(other) >= modifiedRecord.values.size())
            continue;
        if (detail::pairingForm(originalRecord.values[i], originalColumns[i]) !=
            detail::pairingForm(modifiedRecord.values[other], modifiedColumns[other]))
            changed.push_back(originalColumns[i].name);
    }
    return changed;
}

const DataRecord* DataResult::find(Side which, int32_t number) const {
    const std::vector<DataRecord>& sideRecords = records(which);
    auto found =
        std::lower_bound(sideRecords.begin(), sideRecords.end(), number,
                         [](const DataRecord& candidate, int32_t n) { return candidate.number < n; });
    return found != sideRecords.end() && found->number == number ? &*found : nullptr;
}

const DataRecord* DataResult::counterpartOf(const DataRecord& record) const {
    if (record.counterpart <= 0)
        return nullptr;
    return find(record.side == Side::Original ? Side::Modified : Side::Original, record.counterpart);
}

} // namespace sifkit
