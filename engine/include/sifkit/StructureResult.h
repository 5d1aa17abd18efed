// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/ChangeCode.h>
#include <sifkit/Schema.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace sifkit {

/// One finding of a structure comparison: an object of a side's catalogue, or one of its
/// columns, with its change code against the other side.
struct StructureEntry {
    std::size_t object = 0;            ///< position in the side's catalogue
    std::optional<std::size_t> column; ///< position among the object's columns; none for the object
    ChangeCode change = ChangeCode::NoChange;

    bool operator==(const StructureEntry&) const = default;
};

/// One side of a structure comparison: what was read, and every entry in catalogue order (each
/// object followed by its columns, unless only the objects were listed).
struct SideStructure {
    Catalogue catalogue;
    std::vector<StructureEntry> entries;

    const TableSchema& objectOf(const StructureEntry& entry) const { return catalogue.objects[entry.object]; }
    /// The entry's column, or null for an object's own entry.
    const ColumnSchema* columnOf(const StructureEntry& entry) const {
        return entry.column ? &catalogue.objects[entry.object].columns[*entry.column] : nullptr;
    }
};

/// The last structure comparison of an engine control: both sides, every entry (unchanged ones
/// too, whatever the control's showDifferencesOnly), and whether it succeeded. A run that could
/// not read a side has failed: its cause is among the control's failures. When one side lists
/// nothing, every entry of the other is a "New Table".
struct StructureResult {
    SideStructure original;
    SideStructure modified;
    bool fields = false;        ///< whether columns were read, not only the objects
    bool typesByFamily = false; ///< field types of one family (integer, text, ...) counted as the same
    bool failed = false;
    bool cancelled = false; ///< the user cancelled the run: what it holds is incomplete

    const SideStructure& side(Side which) const { return which == Side::Original ? original : modified; }
};

} // namespace sifkit
