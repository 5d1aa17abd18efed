// SPDX-License-Identifier: MIT
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

} // namespace sifkit
