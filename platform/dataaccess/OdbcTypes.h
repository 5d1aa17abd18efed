// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <sifkit/Value.h>

#include <cstdint>

namespace sifkit::platform::odbc {

/// The numeric field type code for an ODBC SQL type.
int32_t typeCodeForSqlType(int sqlType, bool isUnsigned);

/// How values of a column of that type code are held in memory.
Value::Kind storageForTypeCode(int32_t typeCode);

/// A value the driver handed over as text, in the column's kind; kept as text when it is not
/// of that kind (SQLite lets any column hold any value), and so is a whole number beyond the
/// signed 64-bit range (an unsigned BIGINT), which a real would round. The cell refers to the
/// text.
CellView cellFromText(std::string_view text, Value::Kind storage);

/// A GUID's text with its hexadecimal digits in lower case, as the standard and PostgreSQL
/// write them: drivers that spell them in upper case would otherwise make letter case decide
/// against a text column. Changes the text in place.
void lowerGuidText(char* text, std::size_t size);

/// Whether the column's values are read as the driver's single-precision binary (SQL_C_FLOAT)
/// rather than as text: MariaDB writes single-precision values with six significant digits in
/// its text, so 1.2345678 would read as 1.23457.
bool readsAsSingle(const ColumnInfo& column);

/// The ODBC SQL type a parameter of the given kind is bound as.
int sqlTypeForKind(Value::Kind kind);

} // namespace sifkit::platform::odbc
