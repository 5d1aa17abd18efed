// SPDX-License-Identifier: MIT
#include "MdbQuery.h"

#include "MdbTypes.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace sifkit::platform::mdb {

namespace {

// ---- Reading a statement -------------------------------------------------------------------

struct Token {
    enum class Kind { Name, QuotedName, Text, Date, Number, Symbol, End };
    Kind kind = Kind::End;
    std::string text;
};

[[noreturn]] void unreadable(const std::string& sql, const std::string& why) {
    throw Error(ErrorNumber::NotAllowedInContext,
                "An Access database is read here with SELECT statements of one table's columns (" + why +
                    "): " + sql);
}

std::vector<Token> tokens(const std::string& sql) {
    std::vector<Token> found;
    std::size_t i = 0;
    auto quoted = [&](char close, Token::Kind kind) {
        std::string text;
        for (++i;; ++i) {
            if (i >= sql.size())
                unreadable(sql, "a quote is not closed");
            if (sql[i] == close) {
                if (i + 1 < sql.size() && sql[i + 1] == close) {
                    text += close;
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            text += sql[i];
        }
        found.push_back({kind, text});
    };
    while (i < sql.size()) {
        const auto c = static_cast<unsigned char>(sql[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (c == '[') {
            quoted(']', Token::Kind::QuotedName);
        } else if (c == '"' || c == '`') {
            quoted(static_cast<char>(c), Token::Kind::QuotedName);
        } else if (c == '\'') {
            quoted('\'', Token::Kind::Text);
        } else if (c == '#') {
            const std::size_t close = sql.find('#', i + 1);
            if (close == std::string::npos)
                unreadable(sql, "a date is not closed");
            found.push_back({Token::Kind::Date, sql.substr(i + 1, close - i - 1)});
            i = close + 1;
        } else if (std::isdigit(c) ||
                   (c == '.' && i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1])))) {
            std::size_t end = i;
            while (end < sql.size() &&
                   (std::isdigit(static_cast<unsigned char>(sql[end])) || sql[end] == '.'))
                ++end;
            if (end < sql.size() && (sql[end] == 'e' || sql[end] == 'E')) {
                std::size_t exponent = end + 1;
                if (exponent < sql.size() && (sql[exponent] == '+' || sql[exponent] == '-'))
                    ++exponent;
                if (exponent < sql.size() && std::isdigit(static_cast<unsigned char>(sql[exponent]))) {
                    end = exponent;
                    while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end])))
                        ++end;
                }
            }
            found.push_back({Token::Kind::Number, sql.substr(i, end - i)});
            i = end;
        } else if (std::isalpha(c) || c == '_' || c >= 0x80) {
            std::size_t end = i;
            while (end < sql.size() &&
                   (std::isalnum(static_cast<unsigned char>(sql[end])) || sql[end] == '_' ||
                    sql[end] == '$' || static_cast<unsigned char>(sql[end]) >= 0x80))
                ++end;
            found.push_back({Token::Kind::Name, sql.substr(i, end - i)});
            i = end;
        } else {
            static const char* const pairs[] = {"<>", "!=", "<=", ">="};
            std::string symbol(1, static_cast<char>(c));
            for (const char* pair : pairs)
                if (sql.compare(i, 2, pair) == 0)
                    symbol = pair;
            if (symbol.size() == 1 &&
                std::string_view("*,()=<>?;.-+").find(static_cast<char>(c)) == std::string_view::npos)
                unreadable(sql, std::string("\"") + static_cast<char>(c) + "\" cannot be read");
            found.push_back({Token::Kind::Symbol, symbol});
            i += symbol.size();
        }
    }
    found.push_back({Token::Kind::End, ""});
    return found;
}

bool isKeyword(const Token& token, const char* word) {
    if (token.kind != Token::Kind::Name || token.text.size() != std::char_traits<char>::length(word))
        return false;
    for (std::size_t i = 0; i < token.text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(token.text[i])) != word[i])
            return false;
    return true;
}

/// A name may not be one of these words unless it is quoted.
bool isReserved(const Token& token) {
    for (const char* word :
         {"SELECT", "TOP", "FROM", "WHERE", "AND",   "OR",       "NOT", "LIKE",  "IS",     "NULL", "ORDER",
          "BY",     "ASC", "DESC", "TRUE",  "FALSE", "DISTINCT", "AS",  "GROUP", "HAVING", "UNION"})
        if (isKeyword(token, word))
            return true;
    return false;
}

