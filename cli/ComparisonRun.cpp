// SPDX-License-Identifier: MIT
#include "ComparisonRun.h"

#include "StructureReport.h"

namespace dbsift::cli {

ComparisonOutput runComparison(sifkit::Sifcore& core, const SavedComparison& comparison,
                               const DatabaseTarget& original, const DatabaseTarget& modified, Format format,
                               const sifkit::Sifcore::TableStarted& onTable,
                               const sifkit::Sifcore::TableCompared& onCompared) {
    switch (comparison.kind) {
    case ComparisonKind::Table: {
        const DataReport report = compareData(core, original, modified, comparison.table, comparison.data);
        if (onCompared)
            onCompared(report.result);
        return {formatReport(report, format), report.differences() + report.result.sharedCopies()};
    }
    case ComparisonKind::EveryTable: {
        const DatabaseDataReport report = compareEveryTable(core, original, modified, comparison.data,
                                                            comparison.views, onTable, onCompared);
        return {formatReport(report, format), report.differences()};
    }
    case ComparisonKind::Structure:
        break;
    }
    const StructureReport report = compareStructure(
        core, original, modified,
        {comparison.fields, comparison.views, comparison.differencesOnly, comparison.typesByFamily});
    return {formatReport(report, format), report.differences()};
}

} // namespace dbsift::cli
