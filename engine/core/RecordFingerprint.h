// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <sifkit/CompareOptions.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sifkit::detail {

/// A 128-bit digest of some fields of one record, in a canonical form that is equal exactly
/// when the values are the same, whatever product read them and whatever its collation says:
/// Null only to Null, texts byte for byte (letter case, blanks and wildcard characters
/// included), numbers by value (7, 7.0 and a decimal 7.00; 1.10 and 1.1), reals beside reals
/// bit for bit, binary values byte for byte and never to a text. The digest is
/// XXH3-128 of those canonical bytes. It is not a cryptographic hash: records are taken as
/// equal when their digests are, which assumes that no two different records of the data
/// compared collide. For data not crafted against XXH3 the chance is about n^2 / 2^129 for n
/// records (below 10^-20 at a billion), far below the chance of a hardware fault; data built to
/// collide could hide a difference.
struct RecordFingerprint {
    uint64_t high = 0;
    uint64_t low = 0;
    auto operator<=>(const RecordFingerprint&) const = default;
};

/// How one compared field of a side is brought to its canonical form.
struct CanonicalField {
    std::size_t position = 0;  ///< the cell's place in the row
    bool textIsNumber = false; ///< the column holds numbers that may come as text (decimals)
    bool realsAsShown = false; ///< reals are the numbers of their shortest text, as decimals are
    bool guid = false;         ///< a GUID column: its texts in one spelling (see guidInOneSpelling)
    ValueOptions folding;      ///< how its texts and Nulls are folded (numbers stay exact)
};

/// A GUID's text as every reading of it compares: without the braces Access shows, its hex
/// digits in lower case, as PostgreSQL writes them. Any other text is returned as it is.
std::string guidInOneSpelling(std::string_view text);

/// The compared fields of a side, in the order both sides compare them.
using FingerprintPlan = std::vector<CanonicalField>;

/// The plan for the fields at `positions` of `mine`, compared with `theirs`' fields of the same
/// order. Both sides' plans bring equal values to equal bytes: where either side's column holds
/// decimals, the reals of both are taken as the numbers they are shown as, so that a real 1.1
/// equals a decimal 1.10 and a real 0.30000000000000004 does not equal 0.3. Texts and Nulls are
/// folded as the options say; a tolerance is left to the caller (numbers stay exact here).
FingerprintPlan planFor(const std::vector<platform::ColumnInfo>& mine,
                        const std::vector<std::size_t>& positions,
                        const std::vector<platform::ColumnInfo>& theirs, const platform::Dialect& mineDialect,
                        const ValueOptions& options = {});

/// Whether a column's values are exact numbers that a driver hands over as text.
bool holdsDecimals(const platform::ColumnInfo& column);

/// The digest of the planned cells of a row.
RecordFingerprint fingerprintOf(const platform::CellView* cells, const FingerprintPlan& plan);

/// A set of digests: an open-addressing hash table (16 bytes a slot, at most half full).
class FingerprintSet {
public:
    /// Makes room for at least `count` digests, so that adding them never grows the table.
    void reserve(std::size_t count);
    void add(const RecordFingerprint& fingerprint) { insert(fingerprint); }
    bool contains(const RecordFingerprint& fingerprint) const { return find(fingerprint) != absent; }

    /// Where a digest is kept: a number below slotCount(), the same for equal digests while
    /// the set does not grow (reserve first).
    static constexpr std::size_t absent = static_cast<std::size_t>(-1);
    std::size_t insert(const RecordFingerprint& fingerprint);
    /// Where the digest is kept, or `absent`.
    std::size_t find(const RecordFingerprint& fingerprint) const;
    /// One more than the highest place insert or find can return; grows with insert.
    std::size_t slotCount() const { return slots_.size() + 1; }
    std::size_t size() const { return count_ + (hasEmptyKey_ ? 1 : 0); }

private:
    void grow();

    std::vector<RecordFingerprint> slots_; ///< {0, 0} marks a free slot
    std::size_t count_ = 0;                ///< digests in slots_
    bool hasEmptyKey_ = false;             ///< whether {0, 0} itself was added
};

} // namespace sifkit::detail
