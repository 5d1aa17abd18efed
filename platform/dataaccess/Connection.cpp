// SPDX-License-Identifier: MIT
#include "ConnectionString.h"
#include "MdbBackend.h"
#include "OdbcBackend.h"
#include "SchemaRowsets.h"
#include "SqliteBackend.h"
#include "State.h"

#include <sifkit/DataAccess.h>

namespace sifkit {

Connection::Connection() : state_(std::make_shared<platform::ConnectionState>()) {}

void Connection::open(const std::string& connectionString) {
    if (state_->backend)
        throw Error(ErrorNumber::NotAllowedInContext, "Operation is not allowed when the object is open.");
    state_->connectionString = connectionString;
    const platform::ConnectionTarget target = platform::resolveConnectionString(connectionString);
    switch (target.kind) {
    case platform::ConnectionTarget::Kind::SqliteFile:
        // libsqlite3 reads every value in the storage class SQLite keeps, where the ODBC driver
        // converts by the column's first value and rounds reals to 15 digits.
        state_->backend = std::make_unique<platform::SqliteBackend>(target.path, target.busyTimeoutMs);
        break;
    case platform::ConnectionTarget::Kind::AccessFile:
        state_->backend = std::make_unique<platform::MdbBackend>(target.path);
        break;
    case platform::ConnectionTarget::Kind::Odbc:
        state_->backend = std::make_unique<platform::OdbcBackend>(target.odbcConnectionString);
        break;
    }
}

int32_t Connection::state() const noexcept {
    return state_->backend ? 1 : 0;
}

void Connection::close() noexcept {
    state_->backend.reset();
}

void Connection::execute(const std::string& sql) {
    platform::requireBackend(*this).execute(sql, {});
}

Recordset Connection::openSchema(int32_t kind, const std::vector<std::string>& restrictions) const {
    auto rows = platform::schemaRows(platform::requireBackend(*this), kind, restrictions);
    return Recordset(std::move(rows), "schema " + std::to_string(kind));
}

std::string Connection::connectionString() const {
    return state_->connectionString;
}

std::string Connection::dbmsName() const {
    return state_->backend ? state_->backend->dialect().dbmsName : "";
}

platform::Backend* Connection::backend() const noexcept {
    return state_->backend.get();
}

namespace platform {

Backend& requireBackend(const Connection& connection) {
    Backend* backend = connection.backend();
    if (!backend)
        throw Error(ErrorNumber::ConnectionInvalid,
                    "The connection cannot be used to perform this operation. "
                    "It is either closed or invalid in this context.");
    return *backend;
}

} // namespace platform
} // namespace sifkit