class Parser {
public:
    explicit Parser(const std::string& sql) : sql_(sql), tokens_(tokens(sql)) {}

    Select select() {
        Select result;
        expectKeyword("SELECT");
        if (acceptKeyword("TOP")) {
            const Token& count = take();
            int64_t top = 0;
            const auto [ptr, ec] =
                std::from_chars(count.text.data(), count.text.data() + count.text.size(), top);
            if (count.kind != Token::Kind::Number || ec != std::errc() ||
                ptr != count.text.data() + count.text.size())
                fail("TOP is followed by a whole number");
            result.top = top;
        }
        if (isKeyword(peek(), "DISTINCT"))
            fail("DISTINCT is not read");
        if (acceptSymbol("*")) {
        } else {
            do
                result.columns.push_back(name("a column's name"));
            while (acceptSymbol(","));
        }
        expectKeyword("FROM");
        result.table = name("a table's name");
        if (acceptSymbol(","))
            fail("one table only");
        if (acceptKeyword("WHERE"))
            result.where = condition();
        if (acceptKeyword("ORDER")) {
            expectKeyword("BY");
            do {
                OrderTerm term;
                term.column = name("a column's name");
                if (acceptKeyword("DESC"))
                    term.descending = true;
                else
                    acceptKeyword("ASC");
                result.orderBy.push_back(std::move(term));
            } while (acceptSymbol(","));
        }
        while (acceptSymbol(";")) {
        }
        if (peek().kind != Token::Kind::End)
            fail("\"" + peek().text + "\" is not read there");
        result.parameterCount = parameters_;
        return result;
    }

private:
    [[noreturn]] void fail(const std::string& why) const { unreadable(sql_, why); }
    const Token& peek(std::size_t ahead = 0) const {
        return tokens_[std::min(at_ + ahead, tokens_.size() - 1)];
    }
    const Token& take() {
        const Token& token = peek();
        if (at_ < tokens_.size() - 1)
            ++at_;
        return token;
    }
    bool acceptKeyword(const char* word) {
        if (!isKeyword(peek(), word))
            return false;
        take();
        return true;
    }
    void expectKeyword(const char* word) {
        if (!acceptKeyword(word))
            fail(std::string(word) + " is missing");
    }
    bool acceptSymbol(const char* symbol) {
        if (peek().kind != Token::Kind::Symbol || peek().text != symbol)
            return false;
        take();
        return true;
    }
    bool isName(const Token& token) const {
        return token.kind == Token::Kind::QuotedName ||
               (token.kind == Token::Kind::Name && !isReserved(token));
    }
    /// A name, the last part of a dotted one (a column after its table's name).
    std::string name(const char* what) {
        if (!isName(peek()))
            fail(std::string(what) + " is missing");
        std::string found = take().text;
        while (peek().kind == Token::Kind::Symbol && peek().text == "." && isName(peek(1))) {
            take();
            found = take().text;
        }
        return found;
    }

