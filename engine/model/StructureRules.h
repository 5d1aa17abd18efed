// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/ChangeCode.h>
#include <sifkit/Schema.h>
#include <sifkit/StructureResult.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sifkit::detail {

/// One entry of a side's structure as the comparison rule sees it: an object (field "") or one
/// of its fields, with the type name that is compared.
struct StructureKey {
    std::string object;
    std::string field;
    std::string type;
};

/// Told the 1-based position reached and the number of entries: at entry 51, then at every
/// 50th entry after it.
using StructureProgress = std::function<void(int32_t position, int32_t count)>;

/// Gives every entry of mine its change code against other. Names compare as exact text. An
/// entry whose object the other side lacks is "New Table"; otherwise the first entry of the
/// other side with the same object and field decides: "No Change" for an object (whatever the
/// kinds), "No Change" or "Different Datatype" by the type text for a field; without one the
/// field is "New Field". When the other side has no entries at all, the codes stay as given.
void assignChangeCodes(const std::vector<StructureKey>& mine, const std::vector<StructureKey>& other,
                       std::vector<ChangeCode>& codes, const StructureProgress& progress);

/// The entries of a catalogue in order: each object, then (with fields) each of its columns.
std::vector<StructureEntry> entriesOf(const Catalogue& catalogue, bool fields);

/// The family of a field type code: integers of every width, reals, exact numbers, texts of
/// every kind and length, binary, dates and times, truth values; the type's own name for the
/// types of no family. Products spell one family differently (SQLite INTEGER, PostgreSQL
/// bigint; TEXT and varchar(40)).
std::string typeFamilyOf(int32_t typeCode, const std::string& typeName);

/// The keys of a side's entries, as assignChangeCodes compares them: a field by its type name,
/// or by its type's family.
std::vector<StructureKey> keysOf(const SideStructure& side, bool typesByFamily = false);

/// Compares two catalogues: every entry of each side with its change code against the other;
/// fields of types of one family count as the same type with typesByFamily. progress is told of
/// each side's pass, Original first.
StructureResult compareStructures(Catalogue original, Catalogue modified, bool fields, bool typesByFamily,
                                  const std::function<void(Side, int32_t position, int32_t count)>& progress);

} // namespace sifkit::detail
