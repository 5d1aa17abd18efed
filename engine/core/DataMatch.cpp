// SPDX-License-Identifier: MIT
#include "DataMatch.h"

#include "KeptRows.h"
#include "RecordFingerprint.h"
#include "TolerantMatch.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
#include <thread>
#include <tuple>

namespace sifkit::detail {

namespace {

std::atomic<bool> indexedMatch{true};
std::atomic<int64_t> indexedPasses{0};
std::atomic<int64_t> answeredTogether{0};

/// The index cannot stand for the database's equality here: the directions are answered one
/// query per record instead. Never thrown for a failure of a reading.
struct Untrusted {};

/// Whether an index of digests can answer for these fields: no driver that rounds reals (its
/// values are not the stored ones) and no field named twice (letter case aside). Equality is
/// then the digests' own, on every product and between products alike.
bool indexAllowed(const MatchSide& mine, const MatchSide& theirs,
                  const std::vector<platform::ColumnInfo>& columns,
                  const std::vector<std::size_t>& positions) {
    if (!indexedMatchAllowed() || positions.empty())
        return false;
    if (mine.backend->dialect().realsAtFifteenDigits || theirs.backend->dialect().realsAtFifteenDigits)
        return false;
    std::set<std::string> seen;
    for (std::size_t position : positions) {
        std::string folded = columns[position].name;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (!seen.insert(folded).second)
            return false;
    }
    return true;
}

/// Throws Untrusted unless a reading has the shape its plan was made for.
void requireColumns(const std::vector<platform::ColumnInfo>& found, std::size_t expected) {
    if (found.size() != expected)
        throw Untrusted{};
}

/// The columns at the given positions, in their order.
std::vector<platform::ColumnInfo> columnsAt(const std::vector<platform::ColumnInfo>& columns,
                                            const std::vector<std::size_t>& positions) {
    std::vector<platform::ColumnInfo> chosen;
    chosen.reserve(positions.size());
    for (std::size_t position : positions)
        chosen.push_back(columns[position]);
    return chosen;
}

platform::Row valuesOf(const platform::CellView* cells, std::size_t count) {
    platform::Row row;
    row.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        row.push_back(cells[i].toValue());
    return row;
}

/// The last row visited, kept without allocating for every row.
class LastRow {
public:
    void keep(const platform::CellView* cells, std::size_t count) {
        cells_.resize(count);
        texts_.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            cells_[i] = cells[i];
            if (cells[i].kind == Value::Kind::Text || cells[i].kind == Value::Kind::Binary) {
                texts_[i].assign(cells[i].bytes);
                cells_[i].bytes = texts_[i];
            }
        }
    }
    platform::Row values() const { return valuesOf(cells_.data(), cells_.size()); }

private:
    std::vector<platform::CellView> cells_;
    std::vector<std::string> texts_;
};

std::vector<std::size_t> allPositions(std::size_t count) {
    std::vector<std::size_t> positions(count);
    for (std::size_t i = 0; i < count; ++i)
        positions[i] = i;
    return positions;
}

/// A side's query as it runs on its connection.
struct Rendered {
    std::string sql;
    std::vector<Value> parameters;
};

Rendered render(const Statement& statement, const platform::Dialect& dialect) {
    Rendered rendered;
    rendered.sql = statement.render(dialect, rendered.parameters);
    return rendered;
}

/// Runs a reading of a side; a failure of the database becomes MatchFailed for that side, a
/// decline (Untrusted) passes through. A value too long for the rows read in blocks declines
/// too: the record-by-record answer reads values one by one.
template <typename Reading> void reading(bool theirs, const Statement& query, Reading&& read) {
    try {
        read();
    } catch (const platform::ValueTooLong&) {
        throw Untrusted{};
    } catch (const Error&) {
        throw MatchFailed{theirs, Cause::current(), query};
    }
}

/// One side's reading for a pass: every record's digest in the order of its query, then the
/// records reported and their values.
struct SideReading {
    platform::Backend* backend = nullptr;
    Statement query;
    Rendered rendered;
    bool theirs = false;  ///< which side it is, for MatchFailed
    FingerprintPlan plan; ///< the compared fields
    std::vector<RecordFingerprint> digests;
    PassAnswer answer;
    std::optional<KeptRows> kept; ///< the rows as read, where reading chosen rows means reading all
    Heartbeat* heartbeat = nullptr;
};

/// How much of a side's rows is kept from its reading before they are rather read again.
constexpr std::size_t keptRowsBudget = std::size_t{64} << 20;

SideReading sideReading(platform::Backend* backend, Statement query, bool theirs, FingerprintPlan plan,
                        Heartbeat* heartbeat) {
    SideReading side;
    side.heartbeat = heartbeat;
    side.backend = backend;
    side.rendered = render(query, backend->dialect());
    side.query = std::move(query);
    side.theirs = theirs;
    side.plan = std::move(plan);
    if (!backend->skipsUnwantedRows())
        side.kept.emplace(keptRowsBudget);
    return side;
}

/// Reads every record's digest of a side. onColumns, where given, is told the columns the
/// reading describes before its first row, in time to make the side's plan from them.
void readDigests(SideReading& side, std::size_t columnCount,
                 const std::function<void(const std::vector<platform::ColumnInfo>&)>& onColumns = {}) {
    reading(side.theirs, side.query, [&] {
        side.backend->scan(
            side.rendered.sql, side.rendered.parameters,
            [&](const std::vector<platform::ColumnInfo>& found) {
                requireColumns(found, columnCount);
                if (onColumns)
                    onColumns(found);
            },
            [&](const platform::CellView* cells, std::size_t count) {
                beat(side.heartbeat);
                side.digests.push_back(fingerprintOf(cells, side.plan));
                if (side.kept)
                    side.kept->keep(cells, count);
            });
    });
    side.answer.recordCount = static_cast<int32_t>(side.digests.size());
    side.answer.visited = side.answer.recordCount;
}

/// Reads the wanted records of side again; each must still have the digest it had, or the table
/// changed under the reading and its answer cannot stand.
void readAgain(SideReading& side, const std::vector<int32_t>& wanted, std::vector<platform::Row>& rows) {
    std::size_t next = 0;
    bool changed = false;
    reading(side.theirs, side.query, [&] {
        side.backend->scanRows(
            side.rendered.sql, side.rendered.parameters, wanted,
            [](const std::vector<platform::ColumnInfo>&) {},
            [&](const platform::CellView* cells, std::size_t count) {
                beat(side.heartbeat);
                if (next == wanted.size() || !(fingerprintOf(cells, side.plan) ==
                                               side.digests[static_cast<std::size_t>(wanted[next] - 1)]))
                    changed = true;
                ++next;
                rows.push_back(valuesOf(cells, count));
            });
    });
    if (changed || next != wanted.size())
        throw Untrusted{};
}

/// The values of side's missing records, of its shared copies and of its last record: from the
/// rows kept of its reading, or read again.
void readReported(SideReading& side) {
    const auto count = static_cast<int32_t>(side.digests.size());
    if (count == 0)
        return;
    std::vector<int32_t> wanted = side.answer.missing;
    for (const RecordCopies& shared : side.answer.sharedCopies)
        wanted.push_back(shared.record.number);
    wanted.push_back(count);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    std::vector<platform::Row> rows;
    if (side.kept && side.kept->complete()) {
        for (int32_t number : wanted) {
            beat(side.heartbeat);
            rows.push_back(side.kept->row(number));
        }
        side.kept.reset();
    } else {
        readAgain(side, wanted, rows);
    }
    auto rowOf = [&](int32_t number) -> platform::Row& {
        return rows[static_cast<std::size_t>(std::lower_bound(wanted.begin(), wanted.end(), number) -
                                             wanted.begin())];
    };
    side.answer.last = rowOf(count);
    for (RecordCopies& shared : side.answer.sharedCopies)
        shared.record.values = rowOf(shared.record.number);
    side.answer.rows.clear();
    side.answer.rows.reserve(side.answer.missing.size());
    for (int32_t number : side.answer.missing)
        side.answer.rows.push_back(std::move(rowOf(number)));
}

/// The digests of one side's records in one set, each place in it marked once a record of the
/// other side has its digest: what is left unmarked is missing from the other side.
class MatchedDigests {
public:
    MatchedDigests(const std::vector<RecordFingerprint>& digests, Heartbeat* heartbeat) {
        set_.reserve(digests.size());
        places_.reserve(digests.size());
        for (const RecordFingerprint& digest : digests) {
            beat(heartbeat);
            places_.push_back(set_.insert(digest));
        }
        matched_.resize(set_.slotCount());
    }
    /// Whether the set holds the digest; marks it found.
    bool match(const RecordFingerprint& digest) {
        const std::size_t place = set_.find(digest);
        if (place == FingerprintSet::absent)
            return false;
        matched_[place] = true;
        return true;
    }
    bool contains(const RecordFingerprint& digest) const { return set_.contains(digest); }
    /// The records no record matched, ascending.
    std::vector<int32_t> unmatched() const {
        std::vector<int32_t> numbers;
        for (std::size_t j = 0; j < places_.size(); ++j)
            if (!matched_[places_[j]])
                numbers.push_back(static_cast<int32_t>(j + 1));
        return numbers;
    }

private:
    FingerprintSet set_;
    std::vector<std::size_t> places_;
    std::vector<bool> matched_;
};

/// Runs both jobs at the same time, the second on a thread of its own. While the first is done
/// and the second is not, this thread keeps beating, so that the host's events still run.
void runBoth(const std::function<void()>& first, const std::function<void()>& second, Heartbeat* heartbeat) {
    std::exception_ptr secondFailure;
    std::mutex doneMutex;
    std::condition_variable doneChanged;
    bool secondDone = false;
    std::thread worker([&] {
        try {
            second();
        } catch (...) {
            secondFailure = std::current_exception(); // rethrown below, once the first is done
        }
        const std::lock_guard lock(doneMutex);
        secondDone = true;
        doneChanged.notify_one();
    });
    try {
        first();
        std::unique_lock lock(doneMutex);
        while (!doneChanged.wait_for(lock, std::chrono::milliseconds(10), [&] { return secondDone; })) {
            lock.unlock();
            beat(heartbeat, true);
            lock.lock();
        }
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (secondFailure)
        std::rethrow_exception(secondFailure);
}

/// Streams mine's query against an index of the other side's records: each of its first
/// `visits` records (all without a limit) is answered, every record is counted; the values of
/// the records reported and of the last one answered are kept.
PassAnswer streamAgainst(const SideReading& mine, std::size_t columnCount, std::optional<int64_t> visits,
                         const MatchedDigests& index) {
    PassAnswer answer;
    LastRow last;
    reading(false, mine.query, [&] {
        mine.backend->scan(
            mine.rendered.sql, mine.rendered.parameters,
            [&](const std::vector<platform::ColumnInfo>& found) { requireColumns(found, columnCount); },
            [&](const platform::CellView* cells, std::size_t count) {
                beat(mine.heartbeat);
                const int32_t number = ++answer.recordCount;
                if (visits && number > *visits)
                    return;
                ++answer.visited;
                if (!index.contains(fingerprintOf(cells, mine.plan))) {
                    answer.missing.push_back(number);
                    answer.rows.push_back(valuesOf(cells, count));
                }
                last.keep(cells, count);
            });
    });
    if (answer.visited > 0)
        answer.last = last.values();
    return answer;
}

/// The answer from an index of the other side's records; nothing when it cannot be trusted.
std::optional<PassAnswer> answerFromIndex(const MatchSide& mine, const MatchSide& theirs,
                                          const std::vector<platform::ColumnInfo>& columns,
                                          const std::vector<std::size_t>& positions,
                                          std::optional<int64_t> visits, Heartbeat* heartbeat,
                                          const ValueOptions& options) {
    if (!indexAllowed(mine, theirs, columns, positions))
        return std::nullopt;
    try {
        Statement fields{mine.query.table, {}, {}, {}, theirs.query.filter};
        for (std::size_t position : positions)
            fields.columns.push_back(columns[position].name);
        const std::vector<platform::ColumnInfo> compared = columnsAt(columns, positions);
        SideReading other = sideReading(theirs.backend, fields, true, {}, heartbeat);
        other.kept.reset(); // only the digests are needed of the other side
        std::vector<platform::ColumnInfo> found;
        readDigests(other, positions.size(), [&](const std::vector<platform::ColumnInfo>& described) {
            found = described;
            other.plan =
                planFor(found, allPositions(found.size()), compared, theirs.backend->dialect(), options);
        });
        const MatchedDigests index(other.digests, heartbeat);
        SideReading own =
            sideReading(mine.backend, mine.query, false,
                        planFor(columns, positions, found, mine.backend->dialect(), options), heartbeat);
        PassAnswer answer = streamAgainst(own, columns.size(), visits, index);
        ++indexedPasses;
        return answer;
    } catch (const Untrusted&) {
        return std::nullopt;
    }
}

/// The answer from one exact query per record on the other side.
PassAnswer answerRecordByRecord(const MatchSide& mine, const MatchSide& theirs,
                                const std::vector<platform::ColumnInfo>& columns,
                                const std::vector<std::size_t>& positions, std::optional<int64_t> visits,
                                const VisitedRecords& onVisited, Heartbeat* heartbeat) {
    // All of mine is read first: the look-ups may run on the same connection.
    platform::RowSet rows;
    try {
        const Rendered own = render(mine.query, mine.backend->dialect());
        rows = mine.backend->query(own.sql, own.parameters);
    } catch (const Error&) {
        throw MatchFailed{false, Cause::current(), mine.query};
    }
    PassAnswer answer;
    answer.recordCount = static_cast<int32_t>(rows.rows.size());
    const int64_t toVisit = visits ? std::min<int64_t>(*visits, answer.recordCount) : answer.recordCount;
    for (int64_t i = 0; i < toVisit; ++i) {
        beat(heartbeat, true);
        platform::Row& row = rows.rows[static_cast<std::size_t>(i)];
        Statement match = matchStatement(mine.query.table, columns, positions, row);
        match.filter = theirs.query.filter;
        bool exists = true;
        try {
            const Rendered rendered = render(match, theirs.backend->dialect());
            exists = theirs.backend->rowExists(rendered.sql, rendered.parameters);
        } catch (const Error&) {
            throw MatchFailed{true, Cause::current(), match};
        }
        answer.visited = i + 1;
        if (!exists) {
            answer.missing.push_back(static_cast<int32_t>(i + 1));
            answer.rows.push_back(row);
        }
        if (i + 1 == toVisit)
            answer.last = row;
        if (onVisited)
            onVisited(i + 1, answer.recordCount);
    }
    return answer;
}

} // namespace

bool indexedMatchAllowed() {
    return indexedMatch.load();
}

int64_t indexedPassCount() {
    return indexedPasses.load();
}

int64_t answeredTogetherCount() {
    return answeredTogether.load();
}

PerRecordMatchScope::PerRecordMatchScope() : previous_(indexedMatch.exchange(false)) {}

PerRecordMatchScope::~PerRecordMatchScope() {
    indexedMatch.store(previous_);
}

std::vector<platform::ColumnInfo> describe(platform::Backend& backend, const Statement& query) {
    const Rendered rendered = render(query, backend.dialect());
    return backend.query(rendered.sql, rendered.parameters, 1).columns;
}

std::vector<std::size_t> matchedPositions(const std::vector<std::string>& mine,
                                          const std::vector<std::string>& theirs) {
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < mine.size(); ++i)
        if (mine.size() == theirs.size() || (i < theirs.size() && mine[i] == theirs[i]))
            positions.push_back(i);
    return positions;
}

