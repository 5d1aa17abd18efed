// SPDX-License-Identifier: MIT
#include "MdbTypes.h"

#include "ExactNumbers.h"

#include <sifkit/Value.h>

#include <iconv.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace sifkit::platform::mdb {

namespace {

ColumnInfo column(const std::string& name, int32_t typeCode, int32_t size, Value::Kind storage,
                  const char* typeName) {
    ColumnInfo info;
    info.name = name;
    info.typeCode = typeCode;
    info.definedSize = size;
    info.storage = storage;
    info.typeName = typeName;
    return info;
}

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

/// Year, month and day of a day counted from 1970-01-01 (proleptic Gregorian calendar).
void civilFromDays(int64_t day, int64_t& year, unsigned& month, unsigned& dayOfMonth) {
    day += 719468;
    const int64_t era = (day >= 0 ? day : day - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(day - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    dayOfMonth = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

/// Days from 1970-01-01 to Access's day 0, 1899-12-30.
constexpr int64_t accessEpoch = -25569;

} // namespace

ColumnInfo describeColumn(const std::string& name, int accessType, int size, bool fixedLength, int precision,
                          bool jet4) {
    switch (accessType) {
    case YesNo:
        return column(name, 11, 1, Value::Kind::Integer, "Yes/No");
    case Byte:
        return column(name, 17, 3, Value::Kind::Integer, "Byte");
    case Integer:
        return column(name, 2, 5, Value::Kind::Integer, "Integer");
    case LongInteger:
        return column(name, 3, 10, Value::Kind::Integer, "Long Integer");
    case Currency:
        return column(name, 6, 19, Value::Kind::Text, "Currency");
    case Single:
        return column(name, 4, 7, Value::Kind::Real, "Single");
    case Double:
        return column(name, 5, 15, Value::Kind::Real, "Double");
    case DateTime:
        return column(name, 7, 19, Value::Kind::Text, "Date/Time");
    case Binary:
        return column(name, fixedLength ? 128 : 204, size, Value::Kind::Binary, "Binary");
    case Text:
        return column(name, 202, jet4 ? size / 2 : size, Value::Kind::Text, "Text");
    case OleObject:
        return column(name, 205, 1073741823, Value::Kind::Binary, "OLE Object");
    case Memo:
        return column(name, 203, 1073741823, Value::Kind::Text, "Memo");
    case ReplicationId:
        return column(name, 72, 36, Value::Kind::Text, "Replication ID");
    case Decimal:
        return column(name, 131, precision, Value::Kind::Text, "Decimal");
    case Complex:
        // A number that links to rows of a hidden table: nothing to compare by value.
        return column(name, 13, 10, Value::Kind::Integer, "Attachment");
    default:
        return column(name, 0, size, Value::Kind::Binary, "Unknown");
    }
}

int64_t littleEndian(const unsigned char* bytes, std::size_t size) {
    uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | bytes[i];
    if (size < 8 && (bytes[size - 1] & 0x80)) // sign-extend
        value |= ~uint64_t{0} << (8 * size);
    return static_cast<int64_t>(value);
}

std::string currencyText(const unsigned char* bytes) {
    const int64_t count = littleEndian(bytes, 8);
    const uint64_t magnitude =
        count < 0 ? uint64_t{0} - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
    return scaledDecimalText(count < 0, magnitude, 4);
}

std::string decimalText(const unsigned char* bytes, int scale) {
    UInt128 magnitude = 0;
    for (int word = 0; word < 4; ++word)
        magnitude = (magnitude << 32) | static_cast<uint32_t>(littleEndian(bytes + 1 + 4 * word, 4));
    return scaledDecimalText((bytes[0] & 0x80) != 0, magnitude, scale);
}

std::string dateTimeText(double days) {
    if (!std::isfinite(days))
        return formatReal(days);
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    const double direction = days < 0 ? -1.0 : 1.0;
    // The fewest places of a second that read back to the same value.
    int places = 0;
    int64_t perDay = 86400;
    int64_t units = std::llround(fraction * static_cast<double>(perDay));
    while (places < 9 &&
           whole + direction * (static_cast<double>(units) / static_cast<double>(perDay)) != days) {
        places += 3;
        perDay *= 1000;
        units = std::llround(fraction * static_cast<double>(perDay));
    }
    int64_t day = static_cast<int64_t>(whole);
    if (units >= perDay) {
        units -= perDay;
        ++day;
    }
    int64_t year = 0;
    unsigned month = 0, dayOfMonth = 0;
    civilFromDays(day + accessEpoch, year, month, dayOfMonth);
    const int64_t unitsPerSecond = perDay / 86400;
    const int64_t seconds = units / unitsPerSecond;
    char text[80];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(year),
                  month, dayOfMonth, static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    std::string result = text;
    if (const int64_t part = units % unitsPerSecond; part != 0) {
        std::snprintf(text, sizeof text, ".%0*lld", places, static_cast<long long>(part));
        std::string digits = text;
        while (digits.back() == '0')
            digits.pop_back();
        result += digits;
    }
    return result;
}

std::string guidText(const unsigned char* b) {
    char text[40];
    std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

std::string jet4Text(std::string_view raw) {
    // The compressed form: bytes of characters below 256, a zero switching between those and
    // two-byte characters.
    std::u16string units;
    units.reserve(raw.size());
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
        static_cast<unsigned char>(raw[1]) == 0xFE) {
        bool compressed = true;
        for (std::size_t i = 2; i < raw.size();) {
            const auto byte = static_cast<unsigned char>(raw[i]);
            if (byte == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                units += static_cast<char16_t>(byte);
                ++i;
            } else if (i + 1 < raw.size()) {
                units += static_cast<char16_t>(byte | (static_cast<unsigned char>(raw[i + 1]) << 8));
                i += 2;
            } else {
                break;
            }
        }
    } else {
        for (std::size_t i = 0; i + 1 < raw.size(); i += 2)
            units += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                           (static_cast<unsigned char>(raw[i + 1]) << 8));
    }
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            appendUtf8(out,
                       0x10000 + ((static_cast<uint32_t>(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

CodePageText::CodePageText(int codePage) {
    const std::string name = "CP" + std::to_string(codePage > 0 ? codePage : 1252);
    converter_ = iconv_open("UTF-8", name.c_str());
}

CodePageText::~CodePageText() {
    if (converter_ != reinterpret_cast<void*>(-1))
        iconv_close(static_cast<iconv_t>(converter_));
}

std::string CodePageText::operator()(std::string_view raw) const {
    std::string out;
    out.reserve(raw.size());
    if (converter_ == reinterpret_cast<void*>(-1)) {
        for (char c : raw)
            appendUtf8(out, static_cast<unsigned char>(c));
        return out;
    }
    auto converter = static_cast<iconv_t>(converter_);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(raw.data());
    std::size_t inLeft = raw.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte the code page does not define (or a cut sequence): its own number.
            appendUtf8(out, static_cast<unsigned char>(*in));
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

} // namespace sifkit::platform::mdb
