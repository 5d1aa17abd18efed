// SPDX-License-Identifier: MIT
#include "SqlLiterals.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace sifkit::detail {

namespace {

enum class LiteralForm { Raw, Quoted, Date };

template <std::size_t N> bool isOneOf(int32_t code, const std::array<int32_t, N>& codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

constexpr std::array<int32_t, 4> dateCodes{7, 133, 134, 135};
constexpr std::array<int32_t, 10> quotedCodes{8, 64, 129, 130, 136, 137, 200, 201, 202, 203};
constexpr std::array<int32_t, 9> likeCodes{8, 64, 129, 130, 136, 200, 201, 202, 203};
constexpr int32_t currencyCode = 6;
constexpr std::array<int32_t, 9> integerCodes{2, 3, 11, 16, 17, 18, 19, 20, 21};
constexpr std::array<int32_t, 2> realCodes{4, 5};
constexpr std::array<int32_t, 3> binaryCodes{128, 204, 205};

LiteralForm literalForm(int32_t typeCode, LiteralUse use) {
    if (isOneOf(typeCode, dateCodes))
        return LiteralForm::Date;
    if (isOneOf(typeCode, quotedCodes) || (typeCode == currencyCode && use == LiteralUse::WhereClause))
        return LiteralForm::Quoted;
    return LiteralForm::Raw;
}

template <typename T> bool parseWhole(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, out);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string doubleSingleQuotes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

std::string sqlLiteral(const std::string& text, int32_t typeCode, bool isAccess, LiteralUse use) {
    switch (literalForm(typeCode, use)) {
    case LiteralForm::Raw:
        return text;
    case LiteralForm::Quoted:
        return "'" + doubleSingleQuotes(text) + "'";
    case LiteralForm::Date:
        return isAccess ? "#" + doubleSingleQuotes(text) + "#" : "'" + doubleSingleQuotes(text) + "'";
    }
    return text;
}

std::string sqlLiteral(const Value& value, int32_t typeCode, bool isAccess, LiteralUse use) {
    if (value.isNull())
        return "Null";
    return sqlLiteral(value.toString(), typeCode, isAccess, use);
}

std::string matchOperator(int32_t typeCode) {
    return isOneOf(typeCode, likeCodes) ? "like " : "= ";
}

Value valueForTypeCode(const std::string& text, int32_t typeCode) {
    if (isOneOf(typeCode, integerCodes)) {
        int64_t integer = 0;
        if (parseWhole(text, integer))
            return Value(integer);
    } else if (isOneOf(typeCode, realCodes)) {
        double real = 0;
        if (parseWhole(text, real))
            return Value(real);
    } else if (isOneOf(typeCode, binaryCodes) && text.size() % 2 == 0) {
        Value::Bytes bytes;
        for (std::size_t i = 0; i < text.size(); i += 2) {
            unsigned byte = 0;
            auto result = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
            if (result.ec != std::errc() || result.ptr != text.data() + i + 2)
                return Value(text);
            bytes.push_back(static_cast<unsigned char>(byte));
        }
        return Value::binary(std::move(bytes));
    }
    return Value(text);
}

int32_t typeCodeOf(const std::string& dataType) {
    int32_t code = 0;
    return parseWhole(dataType, code) ? code : 0;
}

} // namespace sifkit::detail
