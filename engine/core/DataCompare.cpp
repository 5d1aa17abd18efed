// SPDX-License-Identifier: MIT
#include "DataCompare.h"

#include "EngineAccess.h"
#include "FieldItems.h"
#include "IndexedMatch.h"
#include "access/Failure.h"
#include "access/FieldTypes.h"
#include "access/MatchQuery.h"

#include "dataaccess/State.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <optional>

namespace sifkit::detail {

namespace {

/// What every data item of one pass shares.
struct PassContext {
    std::string table;
    std::string primaryKey;
    int32_t fieldCount = 0;
};

void appendSqlMessage(clsDBManager& side, const std::string& text) {
    side.setReturnSQLMessage(side.getReturnSQLMessage() + text);
}

/// One data item for field fieldIndex of thisSide's current record.
void addDataItem(clsDBManager& thisSide, int32_t fieldIndex, const std::string& changeType,
                 const PassContext& context) {
    auto item = std::make_shared<clsResultSet>();
    // A property that cannot be read is left at its default; the item is still added.
    Field field = thisSide.getDatabaseRecords().field(fieldIndex);
    skippingFailure([&] { item->setChangeType(changeType); });
    skippingFailure([&] {
        Value value = field.value();
        item->setDataValue(value.isNull() ? "Null" : value.toString());
        item->setIsNull(value.isNull());
    });
    item->setIsDataValue(true);
    item->setIsFieldDesc(true);
    item->setRecordCount(thisSide.getRecordCount() + 4);
    item->setRecordNumber(thisSide.getCurrentRecordNumber());
    item->setFieldCount(static_cast<int16_t>(context.fieldCount));
    skippingFailure([&] { item->setFieldName(field.name()); });
    item->setPrimaryKey(context.primaryKey);
    skippingFailure([&] { item->setDataType(std::to_string(field.type())); });
    skippingFailure([&] { item->setLength(std::to_string(field.actualSize())); });
    item->setDatabaseObjName(context.table);
    thisSide.getResults()->add(std::move(item));
}

/// Looks for thisSide's current record on otherSide; reports it when it is not there. With
/// `known`, the answer is already known (from an index) and no query is sent; the match query
/// is still built when `showQuery`, so otherSide shows the text it would have run. Building it
/// cannot fail, and the next record builds it again, so only the last record needs it.
void compareRecord(clsDBManager& thisSide, clsDBManager& otherSide, const PassContext& context,
                   std::optional<bool> known = std::nullopt, bool showQuery = true) {
    thisSide.setReturnSQLMessage("Successfully Completed");
    int32_t index = 0;
    try {
        if (!known || showQuery)
            buildMatchQuery(thisSide, otherSide);
        if (known ? *known : matchingRecordExists(thisSide, otherSide))
            return;
        const int32_t fields = thisSide.getDatabaseRecords().fieldCount();
        for (index = 0; index < fields; ++index)
            addDataItem(thisSide, index, "5", context);
    } catch (const LookupFailed&) {
        throw; // ends the pass: no later record could be trusted either
    } catch (...) {
        appendSqlMessage(thisSide,
                         " #12 Error occured while comparing record value  Index=" + std::to_string(index) +
                             "FieldCount=" + std::to_string(context.fieldCount) + " ||");
    }
}

PassContext contextFor(clsDBManager& side, int32_t fieldCount) {
    std::string primaryKey;
    try {
        primaryKey = side.getAccessPrimaryKey(side.getTableName());
    } catch (...) {
    }
    return {side.getTableName(), primaryKey, fieldCount};
}

/// Steps 1 to 3 of the full and window passes: opens thisSide's query and, when it has rows,
/// starts a new collection positioned on the first record. Returns the pass context.
PassContext startCountedPass(clsDBManager& thisSide, Sifcore& engine, const std::string& query) {
    thisSide.setReturnSQLMessage("Successfully Completed");
    openTableQuery(thisSide, thisSide, query);
    EngineAccess::dataProgressStatusMax(engine) = 100;
    Recordset records = thisSide.getDatabaseRecords();
    PassContext context;
    if (records.bof()) // throws when the query could not be opened
        return context;
    const int32_t fieldCount = getRecordFieldCount(thisSide);
    thisSide.setCurrentRecordNumber(1);
    thisSide.setFieldCount(fieldCount);
    thisSide.setRecordCount(records.recordCount());
    EngineAccess::dataProgressStatusMax(engine) = records.recordCount();
    records.moveFirst();
    thisSide.resetResult();
    context = contextFor(thisSide, fieldCount);
    return context;
}

/// Steps 4.2 to 4.4 after a record: progress every 50 records and on to the next number.
void advance(clsDBManager& thisSide, Sifcore& engine, const std::string& label, int32_t& sinceEvent) {
    int32_t& status = EngineAccess::dataProgressStatus(engine);
    const int32_t total = EngineAccess::dataProgressStatusMax(engine);
    ++status;
    if (++sinceEvent == 50) {
        if (total > status && status > 0)
            engine.setCurrentProgressCount(status, total, label);
        sinceEvent = 0;
    }
    thisSide.setCurrentRecordNumber(thisSide.getCurrentRecordNumber() + 1);
}

/// Steps 4.1 to 4.4: the current record, then on to the next, with progress every 50 records.
void compareAndAdvance(clsDBManager& thisSide, clsDBManager& otherSide, Sifcore& engine,
                       const std::string& label, const PassContext& context, int32_t& sinceEvent) {
    compareRecord(thisSide, otherSide, context);
    thisSide.getDatabaseRecords().moveNext();
    advance(thisSide, engine, label, sinceEvent);
}

/// The counted pass answered from an index of otherSide's records (see scanAgainstIndex): the
/// same collection, record numbers, progress events, messages and match query texts as one
/// query per record gives, with thisSide's main record set holding only the reported records.
/// Returns false when the index cannot be used, having changed only thisSide's main record set
/// and SQL message, which the per-record pass then sets again.
bool runIndexedPass(clsDBManager& thisSide, clsDBManager& otherSide, Sifcore& engine,
                    const std::string& label, std::optional<int64_t> visits, const std::string& query,
                    DigestCarry* carry) {
    if (!indexedMatchAllowed())
        return false;
    // The first row tells the columns (and their types) and whether there are rows at all.
    thisSide.setReturnSQLMessage("Successfully Completed");
    openTableQuery(thisSide, thisSide, query, "", 1);
    Recordset records = thisSide.getDatabaseRecords();
    if (records.state() != 1 || records.bof())
        return false; // the per-record pass opens and reports it the same way
    std::optional<IndexedScan> scan = scanAgainstIndex(thisSide, otherSide, query, visits, carry);
    if (!scan)
        return false;
    countIndexedPass();

    const int32_t fieldCount = getRecordFieldCount(thisSide);
    thisSide.setCurrentRecordNumber(1);
    thisSide.setFieldCount(fieldCount);
    thisSide.setRecordCount(scan->recordCount);
    EngineAccess::dataProgressStatusMax(engine) = scan->recordCount;
    thisSide.resetResult();
    const PassContext context = contextFor(thisSide, fieldCount);
    EngineAccess::dataProgressStatus(engine) = 1;

    auto& state = platform::StateAccess::of(records);
    state.data.rows = std::move(scan->rows);
    const int64_t toVisit = visits ? std::min<int64_t>(*visits, scan->recordCount) : scan->recordCount;
    std::size_t next = 0; // the next reported record
    int32_t sinceEvent = 0;
    for (int64_t visited = 0; visited < toVisit; ++visited) {
        const bool missing = next < scan->missing.size() && scan->missing[next] == visited + 1;
        // A record found on otherSide changes nothing but the messages and match query text,
        // which the next record sets again: only the last one needs them.
        if (missing || visited + 1 == toVisit) {
            state.position = missing ? next : state.data.rows.size() - 1;
            compareRecord(thisSide, otherSide, context, !missing, visited + 1 == toVisit);
        }
        if (missing)
            ++next;
        advance(thisSide, engine, label, sinceEvent);
    }
    return true;
}

void reportPassFailure(clsDBManager& thisSide, const std::string& query) {
    appendSqlMessage(thisSide,
                     " #14 Error occurred while attempting to get data differences from specified fields"
                     " SQL used = " +
                         query + " ||");
}

/// The full pass (every record) or the window pass (at most `visits` records from the first).
bool runCountedPass(clsDBManager& thisSide, clsDBManager& otherSide, Sifcore& engine,
                    const std::string& label, std::optional<int64_t> visits, DigestCarry* carry = nullptr) {
    bool complete = true;
    const std::string query = buildFieldListSelect(thisSide);
    try {
        if (runIndexedPass(thisSide, otherSide, engine, label, visits, query, carry)) {
            thisSide.closeRecordSet();
            otherSide.closeRecordSet();
            return true;
        }
        PassContext context = startCountedPass(thisSide, engine, query);
        EngineAccess::dataProgressStatus(engine) = 1;
        int32_t sinceEvent = 0;
        Recordset records = thisSide.getDatabaseRecords();
        for (int64_t visited = 0; !records.bof() && !records.eof() && (!visits || visited < *visits);
             ++visited)
            compareAndAdvance(thisSide, otherSide, engine, label, context, sinceEvent);
    } catch (const LookupFailed& failure) {
        appendSqlMessage(thisSide, failure.text);
        reportPassFailure(thisSide, query);
        complete = false;
    } catch (...) {
        reportPassFailure(thisSide, query);
    }
    thisSide.closeRecordSet();
    otherSide.closeRecordSet();
    return complete;
}

} // namespace

std::string buildFieldListSelect(const clsDBManager& side) {
    // An empty field list compares every field rather than sending "select  from".
    return tableQuery(side);
}

bool compareTableData(clsDBManager& thisSide, clsDBManager& otherSide, Sifcore& engine,
                      const std::string& label, DigestCarry* carry) {
    return runCountedPass(thisSide, otherSide, engine, label, std::nullopt, carry);
}

bool compareTableDataWindow(clsDBManager& thisSide, clsDBManager& otherSide, Sifcore& engine,
                            const std::string& label, int32_t startPoint, int32_t bufferedAmount) {
    // Positions startPoint to startPoint + bufferedAmount: they fix how many records are
    // visited, always from the first one.
    const int64_t last = int64_t{startPoint} + bufferedAmount;
    return runCountedPass(thisSide, otherSide, engine, label, std::max<int64_t>(0, last - startPoint + 1));
}

bool compareTableDataOrdered(clsDBManager& thisSide, clsDBManager& otherSide) {
    thisSide.setReturnSQLMessage("Successfully Completed");
    bool complete = true;
    std::string orderField;
    std::string query = buildFieldListSelect(thisSide);
    auto reportFailure = [&] {
        appendSqlMessage(thisSide, " #16 SQL used " + query + "Last field name used " + orderField + " ||");
    };
    try {
        const ResultCollection& items = *thisSide.getResults();
        for (int32_t position = 1; position <= items.count(); ++position) {
            const clsResultSet& item = *items.item(position);
            if (item.getDatabaseObjName() == thisSide.getTableName() && item.changeCode() == 0 &&
                item.getIsFieldDesc() && isComparableTypeDescription(item.getDataType())) {
                orderField = item.getFieldName();
                break;
            }
        }
        if (!orderField.empty())
            query += " order by " + orderField;
        openTableQuery(thisSide, thisSide, query, orderField);
        openTableQuery(otherSide, thisSide, query, orderField);
        Recordset records = thisSide.getDatabaseRecords();
        if (records.state() == 1 && !records.bof()) {
            PassContext context = contextFor(thisSide, records.fieldCount());
            // From an index of otherSide's records each answer is known before its record is
            // visited; the records are still visited for the texts they leave.
            std::optional<std::vector<bool>> found;
            if (indexedMatchAllowed() && (found = answerFromIndex(thisSide, otherSide)))
                countIndexedPass();
            std::size_t row = 0;
            for (records.moveFirst(); !records.eof(); records.moveNext(), ++row)
                compareRecord(thisSide, otherSide, context,
                              found ? std::optional<bool>((*found)[row]) : std::nullopt);
        }
    } catch (const LookupFailed& failure) {
        appendSqlMessage(thisSide, failure.text);
        reportFailure();
        complete = false;
    } catch (...) {
        reportFailure();
    }
    thisSide.closeRecordSet();
    otherSide.closeRecordSet();
    return complete;
}

} // namespace sifkit::detail
