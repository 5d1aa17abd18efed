// SPDX-License-Identifier: MIT
#include "IndexedMatch.h"

#include "KeptRows.h"

#include "access/ExactQuery.h"
#include "access/ManagerAccess.h"
#include "access/MatchQuery.h"

#include "dataaccess/State.h"

#include <sifkit/FieldList.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <exception>
#include <functional>
#include <set>
#include <thread>

namespace sifkit::detail {

namespace {

std::atomic<bool> indexedMatch{true};
std::atomic<int64_t> indexedPasses{0};
std::atomic<int64_t> answeredTogether{0};

/// The column affinity SQLite gives a declared type.
char sqliteAffinity(const std::string& declared) {
    std::string p = declared;
    std::transform(p.begin(), p.end(), p.begin(), [](unsigned char c) { return std::toupper(c); });
    if (p.find("INT") != std::string::npos)
        return 'I';
    if (p.find("CHAR") != std::string::npos || p.find("CLOB") != std::string::npos ||
        p.find("TEXT") != std::string::npos)
        return 'T';
    if (p.empty() || p.find("BLOB") != std::string::npos)
        return 'B';
    if (p.find("REAL") != std::string::npos || p.find("FLOA") != std::string::npos ||
        p.find("DOUB") != std::string::npos)
        return 'R';
    return 'N';
}

/// Whether values of the two columns are equal in the database exactly when their digests are.
bool digestsAgree(const platform::ColumnInfo& mine, const platform::ColumnInfo& theirs,
                  const platform::Dialect& dialect) {
    // On SQLite a bound value takes the column's affinity before it is compared, and a column
    // without a declared type reports the type of whatever its first value is.
    if (dialect.isSqlite)
        return sqliteAffinity(mine.declaredType) == sqliteAffinity(theirs.declaredType);
    if (mine.typeCode != theirs.typeCode || mine.typeName != theirs.typeName)
        return false;
    switch (mine.typeCode) {
    case 4:   // single precision: the driver's text of it is not the stored value
    case 129: // fixed width: trailing blanks do not count
    case 130:
    case 131: // decimals: 7.0 and 7.00 are equal
        return false;
    case 200: // texts: equal as the column's type or collation says, which is byte for byte
    case 201: // only for PostgreSQL's own text types (citext, say, ignores letter case)
    case 202:
    case 203: {
        static const std::set<std::string> byteExact{"text", "varchar", "name"};
        return dialect.dbmsName.find("PostgreSQL") != std::string::npos && byteExact.count(mine.typeName) > 0;
    }
    default:
        return true;
    }
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
    platform::Row values() const {
        platform::Row row;
        for (const auto& cell : cells_)
            row.push_back(cell.toValue());
        return row;
    }

private:
    std::vector<platform::CellView> cells_;
    std::vector<std::string> texts_;
};

platform::Row valuesOf(const platform::CellView* cells, std::size_t count) {
    platform::Row row;
    row.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        row.push_back(cells[i].toValue());
    return row;
}

bool sameColumns(const std::vector<platform::ColumnInfo>& a, const std::vector<platform::ColumnInfo>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].typeCode != b[i].typeCode ||
            a[i].declaredType != b[i].declaredType || a[i].storage != b[i].storage ||
            a[i].definedSize != b[i].definedSize)
            return false;
    return true;
}

std::vector<std::size_t> allPositions(std::size_t count) {
    std::vector<std::size_t> positions(count);
    for (std::size_t i = 0; i < count; ++i)
        positions[i] = i;
    return positions;
}

FingerprintSet setOf(const std::vector<RecordFingerprint>& digests) {
    FingerprintSet set;
    set.reserve(digests.size());
    for (const RecordFingerprint& digest : digests)
        set.add(digest);
    return set;
}

/// Whether the field list names exactly these columns of the table, in order, or is empty
/// (every column): then the side's query reads the table's own columns.
bool plainColumnList(const std::string& fieldList, const std::vector<platform::ColumnInfo>& columns) {
    const std::optional<std::vector<std::string>> names = parseFieldList(fieldList);
    if (!names)
        return false;
    if (names->empty())
        return true;
    if (names->size() != columns.size())
        return false;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if ((*names)[i] != columns[i].name)
            return false;
    return true;
}

