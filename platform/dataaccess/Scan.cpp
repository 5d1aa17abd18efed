// SPDX-License-Identifier: MIT
#include "Backend.h"

namespace sifkit::platform {

Value CellView::toValue() const {
    switch (kind) {
    case Value::Kind::Null:
        return Value();
    case Value::Kind::Integer:
        return Value(integer);
    case Value::Kind::Real:
        return Value(real);
    case Value::Kind::Text:
        return Value(std::string(bytes));
    case Value::Kind::Binary:
        return Value::binary(Value::Bytes(bytes.begin(), bytes.end()));
    }
    return Value();
}

CellView CellView::of(const Value& value) {
    CellView cell;
    cell.kind = value.kind();
    switch (cell.kind) {
    case Value::Kind::Null:
        break;
    case Value::Kind::Integer:
        cell.integer = value.asInteger();
        break;
    case Value::Kind::Real:
        cell.real = value.asReal();
        break;
    case Value::Kind::Text:
        cell.bytes = value.asText();
        break;
    case Value::Kind::Binary: {
        const auto& bytes = value.asBinary();
        cell.bytes = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        break;
    }
    }
    return cell;
}

Row rowOf(const CellView* cells, std::size_t count) {
    Row row;
    row.reserve(count);
    for (std::size_t c = 0; c < count; ++c)
        row.push_back(cells[c].toValue());
    return row;
}

void Backend::scan(const std::string& sql, const std::vector<Value>& params, const ColumnsSink& onColumns,
                   const RowSink& onRow) {
    RowSet rows = query(sql, params);
    onColumns(rows.columns);
    std::vector<CellView> cells;
    for (Row& row : rows.rows) {
        cells.clear();
        for (const Value& value : row)
            cells.push_back(CellView::of(value));
        onRow(cells.data(), cells.size());
        row = Row(); // what has been handed over need not stay
    }
}

void Backend::scanRows(const std::string& sql, const std::vector<Value>& params,
                       const std::vector<int32_t>& wanted, const ColumnsSink& onColumns,
                       const RowSink& onRow) {
    WantedRows rows(wanted);
    scan(sql, params, onColumns, [&](const CellView* cells, std::size_t count) {
        if (rows.nextIsWanted())
            onRow(cells, count);
    });
}

} // namespace sifkit::platform
