// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/ResultCollection.h>
#include <sifkit/Sifcore.h>
#include <sifkit/clsDBManager.h>

#include <cstdint>
#include <string>
#include <unordered_map>

namespace sifkit::detail {

/// Where the items of one side's collection first occur, by table name and by table and field
/// name: all that the comparison rule asks of the other side.
class StructureIndex {
public:
    explicit StructureIndex(const ResultCollection& items);
    /// 1-based position of the table's first item, 0 when the side has none.
    int32_t firstOfTable(const std::string& table) const;
    /// 1-based position of the first item with this table and field name (the table item
    /// itself for an empty field name), 0 when there is none.
    int32_t firstOfField(const std::string& table, const std::string& field) const;

private:
    struct Table {
        int32_t first = 0;
        std::unordered_map<std::string, int32_t> fields;
    };
    std::unordered_map<std::string, Table> tables_;
};

/// Item mainIndex of thisSide becomes "0" when its data type text equals that of item
/// secondaryIndex of otherSide, "3" otherwise.
void compareFieldDataType(clsDBManager& thisSide, const clsDBManager& otherSide, int32_t mainIndex,
                          int32_t secondaryIndex);

/// Gives item mainIndex of thisSide, whose table the other side has, its code: the first item
/// of the other side with the same table and field name decides "0" or, for a field whose data
/// type text differs, "3"; without one the code is "2". A failure becomes a #9 text in
/// thisSide's general message.
void CompareFieldStructure(clsDBManager& thisSide, const clsDBManager& otherSide, const StructureIndex& other,
                           int32_t mainIndex);

/// Gives every item of thisSide its change code against otherSide: "1" when the other side has
/// no item of its table, otherwise the code of CompareFieldStructure. Names compare as exact
/// text. Items keep their codes when the other side has no items at all. Raises the engine's
/// progress event at item 51 and every 50th item after it, with the item position, the item
/// count and label. A failure becomes a #10 text in thisSide's general message.
///
/// The codes equal those of scanning, for each item, the other side's items from the first
/// item of its table on; an index of the other side gives them in linear time.
void compareTableLists(clsDBManager& thisSide, const clsDBManager& otherSide, Sifcore& engine,
                       const std::string& label);

/// Removes every item whose code is "0", keeping the order of the others. The side keeps the
/// same collection object.
void removeUnchangedItems(clsDBManager& side);

} // namespace sifkit::detail
