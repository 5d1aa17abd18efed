// SPDX-License-Identifier: MIT
#pragma once

#include "Heartbeat.h"

#include "dataaccess/Backend.h"
#include "model/Messages.h"
#include "model/Statement.h"

#include <sifkit/CompareOptions.h>
#include <sifkit/DataResult.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace sifkit::detail {

/// One side of a data comparison as the matcher reads it: its connection and the query whose
/// records are compared, in order.
struct MatchSide {
    platform::Backend* backend = nullptr;
    Statement query;
};

/// The answer of one direction of a data comparison: which records of this side's query have no
/// record equal in the compared fields on the other side.
struct PassAnswer {
    int32_t recordCount = 0;         ///< records of this side's query, all of them counted
    int64_t visited = 0;             ///< of those, how many were answered
    std::vector<int32_t> missing;    ///< numbers of the records without an equal one, ascending
    std::vector<platform::Row> rows; ///< their values, in that order
    platform::Row last;              ///< the values of the last record answered; empty when none
    /// When equal records of the two sides pair one to one, how many of this side's are left
    /// without a copy on the other side; -1 when not counted.
    int64_t unpairedCopies = -1;
    /// Where copies are counted, of the Original's answer: its records the other side holds too,
    /// but a different number of times (those it holds alone are among the missing ones).
    std::vector<RecordCopies> sharedCopies;
};

/// Thrown when a side cannot be read for a match: whether the other side holds a record is then
/// unknown, so no answer of the pass can be trusted. `theirs` tells that the side looked in
/// failed (its query was the one shown), not the side whose records were answered.
struct MatchFailed {
    bool theirs = false;
    Cause cause;
    Statement query; ///< what was being read: the match for one record, or a side's reading
};

/// Thrown when the options relax equality where the sides can only be answered record by
/// record: the database's own look-ups compare exactly.
struct OptionsNeedIndex {};

/// The columns a query describes (its first row is read to learn them).
std::vector<platform::ColumnInfo> describe(platform::Backend& backend, const Statement& query);

/// The fields of mine that take part in a match: all when both queries have as many fields;
/// otherwise those of the same name at the same position (the names compared exactly).
std::vector<std::size_t> matchedPositions(const std::vector<std::string>& mine,
                                          const std::vector<std::string>& theirs);

/// The statement that looks for a record of mine on the other side: mine's table, the fields at
/// positions, each equal to the record's value exactly (a Null one as Null). typeCodes gives each
/// field's type code, which the texts users see of it need.
Statement matchStatement(const std::string& table, const std::vector<platform::ColumnInfo>& mine,
                         const std::vector<std::size_t>& positions, const platform::Row& record);

/// Called once for each record answered, in order, with how many were answered so far and how
/// many records the query has.
using VisitedRecords = std::function<void(int64_t visited, int32_t recordCount)>;

/// Answers one direction: each of the first `visits` records of mine's query (every record
/// without a limit; all are counted) is looked for among the other side's records of mine's
/// table, by the fields at positions. From an index of record digests, whose equality is the
/// values' own whatever the products and their collations; only where that cannot be read
/// (a driver that rounds reals, a field named twice) with one query per record, which is also
/// the oracle the index is tested against where the database's equality is the same. Throws MatchFailed when
/// a side cannot be read, and Cancelled from the heartbeat, which beats with every row read and every record
/// answered. Texts are folded as the options say; a tolerance (which answerBothWays applies), or
/// options that are not exact where only the record-by-record answer can be given, throw
/// OptionsNeedIndex.
PassAnswer answerPass(const MatchSide& mine, const MatchSide& theirs, const std::vector<size_t>& positions,
                      std::optional<int64_t> visits, const VisitedRecords& onVisited,
                      Heartbeat* heartbeat = nullptr, const ValueOptions& options = {});

/// Answers both directions of a full comparison from one reading of each side, where each
/// side's query reads its table's own columns (no expressions under a column's name), every
/// field of each takes part and the index can be trusted. Nothing when that is not so: the
/// directions are then answered one by one. Throws MatchFailed as answerPass does, with
/// `theirs` telling that the Modified side failed. With countCopies each answer also counts its
/// side's unpaired copies (records are then compared as multisets). Values are compared as the
/// options say, a tolerance included.
std::optional<std::pair<PassAnswer, PassAnswer>>
answerBothWays(const MatchSide& original, const MatchSide& modified,
               const std::vector<std::string>& originalNames, const std::vector<std::string>& modifiedNames,
               Heartbeat* heartbeat = nullptr, bool countCopies = false, const ValueOptions& options = {});

/// Whether the passes may answer records from an index (the default). Tests switch it off to
/// compare with the per-record queries.
bool indexedMatchAllowed();

/// How many passes of this process were answered from an index so far (for tests that must
/// know which way a pass went).
int64_t indexedPassCount();
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