    std::unique_ptr<Condition> condition() {
        auto left = conjunction();
        while (acceptKeyword("OR"))
            left = joined(Condition::Kind::Or, std::move(left), conjunction());
        return left;
    }
    std::unique_ptr<Condition> conjunction() {
        auto left = negation();
        while (acceptKeyword("AND"))
            left = joined(Condition::Kind::And, std::move(left), negation());
        return left;
    }
    static std::unique_ptr<Condition> joined(Condition::Kind kind, std::unique_ptr<Condition> left,
                                             std::unique_ptr<Condition> right) {
        auto node = std::make_unique<Condition>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }
    std::unique_ptr<Condition> negation() {
        if (acceptKeyword("NOT")) {
            auto node = std::make_unique<Condition>();
            node->kind = Condition::Kind::Not;
            node->left = negation();
            return node;
        }
        if (acceptSymbol("(")) {
            auto inner = condition();
            if (!acceptSymbol(")"))
                fail("a parenthesis is not closed");
            return inner;
        }
        return predicate();
    }
    std::unique_ptr<Condition> predicate() {
        auto node = std::make_unique<Condition>();
        node->a = operand();
        if (acceptKeyword("IS")) {
            node->kind = Condition::Kind::IsNull;
            node->negated = acceptKeyword("NOT");
            expectKeyword("NULL");
            return node;
        }
        node->negated = acceptKeyword("NOT");
        if (acceptKeyword("LIKE")) {
            node->kind = Condition::Kind::Like;
            node->b = operand();
            return node;
        }
        if (node->negated)
            fail("NOT is followed by LIKE there");
        for (const char* op : {"=", "<>", "!=", "<=", ">=", "<", ">"}) {
            if (acceptSymbol(op)) {
                node->kind = Condition::Kind::Compare;
                node->op = std::string(op) == "!=" ? "<>" : op;
                node->b = operand();
                return node;
            }
        }
        fail("a comparison is missing");
    }
    Operand operand() {
        Operand found;
        if (acceptSymbol("?")) {
            found.kind = Operand::Kind::Parameter;
            found.parameter = parameters_++;
            return found;
        }
        bool negative = false;
        if (peek().kind == Token::Kind::Symbol && (peek().text == "-" || peek().text == "+") &&
            peek(1).kind == Token::Kind::Number)
            negative = take().text == "-";
        const Token& token = peek();
        switch (token.kind) {
        case Token::Kind::Text:
            found.literal = Value(take().text);
            return found;
        case Token::Kind::Date:
            found.literal = Value(take().text);
            found.isDate = true;
            return found;
        case Token::Kind::Number: {
            const std::string text = (negative ? "-" : "") + take().text;
            int64_t integer = 0;
            const auto whole = std::from_chars(text.data(), text.data() + text.size(), integer);
            if (whole.ec == std::errc() && whole.ptr == text.data() + text.size()) {
                found.literal = Value(integer);
            } else {
                double real = 0;
                std::from_chars(text.data(), text.data() + text.size(), real);
                found.literal = Value(real);
            }
            return found;
        }
        default:
            break;
        }
        if (acceptKeyword("NULL"))
            return found;
        if (acceptKeyword("TRUE")) {
            found.literal = Value(int64_t{1});
            return found;
        }
        if (acceptKeyword("FALSE")) {
            found.literal = Value(int64_t{0});
            return found;
        }
        found.kind = Operand::Kind::Column;
        found.column = name("a value or a column's name");
        return found;
    }

    const std::string& sql_;
    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    std::size_t parameters_ = 0;
};

// ---- Comparing values ----------------------------------------------------------------------

/// A decimal number as digits (no leading or trailing zeros) times a power of ten.
struct Decimal {
    bool negative = false;
    std::string digits; ///< empty for zero
    int64_t exponent = 0;
};

std::optional<Decimal> decimalOfText(std::string_view text) {
    Decimal number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        number.negative = text[i++] == '-';
    bool anyDigit = false;
    bool afterPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            anyDigit = true;
            number.digits += c;
            if (afterPoint)
                --number.exponent;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        int64_t shift = 0;
        const auto [ptr, ec] =
            std::from_chars(text.data() + i + 1 + (text.size() > i + 1 && text[i + 1] == '+'),
                            text.data() + text.size(), shift);
        if (ec != std::errc() || ptr != text.data() + text.size())
            return std::nullopt;
        number.exponent += shift;
    } else if (i != text.size()) {
        return std::nullopt;
    }
    const std::size_t first = number.digits.find_first_not_of('0');
    number.digits.erase(0, first == std::string::npos ? number.digits.size() : first);
    while (!number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
        ++number.exponent;
    }
    if (number.digits.empty())
        number = Decimal();
    return number;
}

std::optional<Decimal> decimalOf(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Integer:
    case Value::Kind::Real:
    case Value::Kind::Text:
        return decimalOfText(value.toString());
    default:
        return std::nullopt;
    }
}

int compareDecimals(const Decimal& a, const Decimal& b) {
    const bool aZero = a.digits.empty(), bZero = b.digits.empty();
    if (aZero || bZero) {
        const int signA = aZero ? 0 : (a.negative ? -1 : 1);
        const int signB = bZero ? 0 : (b.negative ? -1 : 1);
        return (signA > signB) - (signA < signB);
    }
    if (a.negative != b.negative)
        return a.negative ? -1 : 1;
    // Magnitudes: first by the place of the leading digit, then digit by digit.
    const int64_t leadA = static_cast<int64_t>(a.digits.size()) + a.exponent;
    const int64_t leadB = static_cast<int64_t>(b.digits.size()) + b.exponent;
    int magnitude = (leadA > leadB) - (leadA < leadB);
    if (magnitude == 0) {
        const std::size_t length = std::max(a.digits.size(), b.digits.size());
        const std::string da = a.digits + std::string(length - a.digits.size(), '0');
        const std::string db = b.digits + std::string(length - b.digits.size(), '0');
        magnitude = da.compare(db);
        magnitude = (magnitude > 0) - (magnitude < 0);
    }
    return a.negative ? -magnitude : magnitude;
}

