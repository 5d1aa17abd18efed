// SPDX-License-Identifier: MIT
#include "OdbcTypes.h"

#include <sql.h>
#include <sqlext.h>

#include <charconv>

namespace sifkit::platform::odbc {

int32_t typeCodeForSqlType(int sqlType, bool isUnsigned) {
    switch (sqlType) {
    case SQL_SMALLINT:
        return isUnsigned ? 18 : 2;
    case SQL_INTEGER:
        return isUnsigned ? 19 : 3;
    case SQL_REAL:
        return 4;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return 5;
    case SQL_BIT:
        return 11;
    case SQL_TINYINT:
        return isUnsigned ? 17 : 16;
    case SQL_BIGINT:
        return isUnsigned ? 21 : 20;
    case SQL_GUID:
        return 72;
    case SQL_BINARY:
        return 128;
    case SQL_CHAR:
        return 129;
    case SQL_WCHAR:
        return 130;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return 131;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return 133;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return 134;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return 135;
    case SQL_VARCHAR:
        return 200;
    case SQL_LONGVARCHAR:
        return 201;
    case SQL_WVARCHAR:
        return 202;
    case SQL_WLONGVARCHAR:
        return 203;
    case SQL_VARBINARY:
        return 204;
    case SQL_LONGVARBINARY:
        return 205;
    default:
        // Intervals read well as text; anything else is reported as of no known type.
        if (sqlType >= SQL_INTERVAL_YEAR && sqlType <= SQL_INTERVAL_MINUTE_TO_SECOND)
            return 200;
        return 0;
    }
}

namespace {

template <typename T> bool parseWhole(std::string_view text, T& out) {
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, out);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

/// A whole number in decimal, optionally signed: what an integer column holds, however large.
bool isWholeNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

void lowerGuidText(char* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (text[i] >= 'A' && text[i] <= 'F')
            text[i] = static_cast<char>(text[i] - 'A' + 'a');
}

bool readsAsSingle(const ColumnInfo& column) {
    return column.typeCode == 4 && column.storage == Value::Kind::Real;
}

CellView cellFromText(std::string_view text, Value::Kind storage) {
    CellView cell;
    if (storage == Value::Kind::Integer || storage == Value::Kind::Real) {
        if (storage == Value::Kind::Integer && parseWhole(text, cell.integer)) {
            cell.kind = Value::Kind::Integer;
            return cell;
        }
        if (storage == Value::Kind::Integer && isWholeNumber(text)) {
            cell.kind = Value::Kind::Text;
            cell.bytes = text;
            return cell;
        }
        if (parseWhole(text, cell.real)) {
            cell.kind = Value::Kind::Real;
            return cell;
        }
        if (storage == Value::Kind::Real && parseWhole(text, cell.integer)) {
            cell.kind = Value::Kind::Real;
            cell.real = static_cast<double>(cell.integer);
            return cell;
        }
    }
    cell.kind = Value::Kind::Text;
    cell.bytes = text;
    return cell;
}

Value::Kind storageForTypeCode(int32_t typeCode) {
    switch (typeCode) {
    case 2:
    case 3:
    case 11:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
        return Value::Kind::Integer;
    case 4:
    case 5:
        return Value::Kind::Real;
    case 128:
    case 204:
    case 205:
        return Value::Kind::Binary;
    default:
        return Value::Kind::Text;
    }
}

int sqlTypeForKind(Value::Kind kind) {
    switch (kind) {
    case Value::Kind::Integer:
        return SQL_BIGINT;
    case Value::Kind::Real:
        return SQL_DOUBLE;
    case Value::Kind::Binary:
        return SQL_VARBINARY;
    case Value::Kind::Null:
    case Value::Kind::Text:
        break;
    }
    return SQL_VARCHAR;
}

} // namespace sifkit::platform::odbc
