// SPDX-License-Identifier: MIT
#include "StructureReport.h"

#include "CliError.h"

namespace dbsift::cli {

std::string describeFailure(const sifkit::Failure& failure) {
    if (!failure.description.empty())
        return failure.description;
    std::string text = failure.text;
    const auto begin = text.find_first_not_of(" |");
    const auto end = text.find_last_not_of(" |");
    return begin == std::string::npos ? text : text.substr(begin, end - begin + 1);
}

void throwOnFailure(const sifkit::Sifcore& core, bool sqlToo) {
    // The connection's failures first, as they explain the others.
    for (Side side : {Side::Original, Side::Modified})
        for (sifkit::MessageKind kind :
             {sifkit::MessageKind::Connection, sifkit::MessageKind::General, sifkit::MessageKind::Sql})
            for (const sifkit::Failure& failure : core.lastFailures())
                if (failure.side == side && failure.kind == kind &&
                    (sqlToo || kind != sifkit::MessageKind::Sql))
                    throw CliError(std::string(sideName(side)) + " database: " + describeFailure(failure));
}

StructureReport compareStructure(sifkit::Sifcore& core, const DatabaseTarget& original,
                                 const DatabaseTarget& modified, const StructureSettings& settings) {
    // The engine keeps the managers' showViews across the run's re-initialisation.
    core.getMasterDataManager()->setShowViews(settings.views);
    core.getSourceDataManager()->setShowViews(settings.views);
    core.showDifferencesOnly(settings.differencesOnly);
    core.setTypesByFamily(settings.typesByFamily);
    core.beginFullDatabaseCompare(original.connectionString, modified.connectionString, !settings.fields);
    throwOnFailure(core, false);
    return {{original.name, modified.name},
            settings.fields,
            settings.views,
            settings.differencesOnly,
            core.lastStructureResult()};
}

} // namespace dbsift::cli