struct Untrusted {};

} // namespace

bool indexedMatchAllowed() {
    return indexedMatch.load();
}

int64_t indexedPassCount() {
    return indexedPasses.load();
}

void countIndexedPass() {
    ++indexedPasses;
}

int64_t answeredTogetherCount() {
    return answeredTogether.load();
}

PerRecordMatchScope::PerRecordMatchScope() : previous_(indexedMatch.exchange(false)) {}

PerRecordMatchScope::~PerRecordMatchScope() {
    indexedMatch.store(previous_);
}

namespace {

/// What answering thisSide's records from an index of otherSide's takes.
struct IndexPlan {
    Connection thisConnection, otherConnection;
    platform::Backend* mine = nullptr;
    platform::Backend* theirs = nullptr;
    std::vector<std::size_t> positions; ///< thisSide's fields the match query compares
    ExactQuery otherFields;             ///< those fields read from otherSide's table
    std::string otherSql;
};

/// Checks that digests can stand for the database's equality on these two sides and which
/// fields take part; nothing when they cannot.
std::optional<IndexPlan> planIndex(const clsDBManager& thisSide, const clsDBManager& otherSide,
                                   const std::vector<platform::ColumnInfo>& columns) {
    IndexPlan plan{thisSide.getDatabaseConnection(),
                   otherSide.getDatabaseConnection(),
                   nullptr,
                   nullptr,
                   {},
                   ExactQuery{thisSide.getTableName(), {}, {}, {}},
                   {}};
    if (plan.thisConnection.state() != 1 || plan.otherConnection.state() != 1)
        return std::nullopt;
    plan.mine = &platform::StateAccess::backend(plan.thisConnection);
    plan.theirs = &platform::StateAccess::backend(plan.otherConnection);
    const platform::Dialect& dialect = plan.theirs->dialect();
    if (plan.mine->dialect().dbmsName != dialect.dbmsName || dialect.realsAtFifteenDigits ||
        plan.mine->dialect().realsAtFifteenDigits)
        return std::nullopt;

    // The fields the match query compares: those of the same name and position.
    std::set<std::string> seen;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (isFieldUnmatched(thisSide, otherSide, static_cast<int32_t>(i)) != 0)
            continue;
        std::string folded = columns[i].name;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (!seen.insert(folded).second)
            return std::nullopt; // a field named twice
        plan.positions.push_back(i);
        plan.otherFields.columns.push_back(columns[i].name);
    }
    if (plan.positions.empty())
        return std::nullopt;
    std::vector<Value> none;
    plan.otherSql = plan.otherFields.render(dialect, none);
    return plan;
}

/// Throws Untrusted unless otherSide's columns agree with thisSide's compared ones.
void checkOtherColumns(const IndexPlan& plan, const std::vector<platform::ColumnInfo>& columns,
                       const std::vector<platform::ColumnInfo>& found) {
    if (found.size() != plan.positions.size())
        throw Untrusted{};
    for (std::size_t i = 0; i < plan.positions.size(); ++i)
        if (!digestsAgree(columns[plan.positions[i]], found[i], plan.theirs->dialect()))
            throw Untrusted{};
}

/// One side's reading for a pass of each direction: every record's digest in the order of
/// its query, then the records without an equal one on the other side and their values.
struct SideReading {
    platform::Backend* backend = nullptr;
    std::string sql;
    std::vector<Value> parameters;
    std::vector<std::size_t> positions;        ///< the compared fields
    std::vector<platform::ColumnInfo> columns; ///< as the query describes them
    std::vector<RecordFingerprint> digests;
    IndexedScan scan;
    std::optional<KeptRows> kept; ///< the rows as read, where reading chosen rows means reading all
};

/// How much of a side's rows is kept from its reading before they are rather read again.
constexpr std::size_t keptRowsBudget = std::size_t{64} << 20;

