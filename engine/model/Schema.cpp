// SPDX-License-Identifier: MIT
#include <sifkit/DataResult.h>
#include <sifkit/Schema.h>

#include <algorithm>

namespace sifkit {

const ColumnSchema* TableSchema::column(const std::string& columnName) const {
    auto found = std::find_if(columns.begin(), columns.end(),
                              [&](const ColumnSchema& candidate) { return candidate.name == columnName; });
    return found == columns.end() ? nullptr : &*found;
}

const TableSchema* Catalogue::find(const std::string& objectName) const {
    auto found = std::find_if(objects.begin(), objects.end(),
                              [&](const TableSchema& candidate) { return candidate.name == objectName; });
    return found == objects.end() ? nullptr : &*found;
}

int32_t DataResult::columnPosition(Side which, const std::string& name) const {
    const std::vector<ColumnSchema>& sideColumns = columns(which);
    auto found = std::find_if(sideColumns.begin(), sideColumns.end(),
                              [&](const ColumnSchema& candidate) { return candidate.name == name; });
    return found == sideColumns.end() ? -1 : static_cast<int32_t>(found - sideColumns.begin());
}

} // namespace sifkit
