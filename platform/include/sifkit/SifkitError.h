// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace sifkit {

/// Numbers of the failures the data access layer raises itself (driver failures carry the
/// driver's native code instead). They follow the numbering database tools commonly use.
namespace ErrorNumber {
inline constexpr int32_t TypeMismatch = 13;       ///< a text that does not read as a number
inline constexpr int32_t SubscriptOutOfRange = 9; ///< a list position that does not exist
inline constexpr int32_t NotAllowedInContext = 3219;
inline constexpr int32_t ItemNotFound = 3265;      ///< no field of that name or position
inline constexpr int32_t NoCurrentRecord = 3021;   ///< BOF or EOF, or no row to work on
inline constexpr int32_t ObjectClosed = 3704;      ///< the record set or connection is closed
inline constexpr int32_t ProviderNotFound = 3706;  ///< the connection string names nothing we can open
inline constexpr int32_t ConnectionInvalid = 3709; ///< statement on a closed connection
inline constexpr int32_t FileError = 3002;         ///< a persisted file cannot be read or written
inline constexpr int32_t RowNotLocated = 3640;     ///< a write selects no row or more than one
inline constexpr int32_t ReadOnly = 3027;          ///< a write to a database opened for reading only
inline constexpr int32_t TableNotFound = 3078;     ///< a statement names a table the database lacks
} // namespace ErrorNumber

/// Base of every failure the library reports by exception: a number and a description,
/// the two parts callers put into their message texts.
class SIFKIT_EXPORT Error : public std::runtime_error {
public:
    Error(int32_t number, const std::string& description);
    int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

private:
    int32_t number_;
    std::string description_;
};

/// A failure reported by the database driver. number() is the driver's native code,
/// sqlState() the five-character SQLSTATE; description() holds the driver's own text.
class SIFKIT_EXPORT DatabaseError : public Error {
public:
    DatabaseError(int32_t nativeCode, const std::string& sqlState, const std::string& description);
    const std::string& sqlState() const noexcept { return sqlState_; }

private:
    std::string sqlState_;
};

/// Raised where a text must be read as a number and cannot be: setChangeType("x"), and the
/// integer result accessors of Sifcore for an index past the end of a result collection.
class SIFKIT_EXPORT ConversionError : public Error {
public:
    explicit ConversionError(const std::string& text);
};

} // namespace sifkit