SideReading sideReading(platform::Backend* backend, const std::string& sql,
                        const std::vector<Value>& parameters, std::vector<std::size_t> positions) {
    SideReading side{backend, sql, parameters, std::move(positions), {}, {}, {}, {}};
    if (!backend->skipsUnwantedRows())
        side.kept.emplace(keptRowsBudget);
    return side;
}

void readDigests(SideReading& side,
                 const std::function<void(const std::vector<platform::ColumnInfo>&)>& check) {
    side.backend->scan(
        side.sql, side.parameters,
        [&](const std::vector<platform::ColumnInfo>& found) {
            check(found);
            side.columns = found;
        },
        [&](const platform::CellView* cells, std::size_t count) {
            side.digests.push_back(fingerprintOf(cells, side.positions));
            if (side.kept)
                side.kept->keep(cells, count);
        });
    side.scan.recordCount = static_cast<int32_t>(side.digests.size());
}

/// Reads otherSide's compared fields once into a set of digests.
FingerprintSet readIndex(const IndexPlan& plan, const std::vector<platform::ColumnInfo>& columns) {
    SideReading theirs{plan.theirs, plan.otherSql, {}, allPositions(plan.positions.size()), {}, {}, {}, {}};
    readDigests(theirs, [&](const std::vector<platform::ColumnInfo>& found) {
        checkOtherColumns(plan, columns, found);
    });
    return setOf(theirs.digests);
}

/// Reads the wanted records of side again; each must still have the digest it had.
void readAgain(SideReading& side, const std::vector<int32_t>& wanted) {
    std::size_t next = 0;
    side.backend->scanRows(
        side.sql, side.parameters, wanted,
        [&](const std::vector<platform::ColumnInfo>& found) {
            if (found.size() != side.columns.size())
                throw Untrusted{};
        },
        [&](const platform::CellView* cells, std::size_t cellCount) {
            if (next == wanted.size() || !(fingerprintOf(cells, side.positions) ==
                                           side.digests[static_cast<std::size_t>(wanted[next] - 1)]))
                throw Untrusted{}; // the table changed under the reading
            ++next;
            side.scan.rows.push_back(valuesOf(cells, cellCount));
        });
    if (next != wanted.size())
        throw Untrusted{};
}

/// The values of side's missing records, and of its last record: from the rows kept of its
/// reading, or read again, when each record read must still have the digest it had.
void readReported(SideReading& side) {
    const auto count = static_cast<int32_t>(side.digests.size());
    if (count == 0)
        return;
    std::vector<int32_t> wanted = side.scan.missing;
    if (wanted.empty() || wanted.back() != count)
        wanted.push_back(count);
    if (side.kept && side.kept->complete()) {
        for (int32_t number : wanted)
            side.scan.rows.push_back(side.kept->row(number));
        side.kept.reset();
    } else {
        readAgain(side, wanted);
    }
    if (wanted.size() == side.scan.missing.size())
        side.scan.rows.push_back(side.scan.rows.back()); // the last record is also a reported one
}

