// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <sifkit/Value.h>

#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <string>
#include <utility>

namespace sifkit::platform::odbc {

/// Owner of one ODBC handle: move-only, freed in a noexcept destructor.
class Handle {
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE handle);
    Handle(Handle&& other) noexcept : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset();
            type_ = other.type_;
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { reset(); }

    SQLHANDLE get() const noexcept { return handle_; }
    SQLSMALLINT type() const noexcept { return type_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    void reset() noexcept;

private:
    SQLSMALLINT type_ = 0;
    SQLHANDLE handle_ = nullptr;
};

/// Number of ODBC handles allocated through this layer and not yet freed; tests check that it
/// falls back to zero.
long liveHandleCount() noexcept;

/// The process's one ODBC environment (ODBC 3 behaviour). Connections keep it alive.
std::shared_ptr<Handle> environment();

/// Allocates a child handle of the given type; throws on failure.
Handle allocate(SQLSMALLINT type, const Handle& parent);

/// Every ODBC call goes through here: SQL_SUCCESS and SQL_SUCCESS_WITH_INFO pass (so do
/// SQL_NO_DATA and SQL_NEED_DATA, which callers test themselves); anything else throws a
/// sifkit::DatabaseError built from the handle's first diagnostic record.
SQLRETURN check(SQLRETURN rc, const Handle& handle, const char* what);
SQLRETURN check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what);

/// The first diagnostic record of a handle as "[SQLSTATE] text".
std::string firstDiagnostic(SQLSMALLINT type, SQLHANDLE handle, std::string* sqlState = nullptr,
                            SQLINTEGER* nativeCode = nullptr);

/// Reads one cell of the statement's current row with SQLGetData, in pieces for long values,
/// in the column's kind (a text that is not of that kind stays a text); single-precision
/// values as the driver's binary float (readsAsSingle).
Value readCell(Handle& statement, SQLUSMALLINT column, const ColumnInfo& info);

} // namespace sifkit::platform::odbc
