// SPDX-License-Identifier: MIT
#include "OdbcApi.h"

#include "ExactNumbers.h"
#include "OdbcTypes.h"

#include <sifkit/SifkitError.h>

#include <atomic>
#include <mutex>

namespace sifkit::platform::odbc {

namespace {
std::atomic<long> liveHandles{0};

/// Drivers hand most values over as text; this turns the text into the column's kind.
Value fromText(std::string text, Value::Kind storage) {
    CellView cell = cellFromText(text, storage);
    return cell.kind == Value::Kind::Text ? Value(std::move(text)) : cell.toValue();
}

} // namespace

long liveHandleCount() noexcept {
    return liveHandles.load();
}

Handle::Handle(SQLSMALLINT type, SQLHANDLE handle) : type_(type), handle_(handle) {
    if (handle_ != nullptr)
        ++liveHandles;
}

void Handle::reset() noexcept {
    if (handle_ != nullptr) {
        if (type_ == SQL_HANDLE_DBC)
            SQLDisconnect(handle_); // harmless when not connected
        SQLFreeHandle(type_, handle_);
        handle_ = nullptr;
        --liveHandles;
    }
}

std::shared_ptr<Handle> environment() {
    static std::mutex mutex;
    static std::weak_ptr<Handle> current;
    std::lock_guard lock(mutex);
    if (auto env = current.lock())
        return env;
    SQLHANDLE raw = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw)))
        throw Error(ErrorNumber::ProviderNotFound,
                    "The ODBC driver manager could not allocate an environment");
    auto env = std::make_shared<Handle>(SQL_HANDLE_ENV, raw);
    check(SQLSetEnvAttr(raw, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0), *env,
          "SQLSetEnvAttr");
    current = env;
    return env;
}

Handle allocate(SQLSMALLINT type, const Handle& parent) {
    SQLHANDLE raw = nullptr;
    check(SQLAllocHandle(type, parent.get(), &raw), parent, "SQLAllocHandle");
    return Handle(type, raw);
}

std::string firstDiagnostic(SQLSMALLINT type, SQLHANDLE handle, std::string* sqlState,
                            SQLINTEGER* nativeCode) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR text[SQL_MAX_MESSAGE_LENGTH * 2] = {};
    SQLSMALLINT length = 0;
    std::string message;
    if (handle != nullptr &&
        SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, text, sizeof text, &length))) {
        message = reinterpret_cast<const char*>(text);
    }
    if (sqlState)
        *sqlState = reinterpret_cast<const char*>(state);
    if (nativeCode)
        *nativeCode = native;
    return message;
}

SQLRETURN check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA || rc == SQL_NEED_DATA)
        return rc;
    std::string state;
    SQLINTEGER native = 0;
    std::string text = firstDiagnostic(type, handle, &state, &native);
    if (text.empty())
        text = std::string(what) + " failed";
    std::string description = state.empty() ? text : "[" + state + "] " + text;
    throw DatabaseError(native, state, description);
}

SQLRETURN check(SQLRETURN rc, const Handle& handle, const char* what) {
    return check(rc, handle.type(), handle.get(), what);
}

/// Reads one cell with SQLGetData, in pieces for long values.
Value readCell(odbc::Handle& statement, SQLUSMALLINT column, const ColumnInfo& info) {
    if (readsAsSingle(info)) {
        float single = 0;
        SQLLEN indicator = 0;
        odbc::check(SQLGetData(statement.get(), column, SQL_C_FLOAT, &single, sizeof single, &indicator),
                    statement, "SQLGetData");
        return indicator == SQL_NULL_DATA ? Value() : Value(singleAsDouble(single));
    }
    const Value::Kind storage = info.storage;
    const bool binary = storage == Value::Kind::Binary;
    const SQLSMALLINT cType = binary ? SQL_C_BINARY : SQL_C_CHAR;
    const std::size_t terminator = binary ? 0 : 1;
    std::string collected;
    char buffer[8192];
    while (true) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(statement.get(), column, cType, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        odbc::check(rc, statement, "SQLGetData");
        if (indicator == SQL_NULL_DATA)
            return Value();
        std::size_t chunk = sizeof buffer - terminator;
        if (indicator != SQL_NO_TOTAL && static_cast<std::size_t>(indicator) < chunk)
            chunk = static_cast<std::size_t>(indicator);
        collected.append(buffer, chunk);
        if (rc == SQL_SUCCESS)
            break;
    }
    if (binary)
        return Value::binary(Value::Bytes(collected.begin(), collected.end()));
    if (info.typeCode == 72)
        lowerGuidText(collected.data(), collected.size());
    return fromText(std::move(collected), storage);
}

} // namespace sifkit::platform::odbc
