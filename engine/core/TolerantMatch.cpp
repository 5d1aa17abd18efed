// SPDX-License-Identifier: MIT
#include "TolerantMatch.h"

#include "RecordPairing.h"
#include "ValueFolding.h"

#include <unordered_map>

namespace sifkit::detail {

namespace {

/// A reported record as the tolerance compares it: the form of its values that must be equal
/// and the numbers that need only be near.
struct TolerantForm {
    std::string exact;
    std::vector<long double> numbers;
};

TolerantForm formOf(const platform::Row& row, const std::vector<platform::ColumnInfo>& columns,
                    const std::vector<bool>& tolerated, const ValueOptions& options) {
    TolerantForm form;
    for (std::size_t i = 0; i < row.size() && i < columns.size(); ++i) {
        if (tolerated[i])
            if (const std::optional<long double> number = numberOf(row[i], columns[i].typeCode)) {
                form.exact += "~;";
                form.numbers.push_back(*number);
                continue;
            }
        form.exact += pairingForm(row[i], columns[i].typeCode, options);
    }
    return form;
}

bool near(const TolerantForm& a, const TolerantForm& b, double tolerance) {
    for (std::size_t i = 0; i < a.numbers.size(); ++i)
        if (!withinTolerance(a.numbers[i], b.numbers[i], tolerance))
            return false;
    return true;
}

/// Keeps the entries of an answer that were not paired.
void keepUnpaired(PassAnswer& answer, const std::vector<bool>& paired) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < answer.missing.size(); ++i) {
        if (paired[i])
            continue;
        answer.missing[kept] = answer.missing[i];
        answer.rows[kept] = std::move(answer.rows[i]);
        ++kept;
    }
    answer.missing.resize(kept);
    answer.rows.resize(kept);
}

} // namespace

int64_t pairWithinTolerance(PassAnswer& original, PassAnswer& modified,
                            const std::vector<platform::ColumnInfo>& originalColumns,
                            const std::vector<platform::ColumnInfo>& modifiedColumns,
                            const ValueOptions& options, Heartbeat* heartbeat) {
    if (options.tolerance <= 0 || original.missing.empty() || modified.missing.empty())
        return 0;
    std::vector<bool> tolerated(std::min(originalColumns.size(), modifiedColumns.size()));
    for (std::size_t i = 0; i < tolerated.size(); ++i)
        tolerated[i] = toleratesNumbers(originalColumns[i].typeCode, modifiedColumns[i].typeCode, options);

    std::vector<TolerantForm> modifiedForms;
    std::unordered_map<std::string, std::vector<std::size_t>> byExactPart;
    for (std::size_t j = 0; j < modified.rows.size(); ++j) {
        beat(heartbeat);
        modifiedForms.push_back(formOf(modified.rows[j], modifiedColumns, tolerated, options));
        byExactPart[modifiedForms.back().exact].push_back(j);
    }
    std::vector<bool> originalPaired(original.missing.size());
    std::vector<bool> modifiedPaired(modified.missing.size());
    int64_t pairs = 0;
    for (std::size_t i = 0; i < original.rows.size(); ++i) {
        beat(heartbeat);
        const TolerantForm form = formOf(original.rows[i], originalColumns, tolerated, options);
        auto group = byExactPart.find(form.exact);
        if (group == byExactPart.end())
            continue;
        for (std::size_t j : group->second)
            if (!modifiedPaired[j] && near(form, modifiedForms[j], options.tolerance)) {
                originalPaired[i] = modifiedPaired[j] = true;
                ++pairs;
                break;
            }
    }
    keepUnpaired(original, originalPaired);
    keepUnpaired(modified, modifiedPaired);
    return pairs;
}

} // namespace sifkit::detail
