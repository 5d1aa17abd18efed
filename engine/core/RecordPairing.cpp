// SPDX-License-Identifier: MIT
// Pairing a reported record with the other side's reported record of the same key, and telling
// which columns of such a pair differ.

#include "RecordPairing.h"

#include "CanonicalNumber.h"
#include "RecordFingerprint.h"
#include "ValueFolding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <utility>

namespace sifkit::detail {

namespace {

/// Whether a column of the type holds numbers that a driver may hand over as text: decimals,
/// and integers beyond 64 signed bits.
bool holdsNumbers(int32_t typeCode) {
    return typeCode == 2 || typeCode == 3 || typeCode == 6 || typeCode == 14 ||
           (typeCode >= 16 && typeCode <= 21) || typeCode == 131 || typeCode == 139;
}

bool holdsIntegers(int32_t typeCode) {
    return typeCode == 2 || typeCode == 3 || (typeCode >= 16 && typeCode <= 21);
}

std::vector<std::size_t> keyPositions(const DataResult& result, Side side) {
    std::vector<std::size_t> positions;
    for (const std::string& key : result.keyColumns)
        if (const int32_t position = result.columnPosition(side, key); position >= 0)
            positions.push_back(static_cast<std::size_t>(position));
    return positions;
}

std::string keyOf(const DataRecord& record, const std::vector<std::size_t>& positions,
                  const std::vector<ColumnSchema>& columns, const ValueOptions& options) {
    std::string key;
    for (std::size_t position : positions)
        key += pairingForm(record.values[position], columns[position].typeCode, options);
    return key;
}

} // namespace

std::string pairingForm(const Value& value, int32_t typeCode, const ValueOptions& options) {
    std::optional<CanonicalNumber> number;
    if (value.kind() == Value::Kind::Integer)
        number = numberFromText(std::to_string(value.asInteger()));
    else if (value.kind() == Value::Kind::Real && std::isfinite(value.asReal()))
        number = numberFromReal(value.asReal());
    else if (value.kind() == Value::Kind::Text && holdsNumbers(typeCode))
        number = numberFromText(value.asText());
    Value::Kind kind = value.kind();
    std::string text;
    if (number) {
        text = number->bytes();
    } else if (typeCode == 72) {
        text = guidInOneSpelling(value.toString());
    } else if (kind == Value::Kind::Null && options.nullIsEmpty) {
        kind = Value::Kind::Text;
    } else if (kind == Value::Kind::Text && options.foldsTexts()) {
        std::string buffer;
        text = foldedText(value.asText(), options, buffer);
    } else {
        text = value.toString();
    }
    std::string form(1, number ? 'N' : static_cast<char>(kind));
    return form + std::to_string(text.size()) + ":" + text;
}

bool toleratesNumbers(int32_t typeCode, int32_t otherTypeCode, const ValueOptions& options) {
    return options.tolerance > 0 && !(holdsIntegers(typeCode) && holdsIntegers(otherTypeCode));
}

std::optional<long double> numberOf(const Value& value, int32_t typeCode) {
    switch (value.kind()) {
    case Value::Kind::Integer:
        return static_cast<long double>(value.asInteger());
    case Value::Kind::Real:
        return value.asReal();
    case Value::Kind::Text:
        if (holdsNumbers(typeCode) && numberFromText(value.asText()))
            return std::strtold(value.asText().c_str(), nullptr);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool equalUnder(const Value& value, int32_t typeCode, const Value& other, int32_t otherTypeCode,
                const ValueOptions& options) {
    if (toleratesNumbers(typeCode, otherTypeCode, options)) {
        const std::optional<long double> number = numberOf(value, typeCode);
        const std::optional<long double> otherNumber = numberOf(other, otherTypeCode);
        if (number && otherNumber)
            return withinTolerance(*number, *otherNumber, options.tolerance);
    }
    return pairingForm(value, typeCode, options) == pairingForm(other, otherTypeCode, options);
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
        firstModified.try_emplace(keyOf(modified, modifiedKey, result.modifiedColumns, result.options),
                                  modified.number);
    std::unordered_map<std::string, int32_t> firstOriginal;
    for (DataRecord& original : result.original) {
        const std::string key = keyOf(original, originalKey, result.originalColumns, result.options);
        firstOriginal.try_emplace(key, original.number);
        if (auto found = firstModified.find(key); found != firstModified.end())
            original.counterpart = found->second;
    }
    for (DataRecord& modified : result.modified)
        if (auto found =
                firstOriginal.find(keyOf(modified, modifiedKey, result.modifiedColumns, result.options));
            found != firstOriginal.end())
            modified.counterpart = found->second;
}

void collectCopies(DataResult& result, std::vector<RecordCopies> shared) {
    std::vector<RecordCopies> copies = std::move(shared);
    // Every copy of a record one side holds alone is among that side's reported records.
    for (Side side : {Side::Original, Side::Modified}) {
        const std::vector<ColumnSchema>& columns = result.columns(side);
        std::unordered_map<std::string, std::size_t> groups;
        for (const DataRecord& record : result.records(side)) {
            std::string form;
            for (std::size_t i = 0; i < record.values.size() && i < columns.size(); ++i)
                form += pairingForm(record.values[i], columns[i].typeCode, result.options);
            const auto [group, added] = groups.try_emplace(std::move(form), copies.size());
            if (added) {
                copies.push_back({record, 0, 0});
                copies.back().record.counterpart = 0;
            }
            RecordCopies& counted = copies[group->second];
            ++(side == Side::Original ? counted.originalCopies : counted.modifiedCopies);
        }
    }
    std::stable_sort(copies.begin(), copies.end(), [](const RecordCopies& a, const RecordCopies& b) {
        return std::pair{a.record.side != Side::Original, a.record.number} <
               std::pair{b.record.side != Side::Original, b.record.number};
    });
    result.copies = std::move(copies);
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
        if (!detail::equalUnder(originalRecord.values[i], originalColumns[i].typeCode,
                                modifiedRecord.values[other], modifiedColumns[other].typeCode, options))
            changed.push_back(originalColumns[i].name);
    }
    return changed;
}

int32_t DataResult::sharedCopies() const {
    return static_cast<int32_t>(std::count_if(
        copies.begin(), copies.end(), [](const RecordCopies& counted) { return counted.heldByBoth(); }));
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