/// Two-digit years as Access reads them: 00 to 29 in this century, 30 to 99 in the last.
int fullYear(int year, std::size_t digits) {
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

/// A date and time written in a literal (ISO "2001-12-31 23:59:59.5", Access's US
/// "12/31/2001 11:59:59 PM", a time alone on 1899-12-30) as dateTimeText writes it.
std::optional<std::string> dateOfText(std::string_view text) {
    std::string value(text);
    while (!value.empty() && value.front() == ' ')
        value.erase(0, 1);
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0;
    double second = 0;
    std::size_t at = 0;
    auto number = [&](int& out, std::size_t& digits) {
        const std::size_t start = at;
        out = 0;
        while (at < value.size() && std::isdigit(static_cast<unsigned char>(value[at])))
            out = out * 10 + (value[at++] - '0');
        digits = at - start;
        return digits > 0;
    };
    std::size_t digits = 0;
    int first = 0;
    if (!number(first, digits))
        return std::nullopt;
    if (at < value.size() && value[at] == '-') { // ISO
        year = first;
        ++at;
        if (!number(month, digits) || at >= value.size() || value[at] != '-')
            return std::nullopt;
        ++at;
        if (!number(day, digits))
            return std::nullopt;
    } else if (at < value.size() && value[at] == '/') { // month/day/year
        month = first;
        ++at;
        if (!number(day, digits) || at >= value.size() || value[at] != '/')
            return std::nullopt;
        ++at;
        if (!number(year, digits))
            return std::nullopt;
        year = fullYear(year, digits);
    } else if (at < value.size() && value[at] == ':') { // a time alone
        at = 0;
    } else {
        return std::nullopt;
    }
    while (at < value.size() && (value[at] == ' ' || value[at] == 'T'))
        ++at;
    if (at < value.size()) {
        if (!number(hour, digits) || at >= value.size() || value[at] != ':')
            return std::nullopt;
        ++at;
        if (!number(minute, digits))
            return std::nullopt;
        if (at < value.size() && value[at] == ':') {
            ++at;
            const std::size_t start = at;
            while (at < value.size() &&
                   (std::isdigit(static_cast<unsigned char>(value[at])) || value[at] == '.'))
                ++at;
            const auto [ptr, ec] = std::from_chars(value.data() + start, value.data() + at, second);
            if (ec != std::errc())
                return std::nullopt;
        }
        while (at < value.size() && value[at] == ' ')
            ++at;
        std::string meridiem = value.substr(at);
        for (char& c : meridiem)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (meridiem == "PM" && hour < 12)
            hour += 12;
        else if (meridiem == "AM" && hour == 12)
            hour = 0;
        else if (!meridiem.empty() && meridiem != "AM" && meridiem != "PM")
            return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second >= 60)
        return std::nullopt;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  static_cast<int>(second));
    std::string result = buffer;
    const double fraction = second - static_cast<int>(second);
    if (fraction > 0) {
        std::snprintf(buffer, sizeof buffer, "%.9f", fraction);
        std::string places = buffer + 1; // ".xxxxxxxxx"
        while (places.back() == '0')
            places.pop_back();
        result += places;
    }
    return result;
}

std::optional<std::string> dateOf(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Text:
        return dateOfText(value.asText());
    case Value::Kind::Integer:
        return dateTimeText(static_cast<double>(value.asInteger()));
    case Value::Kind::Real:
        return dateTimeText(value.asReal());
    default:
        return std::nullopt;
    }
}

