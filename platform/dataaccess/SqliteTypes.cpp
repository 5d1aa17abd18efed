// SPDX-License-Identifier: MIT
#include "SqliteTypes.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace sifkit::platform::sqlite {

namespace {

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

/// The first number inside "(...)", or 0.
int32_t sizeInParentheses(const std::string& declared) {
    auto open = declared.find('(');
    if (open == std::string::npos)
        return 0;
    long size = std::strtol(declared.c_str() + open + 1, nullptr, 10);
    return size > 0 && size < 0x7fffffff ? static_cast<int32_t>(size) : 0;
}

} // namespace

ColumnType declaredColumnType(const std::string& declaredType) {
    std::string p = declaredType;
    std::transform(p.begin(), p.end(), p.begin(), [](unsigned char c) { return std::tolower(c); });
    const bool isUnsigned = p.find("unsigned") != std::string::npos;
    // The order matters: "interval" is no integer, "tinyint" no "int", "time" is tested after
    // "timestamp".
    if (startsWith(p, "inter"))
        ; // falls through to the character types
    else if (startsWith(p, "int") || startsWith(p, "mediumint"))
        return {isUnsigned ? 19 : 3, 10};
    else if (startsWith(p, "numeric"))
        return {5, 54};
    else if (startsWith(p, "tinyint"))
        return {isUnsigned ? 17 : 16, 4};
    else if (startsWith(p, "smallint"))
        return {isUnsigned ? 18 : 2, 6};
    else if (startsWith(p, "float") || startsWith(p, "double") || startsWith(p, "real"))
        return {5, 54};
    else if (startsWith(p, "timestamp") || startsWith(p, "datetime"))
        return {135, 32};
    else if (startsWith(p, "time"))
        return {134, 8};
    else if (startsWith(p, "date"))
        return {133, 10};
    else if (startsWith(p, "text") || startsWith(p, "memo") || startsWith(p, "longvarchar"))
        return {201, 65536};
    else if (startsWith(p, "bool") || startsWith(p, "bit"))
        return {11, 1};
    else if (startsWith(p, "bigint"))
        return {isUnsigned ? 21 : 20, 20};
    else if (startsWith(p, "blob"))
        return {128, 255};
    else if (startsWith(p, "varbinary"))
        return {204, 255};
    else if (startsWith(p, "longvarbinary"))
        return {205, 65536};
    int32_t size = sizeInParentheses(p);
    return {200, size > 0 ? size : 255};
}

ColumnType undeclaredColumnType(int firstStorageClass) {
    switch (firstStorageClass) {
    case SQLITE_INTEGER:
        return {3, 10};
    case SQLITE_FLOAT:
        return {5, 54};
    case SQLITE_BLOB:
        return {128, 255};
    default:
        return {200, 255};
    }
}

} // namespace sifkit::platform::sqlite