Statement matchStatement(const std::string& table, const std::vector<platform::ColumnInfo>& mine,
                         const std::vector<std::size_t>& positions, const platform::Row& record) {
    Statement match{table, {}, {}, {}, {}};
    for (std::size_t position : positions) {
        match.columns.push_back(mine[position].name);
        match.conditions.push_back({mine[position].name, record[position], mine[position].typeCode});
    }
    return match;
}

PassAnswer answerPass(const MatchSide& mine, const MatchSide& theirs, const std::vector<size_t>& positions,
                      std::optional<int64_t> visits, const VisitedRecords& onVisited, Heartbeat* heartbeat,
                      const ValueOptions& options) {
    if (options.tolerance > 0) // near records are paired across both directions' answers
        throw OptionsNeedIndex{};
    std::vector<platform::ColumnInfo> columns;
    reading(false, mine.query, [&] { columns = describe(*mine.backend, mine.query); });
    if (std::optional<PassAnswer> answer =
            answerFromIndex(mine, theirs, columns, positions, visits, heartbeat, options)) {
        if (onVisited)
            for (int64_t visited = 1; visited <= answer->visited; ++visited)
                onVisited(visited, answer->recordCount);
        return std::move(*answer);
    }
    if (!options.exact())
        throw OptionsNeedIndex{};
    return answerRecordByRecord(mine, theirs, columns, positions, visits, onVisited, heartbeat);
}