/// A number a value stands for, for columns of numbers: long double holds every 64-bit
/// integer and every double exactly.
std::optional<long double> numberOf(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Integer:
        return static_cast<long double>(value.asInteger());
    case Value::Kind::Real:
        return static_cast<long double>(value.asReal());
    case Value::Kind::Text: {
        const std::string& text = value.asText();
        int64_t integer = 0;
        const auto whole = std::from_chars(text.data(), text.data() + text.size(), integer);
        if (whole.ec == std::errc() && whole.ptr == text.data() + text.size())
            return static_cast<long double>(integer);
        double real = 0;
        const auto part = std::from_chars(text.data(), text.data() + text.size(), real);
        if (part.ec == std::errc() && part.ptr == text.data() + text.size() && !text.empty())
            return static_cast<long double>(real);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

template <typename T> int order(const T& a, const T& b) {
    return (a > b) - (a < b);
}

/// How two values compare by the column's type (nullptr: two literals, by their own kinds);
/// nullopt when either is Null or they are of no comparable kinds.
std::optional<int> compareValues(const Value& a, const Value& b, const ColumnInfo* column) {
    if (a.isNull() || b.isNull())
        return std::nullopt;
    const int32_t type = column ? column->typeCode : 0;
    if (type == 6 || type == 131) {
        auto da = decimalOf(a), db = decimalOf(b);
        if (!da || !db)
            return std::nullopt;
        return compareDecimals(*da, *db);
    }
    if (type == 7) {
        auto da = dateOf(a), db = dateOf(b);
        if (!da || !db)
            return std::nullopt;
        return order(*da, *db);
    }
    if (type == 72 && a.kind() == Value::Kind::Text && b.kind() == Value::Kind::Text) {
        auto canonical = [](std::string text) {
            for (char& c : text)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (text.size() == 36)
                text = "{" + text + "}";
            return text;
        };
        return order(canonical(a.asText()), canonical(b.asText()));
    }
    const Value::Kind storage = column ? column->storage : a.kind();
    if (storage == Value::Kind::Integer || storage == Value::Kind::Real ||
        (!column && a.kind() != Value::Kind::Text && b.kind() != Value::Kind::Text)) {
        if (a.kind() == Value::Kind::Integer && b.kind() == Value::Kind::Integer)
            return order(a.asInteger(), b.asInteger());
        auto na = numberOf(a), nb = numberOf(b);
        if (!na || !nb || a.kind() == Value::Kind::Binary || b.kind() == Value::Kind::Binary)
            return std::nullopt;
        return order(*na, *nb);
    }
    if (a.kind() != b.kind())
        return std::nullopt;
    if (a.kind() == Value::Kind::Text)
        return order(a.asText(), b.asText());
    if (a.kind() == Value::Kind::Binary)
        return order(a.asBinary(), b.asBinary());
    return std::nullopt;
}

enum class Truth { False, True, Unknown };

Truth truthOf(bool value) {
    return value ? Truth::True : Truth::False;
}

struct Evaluation {
    const std::vector<ColumnInfo>& columns;
    const std::vector<Value>& parameters;
    const CellReader& row;

    Value valueOf(const Operand& operand) const {
        switch (operand.kind) {
        case Operand::Kind::Column:
            return row(operand.position).toValue();
        case Operand::Kind::Parameter:
            return parameters[operand.parameter];
        case Operand::Kind::Literal:
            break;
        }
        return operand.literal;
    }
    const ColumnInfo* columnOf(const Operand& a, const Operand& b) const {
        if (a.kind == Operand::Kind::Column)
            return &columns[a.position];
        if (b.kind == Operand::Kind::Column)
            return &columns[b.position];
        return nullptr;
    }

    Truth evaluate(const Condition& condition) const {
        switch (condition.kind) {
        case Condition::Kind::And: {
            const Truth left = evaluate(*condition.left);
            if (left == Truth::False)
                return Truth::False;
            const Truth right = evaluate(*condition.right);
            if (right == Truth::False)
                return Truth::False;
            return left == Truth::True && right == Truth::True ? Truth::True : Truth::Unknown;
        }
        case Condition::Kind::Or: {
            const Truth left = evaluate(*condition.left);
            if (left == Truth::True)
                return Truth::True;
            const Truth right = evaluate(*condition.right);
            if (right == Truth::True)
                return Truth::True;
            return left == Truth::False && right == Truth::False ? Truth::False : Truth::Unknown;
        }
        case Condition::Kind::Not: {
            const Truth inner = evaluate(*condition.left);
            return inner == Truth::Unknown ? inner : truthOf(inner == Truth::False);
        }
        case Condition::Kind::IsNull:
            return truthOf(valueOf(condition.a).isNull() != condition.negated);
        case Condition::Kind::Like: {
            const Value text = valueOf(condition.a), pattern = valueOf(condition.b);
            if (text.isNull() || pattern.isNull() || text.kind() == Value::Kind::Binary ||
                pattern.kind() == Value::Kind::Binary)
                return Truth::Unknown;
            return truthOf(likeMatches(text.toString(), pattern.toString()) != condition.negated);
        }
        case Condition::Kind::Compare:
            break;
        }
        const std::optional<int> found =
            compareValues(valueOf(condition.a), valueOf(condition.b), columnOf(condition.a, condition.b));
        if (!found)
            return Truth::Unknown;
        const std::string& op = condition.op;
        if (op == "=")
            return truthOf(*found == 0);
        if (op == "<>")
            return truthOf(*found != 0);
        if (op == "<")
            return truthOf(*found < 0);
        if (op == ">")
            return truthOf(*found > 0);
        if (op == "<=")
            return truthOf(*found <= 0);
        return truthOf(*found >= 0);
    }
};

std::size_t positionOf(const std::string& name, const std::vector<ColumnInfo>& columns,
                       const std::string& table) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name)
            return i;
    auto sameIgnoringCase = [&](const std::string& other) {
        return std::equal(
            name.begin(), name.end(), other.begin(), other.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
    };
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (sameIgnoringCase(columns[i].name))
            return i;
    throw Error(ErrorNumber::ItemNotFound,
                "Table \"" + table + "\" of the Access database has no column \"" + name + "\"");
}

void bindOperand(Operand& operand, const std::vector<ColumnInfo>& columns, const std::string& table) {
    if (operand.kind == Operand::Kind::Column)
        operand.position = positionOf(operand.column, columns, table);
}

void bindCondition(Condition& condition, const std::vector<ColumnInfo>& columns, const std::string& table) {
    if (condition.left)
        bindCondition(*condition.left, columns, table);
    if (condition.right)
        bindCondition(*condition.right, columns, table);
    bindOperand(condition.a, columns, table);
    bindOperand(condition.b, columns, table);
}

void collectColumns(const Condition& condition, std::vector<std::size_t>& into) {
    if (condition.left)
        collectColumns(*condition.left, into);
    if (condition.right)
        collectColumns(*condition.right, into);
    for (const Operand* operand : {&condition.a, &condition.b})
        if (operand->kind == Operand::Kind::Column &&
            std::find(into.begin(), into.end(), operand->position) == into.end())
            into.push_back(operand->position);
}

} // namespace

