// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbsift::cli {

/// The Original database is the engine's master side, the Modified database its source side.
enum class Side { Original, Modified };

inline const char* sideName(Side side) {
    return side == Side::Original ? "Original" : "Modified";
}

inline bool isMaster(Side side) {
    return side == Side::Original;
}

/// The two databases as the user named them (a path or dsn:NAME; never a connection string).
struct Compared {
    std::string original;
    std::string modified;
};

/// One table, view or field of the structure comparison, as the engine reported it.
struct StructureItem {
    Side side = Side::Original;
    std::string object;      ///< table or view name
    std::string field;       ///< empty for the table or view itself
    std::string type;        ///< "TABLE" / "VIEW" for objects, the engine's type name for fields
    int16_t change = 0;      ///< the engine's change code: 0 No Change ... 3 Different Datatype
    std::string description; ///< the engine's description of the change code
    std::string primaryKey;  ///< first primary key column; empty when there is none
    bool comparable = false; ///< fields only: whether the data comparison can use the field
};

struct StructureReport {
    Compared compared;
    bool fields = false;
    bool views = false;
    bool differencesOnly = false;
    std::vector<StructureItem> items;

    /// Items whose change code is not "No Change".
    int32_t differences() const {
        int32_t count = 0;
        for (const auto& item : items)
            count += item.change != 0 ? 1 : 0;
        return count;
    }
};

/// One compared value of a record. The engine writes a Null as the text "Null"; isNull tells it
/// from a text that reads "Null".
struct DataValue {
    std::string text;
    bool isNull = false;
};

/// A record of one side that has no equal record on the other side.
struct DataRecord {
    Side side = Side::Original;
    int32_t number = 0;            ///< 1-based position in its side's query
    std::vector<DataValue> values; ///< in the order of DataReport::columns
    int32_t counterpart = 0;       ///< record number on the other side paired by the key; 0 none
};

struct DataReport {
    Compared compared;
    std::string table;
    std::vector<std::string> columns;
    /// Columns of the table that were left out, each as "name (why)": no difference in them is
    /// seen, so the report never says "No differences" as if they had been compared.
    std::vector<std::string> notCompared;
    std::string primaryKey; ///< first primary key column; empty when there is none
    /// Position of primaryKey in columns, or -1 when it is not compared: records pair with
    /// their counterparts only through a compared key.
    int32_t keyColumn = -1;
    std::vector<DataRecord> records;

    const DataValue* keyOf(const DataRecord& record) const {
        return keyColumn < 0 ? nullptr : &record.values[static_cast<std::size_t>(keyColumn)];
    }

    int32_t differences() const { return static_cast<int32_t>(records.size()); }
};

} // namespace dbsift::cli