/// A record's digest with its number, to sort a side's digests without moving them from their
/// places (the readings that follow check each record read again against the digest there).
struct PlacedDigest {
    RecordFingerprint digest;
    int32_t number = 0;
};

std::vector<PlacedDigest> sortedByDigest(const std::vector<RecordFingerprint>& digests,
                                         Heartbeat* heartbeat) {
    std::vector<PlacedDigest> placed;
    placed.reserve(digests.size());
    for (std::size_t i = 0; i < digests.size(); ++i)
        placed.push_back({digests[i], static_cast<int32_t>(i + 1)});
    beat(heartbeat);
    std::sort(placed.begin(), placed.end(), [](const PlacedDigest& a, const PlacedDigest& b) {
        return std::tie(a.digest, a.number) < std::tie(b.digest, b.number);
    });
    return placed;
}

/// Pairs the equal records of the two sides one to one (their digests sorted, then merged) and
/// counts each side's records left over. A record both sides hold a different number of times
/// becomes one of mine's shared copies, its values read later.
void countUnpairedCopies(SideReading& mine, SideReading& theirs, Heartbeat* heartbeat) {
    const std::vector<PlacedDigest> ours = sortedByDigest(mine.digests, heartbeat);
    const std::vector<PlacedDigest> others = sortedByDigest(theirs.digests, heartbeat);
    std::size_t i = 0;
    std::size_t j = 0;
    int64_t paired = 0;
    while (i < ours.size() && j < others.size()) {
        if ((i + j) % 4096 == 0)
            beat(heartbeat);
        if (ours[i].digest < others[j].digest) {
            ++i;
        } else if (others[j].digest < ours[i].digest) {
            ++j;
        } else {
            const std::size_t first = i;
            const RecordFingerprint digest = ours[i].digest;
            int64_t here = 0;
            int64_t there = 0;
            for (; i < ours.size() && ours[i].digest == digest; ++i)
                ++here;
            for (; j < others.size() && others[j].digest == digest; ++j)
                ++there;
            paired += std::min(here, there);
            if (here != there)
                mine.answer.sharedCopies.push_back(
                    {{Side::Original, ours[first].number, {}, 0},
                     static_cast<int32_t>(std::min<int64_t>(here, INT32_MAX)),
                     static_cast<int32_t>(std::min<int64_t>(there, INT32_MAX))});
        }
    }
    std::sort(mine.answer.sharedCopies.begin(), mine.answer.sharedCopies.end(),
              [](const RecordCopies& a, const RecordCopies& b) { return a.record.number < b.record.number; });
    mine.answer.unpairedCopies = static_cast<int64_t>(mine.digests.size()) - paired;
    theirs.answer.unpairedCopies = static_cast<int64_t>(theirs.digests.size()) - paired;
}

