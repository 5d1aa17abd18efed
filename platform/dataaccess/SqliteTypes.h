// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace sifkit::platform::sqlite {

/// A column's numeric field type code and defined size.
struct ColumnType {
    int32_t typeCode;
    int32_t definedSize;
};

/// The type code and size of a column with a declared type, read the way the SQLite ODBC
/// driver reads it (by the leading word of the declaration, case-insensitively, "(n)" giving
/// the size of character columns), so a file reports the same structure through either path.
ColumnType declaredColumnType(const std::string& declaredType);

/// The type code and size of a column without a declared type (an expression, or a column
/// declared without one), from the storage class of its first value (SQLITE_INTEGER, ...;
/// 0 when there is no row).
ColumnType undeclaredColumnType(int firstStorageClass);

} // namespace sifkit::platform::sqlite
