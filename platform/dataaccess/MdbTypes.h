// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sifkit::platform::mdb {

/// libmdb's numbers of the Access column types (the file's own).
enum AccessType : int {
    YesNo = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    LongInteger = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0a,
    OleObject = 0x0b,
    Memo = 0x0c, ///< Hyperlink columns are Memo columns with a flag
    ReplicationId = 0x0f,
    Decimal = 0x10,
    Complex = 0x12, ///< attachments and multi-valued fields of .accdb files
};

/// What a column of an Access table is in the layer: the type codes the Jet provider reports
/// (Text 202, Memo and Hyperlink 203, Byte 17, Integer 2, Long Integer 3, Single 4, Double 5,
/// Currency 6, Date/Time 7, Yes/No 11, Replication ID 72, Decimal 131, Binary 128 or 204 when
/// of varying length, OLE Object 205), the column size an ODBC driver would report (characters
/// of a text, digits of a number), how values are held (Currency and Decimal as exact decimal
/// text, Date/Time as text) and the Access name of the type in typeName.
/// `size` is libmdb's col_size (bytes: two a character in Jet 4 files).
ColumnInfo describeColumn(const std::string& name, int accessType, int size, bool fixedLength, int precision,
                          bool jet4);

/// Currency: a signed 64-bit count of ten-thousandths, as exact decimal text with its four
/// places ("-12.3400").
std::string currencyText(const unsigned char* bytes);

/// Decimal: a sign byte (0x80 negative) and a 96-bit magnitude in four 32-bit little-endian
/// words, the most significant first, as exact decimal text with `scale` places.
std::string decimalText(const unsigned char* bytes, int scale);

/// Date/Time: days since 1899-12-30, the fraction the time of day (for days before that, the
/// fraction runs forward from midnight as well: -1.25 is 1899-12-29 06:00). As
/// "YYYY-MM-DD HH:MM:SS", with as many places of a second as the value needs to read back
/// exactly (".5", ".123", up to nine); every value, out of Access's own range too.
std::string dateTimeText(double days);

/// Replication ID: a GUID as Access shows it, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::string guidText(const unsigned char* bytes);

/// A text of a Jet 4 file (UTF-16 little-endian, optionally in the compressed form that
/// starts with FF FE) as UTF-8. Surrogates without their pair are written as three bytes each
/// (as WTF-8 does), so no text is lost or merged with another.
std::string jet4Text(std::string_view raw);

/// Decodes the texts of a Jet 3 file, written in one Windows code page, to UTF-8. A byte the
/// code page leaves undefined reads as the character of the same number (as Windows itself
/// reads code page 1252's five gaps), so no text is lost or merged with another.
class CodePageText {
public:
    /// codePage as the file's header gives it; 0 (none given) reads as 1252.
    explicit CodePageText(int codePage);
    ~CodePageText();
    CodePageText(const CodePageText&) = delete;
    CodePageText& operator=(const CodePageText&) = delete;
    std::string operator()(std::string_view raw) const;

private:
    void* converter_; ///< an iconv descriptor; (void*)-1 when the code page is unknown to iconv
};

/// A little-endian number of the file.
int64_t littleEndian(const unsigned char* bytes, std::size_t size);

} // namespace sifkit::platform::mdb
