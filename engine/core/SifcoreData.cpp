// SPDX-License-Identifier: MIT
// The data runs of the engine control: the full run and its window, the ordered run and the
// runs that start from connection strings. Each direction of a run is answered by the matcher
// (DataMatch); what the sides' managers show of it (data items, record numbers, progress,
// messages, the last match query) is rendered here from that answer.

#include "DataMatch.h"
#include "RecordFingerprint.h"
#include "RecordPairing.h"

#include "access/CatalogueReader.h"
#include "access/FieldTypes.h"
#include "access/FileHelpers.h"
#include "legacy/ResultItems.h"
#include "legacy/StatementText.h"
#include "model/Messages.h"

#include <sifkit/FieldList.h>
#include <sifkit/Sifcore.h>

#include <algorithm>
#include <optional>
#include <set>
#include <variant>

namespace sifkit {

namespace {

using detail::Cause;
using detail::MatchFailed;
using detail::PassAnswer;
using detail::Statement;

const char* const success = "Successfully Completed";
const char* const readingOriginal = "Reading Original";
const char* const readingModified = "Reading Modified";

platform::Backend& backendOf(const clsDBManager& side) {
    return platform::requireBackend(side.getDatabaseConnection());
}

/// The columns of a record set as a comparison knows them (named or not: a data pass keeps
/// every field of its query).
std::vector<ColumnSchema> columnsOf(const Recordset& records) {
    std::vector<ColumnSchema> columns;
    const bool hasRow = records.state() == 1 && !records.eof();
    for (int32_t i = 0; i < records.fieldCount(); ++i) {
        Field field = records.field(i);
        ColumnSchema column;
        column.name = field.name();
        column.typeCode = field.type();
        column.typeName = detail::fieldTypeDescription(column.typeCode);
        column.definedSize = field.definedSize();
        column.actualSize = hasRow ? field.actualSize() : 0;
        column.comparable = detail::isComparableTypeCode(column.typeCode);
        columns.push_back(std::move(column));
    }
    return columns;
}

std::vector<std::string> namesOf(const std::vector<ColumnSchema>& columns) {
    std::vector<std::string> names;
    for (const ColumnSchema& column : columns)
        names.push_back(column.name);
    return names;
}

std::vector<platform::ColumnInfo> infoOf(const std::vector<ColumnSchema>& columns) {
    std::vector<platform::ColumnInfo> info;
    for (const ColumnSchema& column : columns) {
        platform::ColumnInfo one;
        one.name = column.name;
        one.typeCode = column.typeCode;
        info.push_back(std::move(one));
    }
    return info;
}

/// The table query of builtBy (its table and field list, sorted by orderBy when given), typed;
/// nothing when the field list does not read as column names.
std::optional<Statement> tableStatement(const clsDBManager& builtBy, const std::string& orderBy = "") {
    std::optional<std::vector<std::string>> names = parseFieldList(builtBy.getFieldList());
    if (!names)
        return std::nullopt;
    return Statement{builtBy.getTableName(), std::move(*names), {}, orderBy, builtBy.rowFilter()};
}

/// The side a pass looks in: its connection, read with the pass's own query under the side's own
/// row filter.
detail::MatchSide otherSideOf(const clsDBManager& otherSide, Statement query) {
    query.filter = otherSide.rowFilter();
    return {&backendOf(otherSide), std::move(query)};
}

/// Opens on side's main record set, at most maxRows rows (all with 0), the table query of builtBy
/// as shownText shows it, in its exact form: table and columns quoted by side's connection, so no
/// name can change what runs. The outcome is appended to side's SQL message as an open appends
/// it. Returns the statement; nothing when builtBy's field list does not read as names (a #3 says
/// so, and nothing is sent).
std::optional<Statement> openTableQuery(clsDBManager& side, const clsDBManager& builtBy,
                                        const std::string& shownText, const std::string& orderBy = "",
                                        int32_t maxRows = 0) {
    std::optional<Statement> statement = tableStatement(builtBy, orderBy);
    if (!statement) {
        side.closeRecordSet();
        side.appendFailure(detail::fieldListFailure(builtBy.getFieldList(), shownText));
        return std::nullopt;
    }
    try {
        Connection connection = side.getDatabaseConnection();
        std::vector<Value> parameters;
        const std::string sql = statement->render(backendOf(side).dialect(), parameters);
        side.getDataManager()->rsAccess.open(sql, parameters, connection, maxRows, statement->table);
        side.setReturnSQLMessage(side.getReturnSQLMessage() + " Successfully Completed ||");
    } catch (const std::exception&) {
        side.appendFailure(detail::openFailure(3, Cause::current(), shownText));
    }
    return statement;
}

/// The primary key text the data items carry; "" when the catalogue cannot say (the items are
/// still made: the key only pairs records for display).
std::string primaryKeyTextOf(clsDBManager& side) {
    try {
        return side.getAccessPrimaryKey(side.getTableName());
    } catch (const Error&) {
        return {};
    }
}

/// One field item per column of the side's table query (its field list, or every column), each
/// with the table's primary key, then the query's field count stored on the side. Failures
/// become #11 (the fields) and #18 (the structure) texts.
void loadFieldStructure(clsDBManager& side) {
    side.setReturnMessage(success);
    try {
        side.setReturnSQLMessage(success);
        const std::string query = detail::tableQueryText(side.getFieldList(), side.getTableName());
        // The columns and one row (for the actual sizes) are all that is needed here.
        openTableQuery(side, side, query, "", 1);
        Recordset records = side.getDatabaseRecords();
        try {
            if (records.state() != 1)
                throw Error(ErrorNumber::ObjectClosed, "Operation is not allowed when the object is closed.");
            TableSchema table;
            table.name = side.getTableName();
            const std::string key = side.getAccessPrimaryKey(table.name);
            if (key != "No primary key Defined")
                table.primaryKey = {key};
            table.columnCount = records.fieldCount();
            for (ColumnSchema& column : columnsOf(records))
                if (!column.name.empty())
                    table.columns.push_back(std::move(column));
            detail::appendFieldItems(*side.getResults(), table);
        } catch (const Error&) {
            Failure failure = detail::fieldItemsFailure(query, 0);
            const Cause cause = Cause::current();
            failure.errorNumber = cause.number;
            failure.description = cause.description;
            side.appendFailure(failure);
        }
        side.setFieldCount(records.fieldCount());
        side.closeRecordSet();
    } catch (const std::exception&) {
        side.appendFailure(detail::fieldStructureFailure(side.getTableName(), side.getFieldList()));
    }
}

/// Where a pass's answer comes from: the matcher, asked by the pass itself; an answer the run
/// found for both directions at once; or the failure of that joint reading, as it concerns this
/// pass.
using KnownAnswer = std::variant<std::monostate, PassAnswer, MatchFailed>;

/// What a pass leaves for the run's typed result.
struct PassResult {
    bool complete = true; ///< false when a look-up failed: the pass's items are no answer
    std::vector<ColumnSchema> columns;
    std::vector<DataRecord> records;
    int32_t recordCount = 0;
    int32_t unpairedCopies = -1;            ///< see PassAnswer
    std::vector<RecordCopies> sharedCopies; ///< see PassAnswer
};

/// The progress a counted pass reports: dataProgressStatus and its maximum, and the event.
struct PassProgress {
    Sifcore& engine;
    int32_t& status;
    int32_t& statusMax;
    std::string label;
    int32_t sinceEvent = 0;