std::optional<std::pair<PassAnswer, PassAnswer>>
answerBothWays(const MatchSide& original, const MatchSide& modified,
               const std::vector<std::string>& originalNames, const std::vector<std::string>& modifiedNames,
               Heartbeat* heartbeat, bool countCopies, const ValueOptions& options) {
    // Each direction's index query must be the other side's own query: the same table, the
    // same columns in the same order, every one of them compared, read in the database's order.
    if (!indexedMatchAllowed() || originalNames != modifiedNames ||
        original.query.table != modified.query.table || !original.query.orderBy.empty() ||
        !modified.query.orderBy.empty() || !original.query.conditions.empty() ||
        !modified.query.conditions.empty())
        return std::nullopt;
    std::vector<platform::ColumnInfo> originalColumns;
    std::vector<platform::ColumnInfo> modifiedColumns;
    reading(false, original.query, [&] { originalColumns = describe(*original.backend, original.query); });
    reading(true, modified.query, [&] { modifiedColumns = describe(*modified.backend, modified.query); });
    const std::vector<std::size_t> positions = allPositions(originalColumns.size());
    if (originalColumns.size() != modifiedColumns.size() ||
        !indexAllowed(original, modified, originalColumns, positions))
        return std::nullopt;
    try {
        SideReading mine = sideReading(
            original.backend, original.query, false,
            planFor(originalColumns, positions, modifiedColumns, original.backend->dialect(), options),
            heartbeat);
        SideReading theirs = sideReading(
            modified.backend, modified.query, true,
            planFor(modifiedColumns, positions, originalColumns, modified.backend->dialect(), options),
            heartbeat);
        std::optional<MatchedDigests> index;
        if (original.backend != modified.backend && original.backend->runsOnAnyThread() &&
            modified.backend->runsOnAnyThread()) {
            runBoth([&] { readDigests(mine, positions.size()); },
                    [&] {
                        readDigests(theirs, positions.size());
                        index.emplace(theirs.digests, heartbeat);
                    },
                    heartbeat);
        } else {
            readDigests(theirs, positions.size());
            index.emplace(theirs.digests, heartbeat);
            readDigests(mine, positions.size());
        }
        for (std::size_t i = 0; i < mine.digests.size(); ++i) {
            beat(heartbeat);
            if (!index->match(mine.digests[i]))
                mine.answer.missing.push_back(static_cast<int32_t>(i + 1));
        }
        theirs.answer.missing = index->unmatched();
        if (countCopies)
            countUnpairedCopies(mine, theirs, heartbeat);
        if (original.backend != modified.backend && original.backend->runsOnAnyThread() &&
            modified.backend->runsOnAnyThread())
            runBoth([&] { readReported(mine); }, [&] { readReported(theirs); }, heartbeat);
        else {
            readReported(mine);
            readReported(theirs);
        }
        const int64_t nearPairs = pairWithinTolerance(mine.answer, theirs.answer, originalColumns,
                                                      modifiedColumns, options, heartbeat);
        if (countCopies) {
            mine.answer.unpairedCopies -= nearPairs;
            theirs.answer.unpairedCopies -= nearPairs;
        }
        indexedPasses += 2;
        ++answeredTogether;
        return std::pair{std::move(mine.answer), std::move(theirs.answer)};
    } catch (const Untrusted&) {
        return std::nullopt;
    }
}

} // namespace sifkit::detail