Select parseSelect(const std::string& sql) {
    return Parser(sql).select();
}

void bindSelect(Select& select, const std::vector<ColumnInfo>& columns,
                const std::vector<Value>& parameters) {
    if (parameters.size() != select.parameterCount)
        throw Error(ErrorNumber::NotAllowedInContext,
                    "The statement has " + std::to_string(select.parameterCount) + " \"?\" marks but " +
                        std::to_string(parameters.size()) + " values are bound");
    select.positions.clear();
    if (select.columns.empty()) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            select.positions.push_back(i);
    } else {
        for (const std::string& name : select.columns)
            select.positions.push_back(positionOf(name, columns, select.table));
    }
    if (select.where)
        bindCondition(*select.where, columns, select.table);
    for (OrderTerm& term : select.orderBy)
        term.position = positionOf(term.column, columns, select.table);
}

bool accepts(const Select& select, const std::vector<ColumnInfo>& columns,
             const std::vector<Value>& parameters, const CellReader& row) {
    if (!select.where)
        return true;
    return Evaluation{columns, parameters, row}.evaluate(*select.where) == Truth::True;
}

std::vector<std::size_t> conditionColumns(const Select& select) {
    std::vector<std::size_t> positions;
    if (select.where)
        collectColumns(*select.where, positions);
    return positions;
}

int orderOf(const Value& a, const Value& b, const ColumnInfo& column) {
    if (a.isNull() || b.isNull())
        return static_cast<int>(b.isNull()) - static_cast<int>(a.isNull()) == 0 ? 0 : (a.isNull() ? -1 : 1);
    if (auto found = compareValues(a, b, &column))
        return *found;
    return order(a.toString(), b.toString());
}

bool likeMatches(std::string_view text, std::string_view pattern) {
    // Characters, not bytes, for "_": a UTF-8 sequence counts as one.
    auto characterLength = [](std::string_view s, std::size_t at) {
        const auto lead = static_cast<unsigned char>(s[at]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        return std::min(length, s.size() - at);
    };
    std::size_t t = 0, p = 0;
    std::size_t starPattern = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starPattern = ++p;
            starText = t;
        } else if (p < pattern.size() && pattern[p] == '_') {
            t += characterLength(text, t);
            p += characterLength(pattern, p);
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++t;
            ++p;
        } else if (starPattern != std::string_view::npos) {
            starText += characterLength(text, starText);
            t = starText;
            p = starPattern;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

} // namespace sifkit::platform::mdb
