#include "IndexedMatch.h"

#include "access/ExactQuery.h"
#include "access/ManagerAccess.h"
#include "access/MatchQuery.h"

#include "platform/dataaccess/State.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <set>

namespace sifkit::detail {

namespace {

std::atomic<bool> indexedMatch{true};
std::atomic<int64_t> indexedPasses{0};

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
    if (mine.typeCode != theirs.typeCode)
        return false;
    switch (mine.typeCode) {
    case 4:   // single precision: the driver's text of it is not the stored value
    case 129: // fixed width: trailing blanks do not count
    case 130:
    case 131: // decimals: 7.0 and 7.00 are equal
        return false;
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

/// Whether the field list names exactly these columns of the table, in order, or is empty
/// (every column): then the side's query reads the table's own columns.
bool plainColumnList(const std::string& fieldList, const std::vector<platform::ColumnInfo>& columns) {
    const std::optional<std::vector<std::string>> names = fieldListColumns(fieldList);
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

/// Reads otherSide's compared fields once into a set of digests.
FingerprintSet readIndex(const IndexPlan& plan, const std::vector<platform::ColumnInfo>& columns) {
    FingerprintSet index;
    std::vector<std::size_t> all(plan.positions.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    plan.theirs->scan(
        plan.otherSql, {},
        [&](const std::vector<platform::ColumnInfo>& found) { checkOtherColumns(plan, columns, found); },
        [&](const platform::CellView* cells, std::size_t) { index.add(fingerprintOf(cells, all)); });
    return index;
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
        FingerprintSet index;
        if (carry && carry->ready && carry->connection.sameAs(plan->otherConnection) &&
            carry->sql == plan->otherSql) {
            carry->ready = false;
            checkOtherColumns(*plan, columns, carry->columns);
            index = std::move(carry->digests);
        } else {
            index = readIndex(*plan, columns);
        }

        // A full pass comparing every field of thisSide's query leaves its digests for the
        // pass of the other direction: they are those of the same query on this side.
        bool leaveDigests = carry && !visits && positions.size() == columns.size();
        // The field list is free text: each column must be the table's column of its name, not
        // an expression under that name.
        for (std::size_t i = 0; leaveDigests && i < positions.size(); ++i)
            leaveDigests = positions[i] == i;
        leaveDigests = leaveDigests && plainColumnList(thisSide.getFieldList(), columns);
        FingerprintSet own;

        // thisSide's query runs in the exact form its main record set was opened with.
        const auto& bound = ManagerAccess::boundStatement(thisSide);
        if (!bound || bound->shownText != query)
            return std::nullopt;
        std::vector<Value> parameters;
        const std::string exactSql = bound->query.render(mine.dialect(), parameters);

        IndexedScan scan;
        LastRow last;
        bool visitedAny = false;
        mine.scan(
            exactSql, parameters,
            [&](const std::vector<platform::ColumnInfo>& found) {
                if (found.size() != columns.size())
                    throw Untrusted{};
            },
            [&](const platform::CellView* cells, std::size_t count) {
                const int32_t number = ++scan.recordCount;
                if (visits && number > *visits)
                    return;
                const RecordFingerprint digest = fingerprintOf(cells, positions);
                if (leaveDigests)
                    own.add(digest);
                if (!index.contains(digest)) {
                    scan.missing.push_back(number);
                    scan.rows.push_back(valuesOf(cells, count));
                }
                last.keep(cells, count);
                visitedAny = true;
            });
        if (visitedAny)
            scan.rows.push_back(last.values());
        if (leaveDigests) {
            ExactQuery ownFields{thisSide.getTableName(), plan->otherFields.columns, {}, {}};
            std::vector<Value> none;
            carry->connection = plan->thisConnection;
            carry->sql = ownFields.render(mine.dialect(), none);
            carry->columns = columns;
            carry->digests = std::move(own);
            carry->ready = true;
        }
        return scan;
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace sifkit::detail