/// The digests of otherSide's records in one set, each place in it marked once one of
/// thisSide's records has its digest: what is left unmarked is missing from thisSide.
class MatchedDigests {
public:
    explicit MatchedDigests(const std::vector<RecordFingerprint>& digests) {
        set_.reserve(digests.size());
        places_.reserve(digests.size());
        for (const RecordFingerprint& digest : digests)
            places_.push_back(set_.insert(digest));
        matched_.resize(set_.slotCount());
    }
    /// Whether otherSide holds the digest; marks it found.
    bool match(const RecordFingerprint& digest) {
        const std::size_t place = set_.find(digest);
        if (place == FingerprintSet::absent)
            return false;
        matched_[place] = true;
        return true;
    }
    /// otherSide's records no record matched, ascending.
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

/// Streams a query of columnCount columns and answers each of its first `visits` records (all
/// without a limit) with `found`, keeping the values of the records it reports and of the last
/// one visited; every record is counted. The digests of the records visited go to `digests`
/// when it is given.
IndexedScan streamAgainst(platform::Backend& backend, const std::string& sql,
                          const std::vector<Value>& parameters, std::size_t columnCount,
                          const std::vector<std::size_t>& positions, std::optional<int64_t> visits,
                          const std::function<bool(const RecordFingerprint&)>& found,
                          std::vector<RecordFingerprint>* digests = nullptr) {
    IndexedScan scan;
    LastRow last;
    bool visitedAny = false;
    backend.scan(
        sql, parameters,
        [&](const std::vector<platform::ColumnInfo>& described) {
            if (described.size() != columnCount)
                throw Untrusted{};
        },
        [&](const platform::CellView* cells, std::size_t count) {
            const int32_t number = ++scan.recordCount;
            if (visits && number > *visits)
                return;
            const RecordFingerprint digest = fingerprintOf(cells, positions);
            if (digests)
                digests->push_back(digest);
            if (!found(digest)) {
                scan.missing.push_back(number);
                scan.rows.push_back(valuesOf(cells, count));
            }
            last.keep(cells, count);
            visitedAny = true;
        });
    if (visitedAny)
        scan.rows.push_back(last.values());
    return scan;
}

/// Runs both jobs at the same time, the second on a thread of its own.
void runBoth(const std::function<void()>& first, const std::function<void()>& second) {
    std::exception_ptr secondFailure;
    std::thread worker([&] {
        try {
            second();
        } catch (...) {
            secondFailure = std::current_exception();
        }
    });
    try {
        first();
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (secondFailure)
        std::rethrow_exception(secondFailure);
}

/// Answers thisSide's full pass and otherSide's together. Where both connections may run on
/// any thread, the two sides are read at the same time for the digests of their records, then
/// the values of the records reported are taken: from the rows kept of a server's reading, or
/// by reading a file once more, passing over the other rows. Else otherSide is read for its
/// digests, thisSide streamed against them keeping what it reports, and the values of
/// otherSide's records reported taken the same way.
IndexedScan answerBothWays(const IndexPlan& plan, const std::vector<platform::ColumnInfo>& columns,
                           const std::string& exactSql, const std::vector<Value>& parameters,
                           DigestCarry& carry) {
    SideReading mine = sideReading(plan.mine, exactSql, parameters, plan.positions);
    SideReading theirs = sideReading(plan.theirs, plan.otherSql, {}, allPositions(plan.positions.size()));
    const auto checkMine = [&](const std::vector<platform::ColumnInfo>& found) {
        if (found.size() != columns.size())
            throw Untrusted{};
    };
    const auto checkTheirs = [&](const std::vector<platform::ColumnInfo>& found) {
        checkOtherColumns(plan, columns, found);
    };
    if (plan.mine != plan.theirs && plan.mine->runsOnAnyThread() && plan.theirs->runsOnAnyThread()) {
        std::optional<MatchedDigests> index;
        runBoth([&] { readDigests(mine, checkMine); },
                [&] {
                    readDigests(theirs, checkTheirs);
                    index.emplace(theirs.digests);
                });
        for (std::size_t i = 0; i < mine.digests.size(); ++i)
            if (!index->match(mine.digests[i]))
                mine.scan.missing.push_back(static_cast<int32_t>(i + 1));
        theirs.scan.missing = index->unmatched();
        runBoth([&] { readReported(mine); }, [&] { readReported(theirs); });
    } else {
        readDigests(theirs, checkTheirs);
        MatchedDigests index(theirs.digests);
        mine.scan =
            streamAgainst(*mine.backend, mine.sql, mine.parameters, columns.size(), mine.positions,
                          std::nullopt, [&](const RecordFingerprint& digest) { return index.match(digest); });
        theirs.scan.missing = index.unmatched();
        readReported(theirs);
    }
    carry.answered =
        DigestCarry::Answered{plan.otherConnection, plan.otherSql, theirs.columns, std::move(theirs.scan)};
    return std::move(mine.scan);
}

} // namespace

std::optional<std::vector<bool>> answerFromIndex(const clsDBManager& thisSide,
                                                 const clsDBManager& otherSide) {
    try {
        const platform::RowSet& rows = platform::StateAccess::of(thisSide.getDatabaseRecords()).data;
        std::optional<IndexPlan> plan = planIndex(thisSide, otherSide, rows.columns);
        if (!plan)
            return std::nullopt;
        const FingerprintSet index = readIndex(*plan, rows.columns);
        std::vector<bool> found;
        found.reserve(rows.rows.size());
        std::vector<platform::CellView> cells;
        for (const platform::Row& row : rows.rows) {
            cells.clear();
            for (const Value& value : row)
                cells.push_back(platform::CellView::of(value));
            found.push_back(index.contains(fingerprintOf(cells.data(), plan->positions)));
        }
        return found;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<IndexedScan> scanAgainstIndex(const clsDBManager& thisSide, const clsDBManager& otherSide,
                                            const std::string& query, std::optional<int64_t> visits,
                                            DigestCarry* carry) {
    try {
        Recordset records = thisSide.getDatabaseRecords();
        const std::vector<platform::ColumnInfo> columns = platform::StateAccess::of(records).data.columns;
        std::optional<IndexPlan> plan = planIndex(thisSide, otherSide, columns);
        if (!plan)
            return std::nullopt;
        const std::vector<std::size_t>& positions = plan->positions;
        platform::Backend& mine = *plan->mine;

        // thisSide's query runs in the exact form its main record set was opened with.
        const auto& bound = ManagerAccess::boundStatement(thisSide);
        if (!bound || bound->shownText != query)
            return std::nullopt;
        std::vector<Value> parameters;
        const std::string exactSql = bound->query.render(mine.dialect(), parameters);

        // A full pass comparing every field of thisSide's query, each the table's column of its
        // name (the field list is free text: not an expression under that name), stands for
        // the index the pass of the other direction reads on this side.
        bool everyField = !visits && positions.size() == columns.size();
        for (std::size_t i = 0; everyField && i < positions.size(); ++i)
            everyField = positions[i] == i;
        everyField = everyField && plainColumnList(thisSide.getFieldList(), columns);

        // What the carry says of otherSide's reading holds for this pass's index query.
        const bool carried =
            carry && carry->connection.sameAs(plan->otherConnection) && carry->sql == plan->otherSql;
        if (carried && everyField && carry->answered &&
            carry->answered->connection.sameAs(plan->thisConnection) && carry->answered->sql == exactSql &&
            parameters.empty() && sameColumns(carry->answered->columns, columns)) {
            checkOtherColumns(*plan, columns, carry->columns);
            IndexedScan scan = std::move(carry->answered->scan);
            carry->answered.reset();
            ++answeredTogether;
            carry->ready = false;
            return scan;
        }
        const auto describeReading = [&] {
            ExactQuery ownFields{thisSide.getTableName(), plan->otherFields.columns, {}, {}};
            std::vector<Value> none;
            carry->connection = plan->thisConnection;
            carry->sql = ownFields.render(mine.dialect(), none);
            carry->columns = columns;
        };
        if (carry && everyField && !carried && parameters.empty()) {
            carry->answered.reset();
            carry->ready = false;
            IndexedScan scan = answerBothWays(*plan, columns, exactSql, parameters, *carry);
            describeReading();
            return scan;
        }

        FingerprintSet index;
        if (carried && carry->ready) {
            carry->ready = false;
            checkOtherColumns(*plan, columns, carry->columns);
            index = std::move(carry->digests);
        } else {
            index = readIndex(*plan, columns);
        }
        const bool leaving = carry && everyField && !carried;
        std::vector<RecordFingerprint> own;

        IndexedScan scan = streamAgainst(
            mine, exactSql, parameters, columns.size(), positions, visits,
            [&](const RecordFingerprint& digest) { return index.contains(digest); },
            leaving ? &own : nullptr);
        if (leaving) {
            carry->digests = setOf(own);
            carry->ready = true;
            describeReading();
        }
        return scan;
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace sifkit::detail
