#pragma once

#include <sifkit/DataAccess.h>
#include <sifkit/clsDBManager.h>
#include <sifkit/clsResultSet.h>

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace sifkit::detail {

/// The tables that some foreign key of a database may reference, learnt from the keys each
/// table declares. Asking a driver which keys reference one table can be costly (the SQLite
/// driver reads the keys of every table to answer it), while the keys a table declares come
/// cheaply; a table that no declared key names needs no question at all. Names are matched
/// ignoring ASCII letter case, so the set never misses a table that the exact question would
/// find a key for.
class ForeignKeyTargets {
public:
    /// Reads the keys declared by each of the tables. Empty when any read fails: callers then
    /// ask per table.
    static std::optional<ForeignKeyTargets> collect(const Connection& connection,
                                                    const std::vector<std::string>& tables);
    /// False only when no declared key names the table.
    bool mayBeReferenced(const std::string& table) const;

private:
    std::unordered_set<std::string> foldedNames_;
};

/// Copies the first foreign key that references the manager's current table into a table
/// item (column, key name, referenced column, referenced table, referenced key name), or the
/// "not defined" texts when no foreign key references it. With targets, a table they rule out
/// gets the "not defined" texts without a catalogue query.
void fillForeignKeyInfo(clsResultSet& item, clsDBManager& manager,
                        const ForeignKeyTargets* targets = nullptr);

} // namespace sifkit::detail