    /// After each record: one more record processed, an event every 50 records while the total
    /// is still ahead.
    void advance() {
        ++status;
        if (++sinceEvent == 50) {
            if (statusMax > status && status > 0)
                engine.setCurrentProgressCount(status, statusMax, label);
            sinceEvent = 0;
        }
    }
};

/// The texts users see of the match query that looked for the last record answered, left on the
/// other side as the pass leaves them.
void showLastMatch(clsDBManager& otherSide, const clsDBManager& thisSide,
                   const std::vector<ColumnSchema>& columns, const std::vector<std::size_t>& positions,
                   const platform::Row& last) {
    if (last.empty())
        return;
    const Statement match = detail::matchStatement(thisSide.getTableName(), infoOf(columns), positions, last);
    const detail::MatchQueryText text = detail::matchQueryText(match, thisSide.getIsAccess());
    otherSide.setSQL(text.select);
    otherSide.setWhereClause(text.where);
}

Failure withCause(Failure failure, const Cause& cause) {
    failure.errorNumber = cause.number;
    failure.sqlState = cause.sqlState;
    failure.description = cause.description;
    return failure;
}

/// How a failed reading is reported: a side looked in that could not be read fails with the
/// look-up's #4 (on both sides, as the look-up appends it to each); a side whose own records
/// could not be read has only the pass's own message.
void reportMatchFailure(clsDBManager& thisSide, clsDBManager& otherSide, const MatchFailed& failed) {
    if (!failed.theirs)
        return;
    const detail::MatchQueryText text = detail::matchQueryText(failed.query, thisSide.getIsAccess());
    const Failure lookup = detail::lookupFailure(
        failed.cause, failed.query.conditions.empty() ? text.select : text.select + text.where);
    otherSide.appendFailure(lookup);
    // Its text is this side's too, as its look-up appends it; the failure is the other side's.
    thisSide.setReturnSQLMessage(thisSide.getReturnSQLMessage() + lookup.text);
}

/// The pass's own message of a failed reading, with the cause when it was this side's.
Failure passFailure(Failure failure, const MatchFailed& failed) {
    return failed.theirs ? failure : withCause(std::move(failure), failed.cause);
}

std::vector<DataRecord> recordsOf(PassAnswer&& answer, Side side) {
    std::vector<DataRecord> records;
    records.reserve(answer.missing.size());
    for (std::size_t i = 0; i < answer.missing.size(); ++i)
        records.push_back({side, answer.missing[i], std::move(answer.rows[i]), 0});
    return records;
}

/// The full pass (every record) or the window pass (at most `visits` records from the first):
/// every record of thisSide's query that has no equal record on otherSide becomes data items
/// (code 5) in thisSide's new collection, with progress every 50 records. A query without rows
/// leaves the collection as it was.
PassResult runCountedPass(clsDBManager& thisSide, clsDBManager& otherSide, Side side, PassProgress progress,
                          std::optional<int64_t> visits, KnownAnswer known, detail::Heartbeat& heartbeat,
                          const ValueOptions& options) {
    PassResult result;
    const std::string query = detail::tableQueryText(thisSide.getFieldList(), thisSide.getTableName());
    thisSide.setReturnSQLMessage(success);
    progress.statusMax = 100;
    try {
        // The first row tells the columns and whether there are rows at all.
        const std::optional<Statement> statement = openTableQuery(thisSide, thisSide, query, "", 1);
        Recordset records = thisSide.getDatabaseRecords();
        progress.status = 1;
        if (records.state() != 1)
            throw std::monostate{};
        if (records.bof()) { // no rows: the collection stays as it was
            thisSide.closeRecordSet();
            otherSide.closeRecordSet();
            return result;
        }
        result.columns = columnsOf(records);
        const auto fieldCount = static_cast<int32_t>(result.columns.size());
        thisSide.setCurrentRecordNumber(1);
        thisSide.setFieldCount(fieldCount);
        thisSide.resetResult();
        const std::vector<std::size_t> positions = detail::matchedPositions(
            namesOf(result.columns), namesOf(columnsOf(otherSide.getDatabaseRecords())));

        PassAnswer answer;
        if (auto* given = std::get_if<PassAnswer>(&known)) {
            answer = std::move(*given);
        } else if (auto* failed = std::get_if<MatchFailed>(&known)) {
            throw *failed;
        } else {
            const detail::MatchSide mine{&backendOf(thisSide), *statement};
            const detail::MatchSide theirs = otherSideOf(otherSide, *statement);
            bool counted = false;
            answer = detail::answerPass(
                mine, theirs, positions, visits,
                [&](int64_t, int32_t recordCount) {
                    if (!counted) { // the events need the total
                        thisSide.setRecordCount(recordCount);
                        progress.statusMax = recordCount;
                        counted = true;
                    }
                    progress.advance();
                },
                &heartbeat, options);
        }
        if (!std::holds_alternative<std::monostate>(known)) {
            thisSide.setRecordCount(answer.recordCount);
            progress.statusMax = answer.recordCount;
            for (int64_t i = 0; i < answer.visited; ++i)
                progress.advance();
        }
        thisSide.setRecordCount(answer.recordCount);
        result.recordCount = answer.recordCount;
        result.unpairedCopies = static_cast<int32_t>(std::min<int64_t>(answer.unpairedCopies, INT32_MAX));
        const detail::DataItemContext context{thisSide.getTableName(), primaryKeyTextOf(thisSide), fieldCount,
                                              answer.recordCount + 4};
        for (std::size_t i = 0; i < answer.missing.size(); ++i) {
            heartbeat.beat();
            detail::appendDataItems(*thisSide.getResults(), result.columns, answer.rows[i], answer.missing[i],
                                    context);
        }
        thisSide.setCurrentRecordNumber(static_cast<int32_t>(answer.visited) + 1);
        if (answer.visited > 0) {
            showLastMatch(otherSide, thisSide, result.columns, positions, answer.last);
            thisSide.setReturnSQLMessage(success); // each record's look-up starts the message afresh
        }
        result.sharedCopies = std::move(answer.sharedCopies);
        result.records = recordsOf(std::move(answer), side);
    } catch (const MatchFailed& failed) {
        reportMatchFailure(thisSide, otherSide, failed);
        thisSide.appendFailure(passFailure(detail::dataPassFailure(query), failed));
        result.complete = false;
    } catch (const detail::OptionsNeedIndex&) {
        Failure failure = detail::dataPassFailure(query);
        failure.description = options.tolerance > 0 && visits
                                  ? "a numeric tolerance needs every record of both sides compared"
                                  : "the value options need both sides read whole, which this connection's "
                                    "driver does not allow (it rounds reals, or a field is named twice)";
        thisSide.appendFailure(failure);
        result.complete = false;
    } catch (const std::monostate&) {
        // thisSide's query could not be opened: reported by its open; the pass says so too.
        thisSide.appendFailure(detail::dataPassFailure(query));
    }
    thisSide.closeRecordSet();
    otherSide.closeRecordSet();
    return result;
}

/// The ordered pass: thisSide's records in the order of its first comparable unchanged field,
/// each looked for on otherSide; no progress, one record number for all items, appended to the
/// collection as it is. Returns false when a look-up failed.
bool runOrderedPass(clsDBManager& thisSide, clsDBManager& otherSide, detail::Heartbeat& heartbeat) {
    thisSide.setReturnSQLMessage(success);
    bool complete = true;
    std::string orderField;
    const ResultCollection& items = *thisSide.getResults();
    for (int32_t position = 1; position <= items.count(); ++position) {
        const clsResultSet& item = *items.item(position);
        if (item.getDatabaseObjName() == thisSide.getTableName() && item.changeCode() == 0 &&
            item.getIsFieldDesc() && detail::isComparableTypeDescription(item.getDataType())) {
            orderField = item.getFieldName();
            break;
        }
    }
    const std::string query =
        detail::tableQueryText(thisSide.getFieldList(), thisSide.getTableName(), orderField);
    try {
        const std::optional<Statement> statement = openTableQuery(thisSide, thisSide, query, orderField, 1);
        openTableQuery(otherSide, thisSide, query, orderField, 1);
        Recordset records = thisSide.getDatabaseRecords();
        if (records.state() == 1 && !records.bof()) {
            const std::vector<ColumnSchema> columns = columnsOf(records);
            const std::vector<std::size_t> positions = detail::matchedPositions(
                namesOf(columns), namesOf(columnsOf(otherSide.getDatabaseRecords())));
            const detail::MatchSide mine{&backendOf(thisSide), *statement};
            const detail::MatchSide theirs = otherSideOf(otherSide, *statement);
            const PassAnswer answer =
                detail::answerPass(mine, theirs, positions, std::nullopt, {}, &heartbeat);
            const detail::DataItemContext context{thisSide.getTableName(), primaryKeyTextOf(thisSide),
                                                  static_cast<int32_t>(columns.size()),
                                                  thisSide.getRecordCount() + 4};
            for (std::size_t i = 0; i < answer.missing.size(); ++i)
                detail::appendDataItems(*thisSide.getResults(), columns, answer.rows[i],
                                        thisSide.getCurrentRecordNumber(), context);
            if (answer.visited > 0) {
                showLastMatch(otherSide, thisSide, columns, positions, answer.last);
                thisSide.setReturnSQLMessage(success);
            }
        }
    } catch (const MatchFailed& failed) {
        reportMatchFailure(thisSide, otherSide, failed);
        thisSide.appendFailure(passFailure(detail::orderedPassFailure(query, orderField), failed));
        complete = false;
    } catch (const Error&) {
        thisSide.appendFailure(withCause(detail::orderedPassFailure(query, orderField), Cause::current()));
    }
    thisSide.closeRecordSet();
    otherSide.closeRecordSet();
    return complete;
}

/// Writes the rows of the side's current statement (its compared fields, as the last match
/// query on it selected them) to the side's XML file, replacing an older file of that name.
/// With no current table only the old file is removed. The file is missing when the rows
/// cannot be read or written.
void exportSideToXml(clsDBManager& side, const std::optional<Statement>& shown) {
    const std::string fileName = side.getXmlFileName();
    detail::deleteFileIfExists(fileName);
    if (side.getTableName().empty())
        return;
    try {
        Recordset rows;
        if (shown && detail::matchQueryText(*shown, side.getIsAccess()).select == side.getSql()) {
            std::vector<Value> parameters;
            const std::string sql = shown->render(backendOf(side).dialect(), parameters);
            rows.open(sql, parameters, side.getDatabaseConnection(), 0, shown->table);
        } else {
            rows.open(side.getSql(), side.getDatabaseConnection()); // a text the host set
        }
        rows.save(fileName);
    } catch (const Error&) {
        // The export is documented to pass its failures over: the file is then missing.
    }
}

/// The statement whose select part the other direction's pass left as the side's SQL text.
std::optional<Statement> comparedFields(const clsDBManager& side, const PassResult& otherPass,
                                        const std::vector<ColumnSchema>& sideColumns) {
    if (otherPass.columns.empty())
        return std::nullopt;
    Statement fields{side.getTableName(), {}, {}, {}, {}};
    for (std::size_t position : detail::matchedPositions(namesOf(otherPass.columns), namesOf(sideColumns)))
        fields.columns.push_back(otherPass.columns[position].name);
    return fields;
}

/// The compared columns, in their order, that either side's database would call equal where
/// letter case or trailing blanks differ.
std::vector<std::string> looselyCollated(clsDBManager& masterSide, clsDBManager& sourceSide,
                                         const std::vector<std::string>& compared) {
    std::set<std::string> loose;
    for (clsDBManager* side : {&masterSide, &sourceSide})
        if (side->getDatabaseConnection().backend())
            for (std::string& column : backendOf(*side).looselyCollatedColumns(side->getTableName()))
                loose.insert(std::move(column));
    std::vector<std::string> named;
    for (const std::string& column : compared)
        if (loose.count(column))
            named.push_back(column);
    return named;
}

/// The key when both passes compare every column of it; empty otherwise.
std::vector<std::string> comparedKey(std::vector<std::string> key, const PassResult& master,
                                     const PassResult& source) {
    const std::vector<std::string> names = namesOf(master.columns);
    const std::vector<std::string> others = namesOf(source.columns);
    for (const std::string& column : key)
        if (std::find(names.begin(), names.end(), column) == names.end() ||
            std::find(others.begin(), others.end(), column) == others.end())
            return {};
    return key;
}

/// The keys of both sides' tables, read from the catalogues once for a run, when first asked
/// for: their primary keys and, where neither side has one, the first unique key without Nulls
/// the Original has that the Modified has too.
class RunPrimaryKeys {
public:
    RunPrimaryKeys(clsDBManager& masterSide, clsDBManager& sourceSide)
        : master_(masterSide), source_(sourceSide) {}

