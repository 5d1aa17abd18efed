// SPDX-License-Identifier: MIT
#include "OdbcBlockFetch.h"

#include "ExactNumbers.h"
#include "OdbcTypes.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <cstring>

namespace sifkit::platform::odbc {

namespace {

constexpr SQLULEN rowsPerBlock = 256;
constexpr SQLLEN widestBuffer = 8192;

/// One column's buffers for a block of rows.
struct BoundColumn {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLLEN width = 0; ///< bytes a row, the terminating NUL of texts included
    std::vector<char> data;
    std::vector<SQLLEN> indicators;
};

} // namespace

void fetchInBlocks(Handle& statement, const std::vector<ColumnInfo>& columns, const RowSink& onRow) {
    std::vector<BoundColumn> bound(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        BoundColumn& column = bound[c];
        const bool binary = columns[c].storage == Value::Kind::Binary;
        column.cType = binary ? SQL_C_BINARY : SQL_C_CHAR;
        if (readsAsSingle(columns[c])) {
            column.cType = SQL_C_FLOAT;
            column.width = sizeof(float);
            column.data.resize(sizeof(float) * rowsPerBlock);
            column.indicators.resize(rowsPerBlock);
            continue;
        }
        // Room for the column's size in UTF-8 (up to 4 bytes a character) and numbers' text.
        const SQLLEN size = std::max<SQLLEN>(columns[c].definedSize, 40);
        column.width = std::min<SQLLEN>(binary ? size : size * 4 + 1, widestBuffer);
        column.data.resize(static_cast<std::size_t>(column.width) * rowsPerBlock);
        column.indicators.resize(rowsPerBlock);
    }
    SQLULEN fetched = 0;
    check(SQLSetStmtAttr(statement.get(), SQL_ATTR_ROW_BIND_TYPE,
                         reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
          statement, "SQLSetStmtAttr");
    check(SQLSetStmtAttr(statement.get(), SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rowsPerBlock),
                         0),
          statement, "SQLSetStmtAttr");
    check(SQLSetStmtAttr(statement.get(), SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), statement,
          "SQLSetStmtAttr");
    for (std::size_t c = 0; c < bound.size(); ++c)
        check(SQLBindCol(statement.get(), static_cast<SQLUSMALLINT>(c + 1), bound[c].cType,
                         bound[c].data.data(), bound[c].width, bound[c].indicators.data()),
              statement, "SQLBindCol");

    std::vector<CellView> cells(columns.size());
    while (true) {
        SQLRETURN rc = SQLFetch(statement.get());
        if (rc == SQL_NO_DATA)
            break;
        check(rc, statement, "SQLFetch");
        for (SQLULEN r = 0; r < fetched; ++r) {
            for (std::size_t c = 0; c < bound.size(); ++c) {
                const BoundColumn& column = bound[c];
                const SQLLEN indicator = column.indicators[r];
                if (indicator == SQL_NULL_DATA) {
                    cells[c] = CellView();
                    continue;
                }
                char* at = bound[c].data.data() + r * static_cast<SQLULEN>(column.width);
                if (column.cType == SQL_C_FLOAT) {
                    float single = 0;
                    std::memcpy(&single, at, sizeof single);
                    cells[c] = CellView();
                    cells[c].kind = Value::Kind::Real;
                    cells[c].real = singleAsDouble(single);
                    continue;
                }
                const SQLLEN room = column.cType == SQL_C_CHAR ? column.width - 1 : column.width;
                if (indicator == SQL_NO_TOTAL || indicator > room)
                    throw ValueTooLong();
                std::string_view bytes(at, static_cast<std::size_t>(indicator));
                if (column.cType == SQL_C_BINARY) {
                    cells[c] = CellView();
                    cells[c].kind = Value::Kind::Binary;
                    cells[c].bytes = bytes;
                } else {
                    if (columns[c].typeCode == 72)
                        lowerGuidText(at, bytes.size());
                    cells[c] = cellFromText(bytes, columns[c].storage);
                }
            }
            onRow(cells.data(), cells.size());
        }
    }
    SQLFreeStmt(statement.get(), SQL_UNBIND);
}

} // namespace sifkit::platform::odbc
