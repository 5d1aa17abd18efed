// SPDX-License-Identifier: MIT
#include "State.h"
#include "Text.h"

#include <sifkit/DataAccess.h>

#include <algorithm>
#include <cctype>

namespace sifkit {

using platform::RecordsetState;

namespace platform {

void RecordsetState::requireOpen() const {
    if (!open)
        throw Error(ErrorNumber::ObjectClosed, "Operation is not allowed when the object is closed.");
}

void RecordsetState::requireCurrentRow() const {
    requireOpen();
    if (position >= data.rows.size())
        throw Error(ErrorNumber::NoCurrentRecord, "Either BOF or EOF is True, or the current record has been "
                                                  "deleted. Requested operation requires a current record.");
}

Value RecordsetState::currentValue(std::size_t index) const {
    if (edit != Edit::None && pending[index])
        return *pending[index];
    if (edit == Edit::Adding)
        return Value();
    requireCurrentRow();
    return data.rows[position][index];
}

/// Table name from "... from [T] ..." / "from T" of a simple one-table query; "" otherwise.
std::string tableOfQuery(const std::string& sql);

int32_t actualSizeOf(const Value& v, int32_t typeCode) {
    switch (v.kind()) {
    case Value::Kind::Null:
        return 0;
    case Value::Kind::Integer:
        switch (typeCode) {
        case 2:
        case 18:
            return 2;
        case 11:
        case 16:
        case 17:
            return 1;
        case 20:
        case 21:
            return 8;
        default:
            return 4;
        }
    case Value::Kind::Real:
        return typeCode == 4 ? 4 : 8;
    case Value::Kind::Text:
        return static_cast<int32_t>(v.asText().size());
    case Value::Kind::Binary:
        return static_cast<int32_t>(v.asBinary().size());
    }
    return 0;
}

} // namespace platform

namespace {

[[noreturn]] void itemNotFound() {
    throw Error(ErrorNumber::ItemNotFound,
                "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

std::string stripBrackets(const std::string& name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        return name.substr(1, name.size() - 2);
    return name;
}

/// The one table all columns come from, as the driver reports it.
std::string commonBaseTable(const platform::RowSet& rows) {
    std::string table;
    for (const auto& column : rows.columns) {
        if (column.baseTable.empty())
            continue;
        if (table.empty())
            table = column.baseTable;
        else if (table != column.baseTable)
            return {};
    }
    return table;
}

} // namespace

Recordset::Recordset() : state_(std::make_shared<RecordsetState>()) {}

Recordset::Recordset(platform::RowSet rows, std::string source) : Recordset() {
    state_->data = std::move(rows);
    state_->source = std::move(source);
    state_->open = true;
}

void Recordset::open(const std::string& source, const Connection& connection, Source kind, int32_t maxRows) {
    if (kind == Source::Text) {
        open(source, {}, connection, maxRows);
        return;
    }
    *state_ = RecordsetState();
    auto& backend = platform::requireBackend(connection);
    RecordsetState fresh;
    fresh.baseTable = stripBrackets(source);
    fresh.data = backend.query("SELECT * FROM " + backend.dialect().quoteTable(fresh.baseTable), {}, maxRows);
    fresh.connection = connection.state_;
    fresh.source = source;
    fresh.open = true;
    *state_ = std::move(fresh);
}

void Recordset::open(const std::string& sql, const std::vector<Value>& parameters,
                     const Connection& connection, int32_t maxRows, const std::string& baseTable) {
    *state_ = RecordsetState();
    auto& backend = platform::requireBackend(connection);
    RecordsetState fresh;
    fresh.data = backend.query(sql, parameters, maxRows);
    fresh.baseTable = baseTable;
    if (fresh.baseTable.empty())
        fresh.baseTable = commonBaseTable(fresh.data);
    if (fresh.baseTable.empty())
        fresh.baseTable = platform::tableOfQuery(sql);
    fresh.connection = connection.state_;
    fresh.source = sql;
    fresh.open = true;
    *state_ = std::move(fresh);
}

void Recordset::close() noexcept {
    auto& s = *state_;
    s.open = false;
    s.data.rows.clear();
    s.data.rows.shrink_to_fit();
    s.position = 0;
    s.edit = RecordsetState::Edit::None;
    s.pending.clear();
    s.connection.reset(); // a closed record set writes nothing and holds no connection open
}

int32_t Recordset::state() const noexcept {
    return state_->open ? 1 : 0;
}

bool Recordset::bof() const {
    state_->requireOpen();
    return state_->data.rows.empty();
}

bool Recordset::eof() const {
    state_->requireOpen();
    return state_->position >= state_->data.rows.size();
}

void Recordset::moveFirst() {
    state_->requireOpen();
    if (state_->edit != RecordsetState::Edit::None)
        update(); // moving writes pending changes, as record sets conventionally do
    state_->position = 0;
}

void Recordset::moveNext() {
    state_->requireCurrentRow();
    if (state_->edit != RecordsetState::Edit::None)
        update();
    ++state_->position;
}

int32_t Recordset::recordCount() const {
    state_->requireOpen();
    return static_cast<int32_t>(state_->data.rows.size());
}

int32_t Recordset::fieldCount() const {
    return static_cast<int32_t>(state_->data.columns.size());
}

Field Recordset::field(int32_t index) const {
    if (index < 0 || index >= fieldCount())
        itemNotFound();
    return Field(state_, index);
}

Field Recordset::field(const std::string& name) const {
    const std::size_t found = platform::positionOfName(state_->data.columns, name,
                                                       [](const platform::ColumnInfo& c) { return c.name; });
    if (found == std::string::npos)
        itemNotFound();
    return Field(state_, static_cast<int32_t>(found));
}

void Recordset::addNew() {
    auto& s = *state_;
    s.requireOpen();
    if (s.edit != RecordsetState::Edit::None)
        update();
    if (s.baseTable.empty() || !s.connection)
        throw Error(ErrorNumber::NotAllowedInContext,
                    "The record set cannot be updated: its rows do not come from one table of a connection.");
    s.edit = RecordsetState::Edit::Adding;
    s.pending.assign(s.data.columns.size(), std::nullopt);
}

void Recordset::cancelUpdate() {
    state_->edit = RecordsetState::Edit::None;
    state_->pending.clear();
}

Recordset Recordset::clone() const {
    state_->requireOpen();
    Recordset copy;
    *copy.state_ = *state_;
    copy.state_->edit = RecordsetState::Edit::None;
    copy.state_->pending.clear();
    return copy;
}

std::string Recordset::source() const {
    return state_->source;
}

std::string Recordset::baseTable() const {
    return state_->baseTable;
}

const FileNotes& Recordset::notes() const {
    return state_->notes;
}

const std::string& Field::name() const {
    return state_->data.columns[index_].name;
}

Value Field::value() const {
    return state_->currentValue(static_cast<std::size_t>(index_));
}

void Field::setValue(const Value& value) {
    auto& s = *state_;
    if (s.edit == RecordsetState::Edit::None) {
        s.requireCurrentRow();
        if (s.baseTable.empty() || !s.connection)
            throw Error(
                ErrorNumber::NotAllowedInContext,
                "The record set cannot be updated: its rows do not come from one table of a connection.");
        s.edit = RecordsetState::Edit::Editing;
        s.pending.assign(s.data.columns.size(), std::nullopt);
    }
    s.pending[index_] = value;
}

int32_t Field::type() const {
    return state_->data.columns[index_].typeCode;
}

int32_t Field::definedSize() const {
    return state_->data.columns[index_].definedSize;
}

int32_t Field::actualSize() const {
    return platform::actualSizeOf(value(), type());
}

} // namespace sifkit