    /// Null when a catalogue cannot tell.
    const std::pair<std::vector<std::string>, std::vector<std::string>>* get() {
        if (!read_) {
            read_ = true;
            try {
                keys_.emplace(detail::primaryKeyOf(backendOf(master_), master_.getTableName()),
                              detail::primaryKeyOf(backendOf(source_), source_.getTableName()));
                if (keys_->first.empty() && keys_->second.empty())
                    uniqueKey_ = sharedUniqueKey();
            } catch (const Error&) {
                // a key the catalogue cannot tell pairs nothing; the records still stand
                keys_.reset();
            }
        }
        return keys_ ? &*keys_ : nullptr;
    }

    /// The unique key both sides have where neither has a primary key; empty otherwise.
    const std::vector<std::string>& uniqueKey() {
        get();
        return uniqueKey_;
    }

private:
    std::vector<std::string> sharedUniqueKey() {
        const std::vector<std::vector<std::string>> theirs =
            backendOf(source_).uniqueKeys(source_.getTableName());
        for (std::vector<std::string>& key : backendOf(master_).uniqueKeys(master_.getTableName()))
            if (std::find(theirs.begin(), theirs.end(), key) != theirs.end())
                return std::move(key);
        return {};
    }

    clsDBManager& master_;
    clsDBManager& source_;
    bool read_ = false;
    std::optional<std::pair<std::vector<std::string>, std::vector<std::string>>> keys_;
    std::vector<std::string> uniqueKey_;
};

/// Whether a run's records have no key to pair them: none given, and neither a primary key on
/// either side nor a unique key on both. Such records are counted as multisets as well.
bool pairsWithoutKey(const std::vector<std::string>& givenKey, RunPrimaryKeys& primaryKeys) {
    const auto* keys = givenKey.empty() ? primaryKeys.get() : nullptr;
    return keys && keys->first.empty() && keys->second.empty() && primaryKeys.uniqueKey().empty();
}

/// The primary key both sides share, or else their unique key, where both passes compare it;
/// empty otherwise.
std::vector<std::string> sharedKey(RunPrimaryKeys& primaryKeys, const PassResult& master,
                                   const PassResult& source) {
    const auto* keys = primaryKeys.get();
    if (!keys)
        return {};
    if (keys->first.empty() && keys->second.empty())
        return comparedKey(primaryKeys.uniqueKey(), master, source);
    if (keys->first.empty() || keys->first != keys->second)
        return {};
    return comparedKey(keys->first, master, source);
}

} // namespace

std::vector<Failure> Sifcore::lastFailures() const {
    std::vector<Failure> failures;
    for (auto [manager, side] : {std::pair{masterDataManager_.get(), Side::Original},
                                 std::pair{sourceDataManager_.get(), Side::Modified}}) {
        if (!manager)
            continue;
        for (Failure failure : manager->getFailures()) {
            failure.side = side;
            failures.push_back(std::move(failure));
        }
    }
    return failures;
}

bool Sifcore::cancelled() {
    appendControlFailure(78);
    lastData_.outcome = DataOutcome::Cancelled;
    lastStructure_.cancelled = true;
    return false;
}

bool Sifcore::publishDataRun(clsDBManager& masterSide, clsDBManager& sourceSide) {
    const bool masterHasItems = masterSide.getResults()->count() >= 1;
    const bool sourceHasItems = sourceSide.getResults()->count() >= 1;
    if (!masterHasItems && !sourceHasItems) {
        recordsExistInSourceOnly_ = false;
        recordsExistInMasterOnly_ = false;
        return false;
    }
    // A side without differences shows the table's fields instead.
    if (!masterHasItems)
        loadFieldStructure(masterSide);
    if (!sourceHasItems)
        loadFieldStructure(sourceSide);
    masterResults_ = masterSide.getResults();
    sourceResults_ = sourceSide.getResults();
    recordsExistInMasterOnly_ = !sourceHasItems;
    recordsExistInSourceOnly_ = !masterHasItems;
    return true;
}

bool Sifcore::runCountedPasses(std::optional<int64_t> visits, bool answerBothWays) {
    detail::Heartbeat heartbeat(*hooks_);
    clsDBManager& masterSide = master();
    clsDBManager& sourceSide = source();
    RunPrimaryKeys primaryKeys(masterSide, sourceSide);
    KnownAnswer masterKnown;
    KnownAnswer sourceKnown;
    const std::optional<Statement> masterQuery = tableStatement(masterSide);
    const std::optional<Statement> sourceQuery = tableStatement(sourceSide);
    if (answerBothWays && masterQuery && sourceQuery && masterSide.getDatabaseConnection().backend() &&
        sourceSide.getDatabaseConnection().backend()) {
        const detail::MatchSide original{&backendOf(masterSide), *masterQuery};
        const detail::MatchSide modified{&backendOf(sourceSide), *sourceQuery};
        try {
            if (auto both = detail::answerBothWays(
                    original, modified, namesOf(columnsOf(masterSide.getDatabaseRecords())),
                    namesOf(columnsOf(sourceSide.getDatabaseRecords())), &heartbeat,
                    pairsWithoutKey(pairingKey_, primaryKeys), valueOptions_)) {
                masterKnown = std::move(both->first);
                sourceKnown = std::move(both->second);
            }
        } catch (const MatchFailed& failed) {
            // The side that could not be read fails both passes: in its own, its records are
            // unknown; in the other's, whether it holds them.
            MatchFailed asOwn = failed;
            asOwn.theirs = false;
            MatchFailed asTheirs = failed;
            asTheirs.theirs = true;
            masterKnown = failed.theirs ? asTheirs : asOwn;
            sourceKnown = failed.theirs ? asOwn : asTheirs;
        }
    }
    PassResult masterPass =
        runCountedPass(masterSide, sourceSide, Side::Original,
                       {*this, dataProgressStatus_, dataProgressStatusMax_, readingOriginal}, visits,
                       masterKnown, heartbeat, valueOptions_);
    PassResult sourcePass =
        runCountedPass(sourceSide, masterSide, Side::Modified,
                       {*this, dataProgressStatus_, dataProgressStatusMax_, readingModified}, visits,
                       sourceKnown, heartbeat, valueOptions_);

    lastData_ = DataResult{};
    lastData_.table = masterSide.getTableName();
    lastData_.options = valueOptions_;
    lastData_.originalFilter = masterSide.rowFilter();
    lastData_.modifiedFilter = sourceSide.rowFilter();
    lastData_.originalColumns = masterPass.columns;
    lastData_.modifiedColumns = sourcePass.columns;
    lastData_.originalRecordCount = masterPass.recordCount;
    lastData_.modifiedRecordCount = sourcePass.recordCount;
    lastData_.original = std::move(masterPass.records);
    lastData_.modified = std::move(sourcePass.records);
    lastData_.originalUnpairedCopies = masterPass.unpairedCopies;
    lastData_.modifiedUnpairedCopies = sourcePass.unpairedCopies;
    lastData_.keyColumns = pairingKey_.empty() ? sharedKey(primaryKeys, masterPass, sourcePass)
                                               : comparedKey(pairingKey_, masterPass, sourcePass);
    detail::pairByKey(lastData_);
    if (lastData_.comparedAsMultiset())
        detail::collectCopies(lastData_, std::move(masterPass.sharedCopies));
    lastData_.exactDespiteCollation = looselyCollated(masterSide, sourceSide, namesOf(masterPass.columns));
    // Both passes run, so that each side's messages tell what happened to it; a pass whose
    // look-ups failed leaves nothing to publish.
    if (!masterPass.complete || !sourcePass.complete) {
        lastData_.outcome = DataOutcome::Failed;
        return false;
    }
    for (auto [side, shown] :
         {std::pair{&masterSide, comparedFields(masterSide, sourcePass, masterPass.columns)},
          std::pair{&sourceSide, comparedFields(sourceSide, masterPass, sourcePass.columns)}})
        if (side->getSaveToXml())
            exportSideToXml(*side, shown);
    const bool published = publishDataRun(masterSide, sourceSide);
    const bool failed = !masterSide.getFailures().empty() || !sourceSide.getFailures().empty();
    lastData_.outcome = failed ? DataOutcome::Failed
                        : lastData_.original.empty() && lastData_.modified.empty()
                            ? DataOutcome::NoDifferences
                            : DataOutcome::Differences;
    return published;
}

bool Sifcore::beginTableCompareFromFieldListFromDBManager(
    const std::shared_ptr<clsDBManager>& masterDatamanager,
    const std::shared_ptr<clsDBManager>& sourceDatamanager) {
    setMasterDataManager(masterDatamanager);
    setSourceDataManager(sourceDatamanager);
    return beginTableCompareFromFieldListFromDbManagers();
}

bool Sifcore::beginTableCompareFromFieldListFromDbManagers() {
    try {
        clearManagerMessages();
        hooks_->letEventsRun();
        loadFieldStructure(master());
        loadFieldStructure(source());
        return runCountedPasses(std::nullopt, true);
    } catch (const detail::Cancelled&) {
        return cancelled();
    } catch (const std::exception&) {
        appendControlFailure(74);
        lastData_.outcome = DataOutcome::Failed;
        return false;
    }
}

bool Sifcore::getBufferedResults() {
    try {
        // Positions startPoint to startPoint + bufferedAmount: they fix how many records are
        // visited, always from the first one.
        const int64_t last = int64_t{startPoint_} + bufferedAmount_;
        return runCountedPasses(std::max<int64_t>(0, last - startPoint_ + 1), false);
    } catch (const detail::Cancelled&) {
        return cancelled();
    } catch (const std::exception&) {
        lastData_.outcome = DataOutcome::Failed;
        return false;
    }
}

bool Sifcore::beginTableCompareFromDBManagers(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                              const std::shared_ptr<clsDBManager>& sourceDatamanager) {
    try {
        clsDBManager& masterSide = *masterDatamanager;
        clsDBManager& sourceSide = *sourceDatamanager;
        masterSide.clearMessages();
        sourceSide.clearMessages();
        loadFieldStructure(masterSide);
        loadFieldStructure(sourceSide);
        detail::Heartbeat heartbeat(*hooks_);
        const bool masterComplete = runOrderedPass(masterSide, sourceSide, heartbeat);
        const bool sourceComplete = runOrderedPass(sourceSide, masterSide, heartbeat);
        if (!masterComplete || !sourceComplete)
            return false;
        for (clsDBManager* side : {&masterSide, &sourceSide})
            if (side->getSaveToXml())
                exportSideToXml(*side, std::nullopt);
        return publishIfBothFilled(masterSide, sourceSide);
    } catch (const detail::Cancelled&) {
        return cancelled();
    } catch (const std::exception&) {
        appendControlFailure(75);
        return false;
    }
}

bool Sifcore::beginTableCompareFromFieldList(const std::string& masterConnectionString,
                                             const std::string& sourceConnectionString,
                                             const std::string& tableName, const std::string& tableType,
                                             const std::string& fieldList) {
    for (auto [side, connectionString] :
         {std::pair{&master(), &masterConnectionString}, std::pair{&source(), &sourceConnectionString}}) {
        side->initializeValues();
        side->setConnectionString(*connectionString);
        side->setTableName(tableName);
        side->setFieldList(fieldList);
        side->setTableDataType(tableType);
        // The passes read through the side's connection, so it is opened here.
        side->openDatabaseConnection();
    }
    return beginTableCompareFromFieldListFromDBManager(getMasterDataManager(), getSourceDataManager());
}

bool Sifcore::beginTableFullDataCompare(const std::string& masterConnectionString,
                                        const std::string& sourceConnectionString,
                                        const std::string& tableName, const std::string& tableType) {
    try {
        clearManagerMessages();
        clsDBManager& masterSide = master();
        clsDBManager& sourceSide = source();
        // The Modified side's table is read as a table ("TABLE"): any other spelling would keep
        // it out of the listing and leave that side empty.
        compareOneTable(masterConnectionString, sourceConnectionString, tableName, tableType, "TABLE");
        detail::Heartbeat heartbeat(*hooks_);
        const bool masterComplete = runOrderedPass(masterSide, sourceSide, heartbeat);
        const bool sourceComplete = runOrderedPass(sourceSide, masterSide, heartbeat);
        return masterComplete && sourceComplete && masterSide.getResults()->count() >= 1 &&
               sourceSide.getResults()->count() >= 1;
    } catch (const detail::Cancelled&) {
        return cancelled();
    } catch (const std::exception&) {
        appendControlFailure(76);
        return false;
    }
}

} // namespace sifkit
