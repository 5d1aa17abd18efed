#pragma once

#include <sifkit/Value.h>

#include <cstdint>

namespace sifkit::platform::odbc {

/// The numeric field type code for an ODBC SQL type.
int32_t typeCodeForSqlType(int sqlType, bool isUnsigned);

/// How values of a column of that type code are held in memory.
Value::Kind storageForTypeCode(int32_t typeCode);

/// The ODBC SQL type a parameter of the given kind is bound as.
int sqlTypeForKind(Value::Kind kind);

} // namespace sifkit::platform::odbc
