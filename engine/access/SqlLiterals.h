// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/Value.h>

#include <cstdint>
#include <string>

namespace sifkit::detail {

/// The text with every "'" doubled.
std::string doubleSingleQuotes(const std::string& text);

/// Which routine a literal is written for: the match query writes currency values raw, the
/// where clauses built from a record set or from result items quote them.
enum class LiteralUse { WhereClause, MatchQuery };

/// A value as it is written into the statements users see: raw, quoted ('...' with quotes
/// doubled) or as a date (#...# for Access files, quoted elsewhere), chosen by the field's type
/// code. A Null value is written as Null.
std::string sqlLiteral(const Value& value, int32_t typeCode, bool isAccess, LiteralUse use);

/// sqlLiteral of a value held as text by a result item.
std::string sqlLiteral(const std::string& text, int32_t typeCode, bool isAccess, LiteralUse use);

/// "like " for the character types, "= " for every other type code.
std::string matchOperator(int32_t typeCode);

/// The value a result item's text stands for, in the kind its type code reads as (integers,
/// reals, binary from hexadecimal); text that does not read as that kind stays text.
Value valueForTypeCode(const std::string& text, int32_t typeCode);

/// The type code held by a result item's dataType text; 0 when it is not a number.
int32_t typeCodeOf(const std::string& dataType);

} // namespace sifkit::detail
