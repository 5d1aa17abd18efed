// SPDX-License-Identifier: MIT
// The data comparison of every table two databases hold, one table after the other, each read
// and counted before the next: memory stays that of the largest table.

#include <sifkit/DataSummary.h>
#include <sifkit/FieldList.h>
#include <sifkit/Sifcore.h>

#include <algorithm>

namespace sifkit {

namespace {

bool isBinary(const ColumnSchema& column) {
    return column.typeName.find("Binary") != std::string::npos;
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

/// The first failure's own words, for a table whose comparison failed.
std::string failureText(const std::vector<Failure>& failures) {
    for (const Failure& failure : failures)
        if (!failure.description.empty())
            return failure.description;
    return failures.empty() ? std::string() : failures.front().text;
}

} // namespace

TableCounts countsOf(const DataResult& result) {
    TableCounts counts;
    counts.table = result.table;
    counts.keyColumns = result.keyColumns;
    counts.originalRecords = result.originalRecordCount;
    counts.modifiedRecords = result.modifiedRecordCount;
    for (const ColumnSchema& column : result.originalColumns)
        counts.columns.push_back(column.name);
    for (const DataRecord& record : result.original)
        ++(record.counterpart ? counts.changed : counts.onlyInOriginal);
    for (const DataRecord& record : result.modified)
        counts.onlyInModified += record.counterpart ? 0 : 1;
    counts.identical = counts.originalRecords - static_cast<int32_t>(result.original.size());
    // Without a key, copies count: two equal records against one leave one only in the Original.
    if (result.comparedAsMultiset()) {
        counts.onlyInOriginal = result.originalUnpairedCopies;
        counts.onlyInModified = result.modifiedUnpairedCopies;
        counts.identical = counts.originalRecords - result.originalUnpairedCopies;
    }
    return counts;
}

std::string whyNotComparable(const ColumnSchema& column, const ColumnSchema* other) {
    if (!other)
        return "not in both databases";
    if (isBinary(column) != isBinary(*other))
        return "binary in one database only";
    if (isBinary(column))
        return {};
    if (!column.comparable || !other->comparable)
        return "type " + (column.comparable ? other->typeName : column.typeName) + " cannot be compared";
    return {};
}

std::vector<std::string> comparableColumns(const TableSchema& original, const TableSchema& modified,
                                           const std::vector<std::string>& ignored) {
    std::vector<std::string> columns;
    for (const ColumnSchema& column : original.columns)
        if (!listed(ignored, column.name) && whyNotComparable(column, modified.column(column.name)).empty())
            columns.push_back(column.name);
    return columns;
}

DataSummary Sifcore::compareEveryTable(const std::string& masterConnectionString,
                                       const std::string& sourceConnectionString,
                                       const EveryTableSettings& settings, const TableStarted& onTable,
                                       const TableCompared& onCompared) {
    DataSummary summary;
    // The listing's settings are the host's: they are put back once the tables are listed.
    const bool masterViews = getMasterDataManager()->getShowViews();
    const bool sourceViews = getSourceDataManager()->getShowViews();
    const bool differencesOnly = showDifferencesOnly();
    getMasterDataManager()->setShowViews(settings.views);
    getSourceDataManager()->setShowViews(settings.views);
    showDifferencesOnly(false);
    beginFullDatabaseCompare(masterConnectionString, sourceConnectionString, true);
    getMasterDataManager()->setShowViews(masterViews);
    getSourceDataManager()->setShowViews(sourceViews);
    showDifferencesOnly(differencesOnly);
    if (lastStructure_.cancelled) {
        summary.cancelled = true;
        return summary;
    }
    const std::vector<Failure> failures = lastFailures();
    if (std::any_of(failures.begin(), failures.end(),
                    [](const Failure& failure) { return failure.kind != MessageKind::Sql; })) {
        summary.failed = true;
        return summary;
    }
    const Catalogue originals = lastStructure_.original.catalogue;
    const Catalogue modifieds = lastStructure_.modified.catalogue;
    std::vector<std::string> names;
    for (const TableSchema& object : originals.objects)
        names.push_back(object.name);
    for (const TableSchema& object : modifieds.objects)
        if (!originals.find(object.name))
            names.push_back(object.name);

    const std::vector<std::string> keyBefore = pairingKey_;
    const ValueOptions optionsBefore = valueOptions_;
    setValueOptions(settings.options);
    for (std::size_t i = 0; i < names.size(); ++i) {
        TableCounts counts;
        counts.table = names[i];
        if (!originals.find(names[i]) || !modifieds.find(names[i])) {
            counts.whyNotCompared = std::string("in the ") +
                                    (originals.find(names[i]) ? "Original" : "Modified") + " database only";
            summary.tables.push_back(std::move(counts));
            continue;
        }
        if (onTable)
            onTable(i + 1, names.size(), names[i]);
        beginTablebaseCompare(masterConnectionString, sourceConnectionString, names[i], "TABLE");
        const TableSchema* original = lastStructure_.original.catalogue.find(names[i]);
        const TableSchema* modified = lastStructure_.modified.catalogue.find(names[i]);
        if (lastStructure_.cancelled) {
            summary.cancelled = true;
            break;
        }
        if (!original || !modified || !lastFailures().empty()) {
            counts.whyNotCompared = "its fields could not be read: " + failureText(lastFailures());
            summary.tables.push_back(std::move(counts));
            continue;
        }
        counts.columns = comparableColumns(*original, *modified, settings.ignoreColumns);
        if (counts.columns.empty()) {
            counts.whyNotCompared = "no column that both databases have and can compare";
            summary.tables.push_back(std::move(counts));
            continue;
        }
        const auto own = settings.tableKeys.find(names[i]);
        const std::vector<std::string>& key = own != settings.tableKeys.end() ? own->second : settings.key;
        const bool keyCompared =
            !key.empty() && std::all_of(key.begin(), key.end(),
                                        [&](const std::string& c) { return listed(counts.columns, c); });
        setPairingKey(keyCompared ? key : std::vector<std::string>{});
        beginTableCompareFromFieldList(masterConnectionString, sourceConnectionString, names[i],
                                       original->type, writeFieldList(counts.columns));
        if (lastData_.outcome == DataOutcome::Cancelled) {
            summary.cancelled = true;
            break;
        }
        if (lastData_.outcome == DataOutcome::Failed) {
            counts.whyNotCompared = "the comparison failed: " + failureText(lastFailures());
            summary.tables.push_back(std::move(counts));
            continue;
        }
        if (onCompared)
            onCompared(lastData_);
        TableCounts found = countsOf(lastData_);
        found.table = names[i];
        summary.tables.push_back(std::move(found));
    }
    setPairingKey(keyBefore);
    setValueOptions(optionsBefore);
    return summary;
}

} // namespace sifkit
