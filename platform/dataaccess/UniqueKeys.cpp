// SPDX-License-Identifier: MIT
#include "UniqueKeys.h"

#include <sifkit/SifkitError.h>

namespace sifkit::platform {

std::vector<std::vector<std::string>> sqliteUniqueKeys(Backend& backend, const std::string& table) {
    RowSet rows;
    rows.columns.resize(3);
    try {
        RowSet notNull =
            backend.query("SELECT name FROM pragma_table_info(?) WHERE \"notnull\"", {Value(table)});
        auto declaredNotNull = [&](const Value& column) {
            for (const Row& row : notNull.rows)
                if (row[0] == column)
                    return true;
            return false;
        };
        // In the order the indexes were made; a partial index does not cover every row.
        const RowSet indexes = backend.query("SELECT name FROM pragma_index_list(?) WHERE \"unique\" "
                                             "AND NOT partial AND origin <> 'pk' ORDER BY seq DESC",
                                             {Value(table)});
        for (const Row& index : indexes.rows)
            for (Row& column :
                 backend.query("SELECT name FROM pragma_index_info(?) ORDER BY seqno", {index[0]}).rows) {
                const bool required = !column[0].isNull() && declaredNotNull(column[0]);
                rows.rows.push_back({index[0], std::move(column[0]), Value(int64_t{required ? 1 : 0})});
            }
    } catch (const DatabaseError&) {
        return {};
    }
    return uniqueKeysOf(rows);
}

std::vector<std::vector<std::string>> uniqueKeysOf(const RowSet& rows) {
    std::vector<std::vector<std::string>> keys;
    std::string index;
    bool noNull = false;
    auto finish = [&] {
        if (!noNull && !keys.empty())
            keys.pop_back();
    };
    for (const Row& row : rows.rows) {
        if (keys.empty() || row[0].toString() != index) {
            finish();
            index = row[0].toString();
            keys.emplace_back();
            noNull = true;
        }
        noNull = noNull && !row[1].isNull() && row[2].toString() == "1";
        keys.back().push_back(row[1].toString());
    }
    finish();
    return keys;
}

} // namespace sifkit::platform
