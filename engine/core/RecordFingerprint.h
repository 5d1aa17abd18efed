// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <cstdint>
#include <vector>

namespace sifkit::detail {

/// A 128-bit digest of some fields of one record, in a canonical form that is equal exactly
/// when the database finds the values equal: Null only to Null, texts byte for byte (letter
/// case and wildcard characters included), an integer to a real of the same value (7 and 7.0),
/// other reals bit for bit, binary values byte for byte and never to a text. The digest is
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

/// The digest of the cells at the given positions of a row.
RecordFingerprint fingerprintOf(const platform::CellView* cells, const std::vector<std::size_t>& positions);

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
