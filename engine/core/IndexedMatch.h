// SPDX-License-Identifier: MIT
#pragma once

#include "RecordFingerprint.h"

#include "dataaccess/Backend.h"

#include <sifkit/clsDBManager.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sifkit::detail {

/// What a data pass needs to know of thisSide's records after they were answered from an
/// index of otherSide's records instead of one query each.
struct IndexedScan {
    int32_t recordCount = 0;         ///< rows of thisSide's query
    std::vector<int32_t> missing;    ///< record numbers with no equal record on otherSide, ascending
    std::vector<platform::Row> rows; ///< the values of those records, in that order, then of the
                                     ///< last record visited
};

/// The digests of one side's records that a full pass computes anyway, left for the pass of
/// the other direction in the same run, which then need not read that side a second time.
/// Only a pass over every field of its table, all of them compared, leaves them.
struct DigestCarry {
    Connection connection;                     ///< the side they were read from
    std::string sql;                           ///< the index query they stand for
    std::vector<platform::ColumnInfo> columns; ///< its columns
    FingerprintSet digests;
    bool ready = false;

    /// The other direction's pass, answered together with the first from one reading of each
    /// side, when the other side's index query is also its own pass query.
    struct Answered {
        Connection connection;                     ///< the side whose pass it is
        std::string sql;                           ///< the statement that pass runs, as run
        std::vector<platform::ColumnInfo> columns; ///< its columns
        IndexedScan scan;
    };
    std::optional<Answered> answered;
};

/// Reads the fields of otherSide's table that thisSide's match queries would compare, once, into
/// an index of record digests, then streams thisSide's query (whose columns thisSide's main
/// record set already describes) and answers each record from the index. At most `visits`
/// records are answered; all are counted. Only what is reported is kept. With a carry, a
/// full pass over every field answers the pass of the other direction too and leaves that
/// answer in the carry (each side read once for digests, then for the values of the records
/// reported); a pass finding its own answer, or otherSide's digests for its index query, there
/// takes it instead of reading.
///
/// Returns nothing, having changed no manager, when the index cannot be trusted to agree with
/// the database's own equality: the two sides are different products, the driver rounds reals,
/// a compared field has different types (on SQLite: different affinities of its declared
/// types) on the two sides, or is of a type whose equality is not that of its text (fixed-width
/// characters, decimals, single-precision reals, texts other than PostgreSQL's text and
/// varchar, whose collation may ignore letter case), or a read fails. The caller then sends one
/// query per record.
std::optional<IndexedScan> scanAgainstIndex(const clsDBManager& thisSide, const clsDBManager& otherSide,
                                            const std::string& query, std::optional<int64_t> visits,
                                            DigestCarry* carry = nullptr);

/// For each row of thisSide's main record set (fully read), whether otherSide holds a record
/// equal in the fields the match query compares, from one reading of otherSide; nothing when
/// the index cannot be trusted (as scanAgainstIndex says).
std::optional<std::vector<bool>> answerFromIndex(const clsDBManager& thisSide, const clsDBManager& otherSide);

/// Whether the data passes may answer records from an index (the default). Tests switch it
/// off to compare with the per-record queries.
bool indexedMatchAllowed();

/// How many passes of this process were answered from an index so far (for tests that must
/// know which way a pass went).
int64_t indexedPassCount();
/// Counts one more such pass.
void countIndexedPass();
/// How many of them were answered together with the pass of the other direction.
int64_t answeredTogetherCount();

/// Sends one query per record while it lives (for tests and diagnosis).
class PerRecordMatchScope {
public:
    PerRecordMatchScope();
    ~PerRecordMatchScope();
    PerRecordMatchScope(const PerRecordMatchScope&) = delete;
    PerRecordMatchScope& operator=(const PerRecordMatchScope&) = delete;

private:
    bool previous_;
};

} // namespace sifkit::detail
