// SPDX-License-Identifier: MIT
#include "Messages.h"

#include <sifkit/Credentials.h>
#include <sifkit/SifkitError.h>

namespace sifkit::detail {

namespace {

Failure make(MessageKind kind, int32_t number, const Cause& cause, std::string context, std::string text) {
    Failure failure;
    failure.kind = kind;
    failure.messageNumber = number;
    failure.errorNumber = cause.number;
    failure.sqlState = cause.sqlState;
    failure.description = cause.description;
    failure.context = std::move(context);
    failure.text = std::move(text);
    return failure;
}

Failure own(MessageKind kind, int32_t number, std::string context, std::string text) {
    return make(kind, number, Cause{}, std::move(context), std::move(text));
}

} // namespace

Cause Cause::of(const std::exception& failure) {
    if (const auto* database = dynamic_cast<const DatabaseError*>(&failure))
        return {database->number(), database->sqlState(), database->description()};
    if (const auto* error = dynamic_cast<const Error*>(&failure))
        return {error->number(), "", error->description()};
    return {0, "", failure.what()};
}

Cause Cause::current() {
    try {
        throw;
    } catch (const std::exception& failure) {
        return of(failure);
    } catch (...) {
        return {0, "", "Unknown error"};
    }
}

std::string Cause::text() const {
    return std::to_string(number) + " " + description;
}

std::string connectionFailureText(const Cause& cause, const std::string& connectionString) {
    // The text is shown to users and kept in logs: a password never appears in it.
    return cause.text() +
           " #2 Error occurred when attempting to open connection using the following connection string  " +
           maskCredentials(connectionString) + " ||";
}

Failure connectionFailure(const Cause& cause, const std::string& connectionString) {
    return make(MessageKind::Connection, 2, cause, maskCredentials(connectionString),
                " " + connectionFailureText(cause, connectionString) + "||");
}

std::string tableOpenFailureText(const Cause& cause, const std::string& table) {
    return cause.text() + " #1 Error Occurred when attempting to open the following table: " + table + "  ||";
}

std::string openFailureText(int32_t messageNumber, const Cause& cause, const std::string& sql) {
    return cause.text() + " #" + std::to_string(messageNumber) +
           " Error occured when attempting to open table using the following SQL" + sql + " ||";
}

Failure openFailure(int32_t messageNumber, const Cause& cause, const std::string& sql) {
    return make(MessageKind::Sql, messageNumber, cause, sql,
                " " + openFailureText(messageNumber, cause, sql) + " ||");
}

Failure lookupFailure(const Cause& cause, const std::string& shown) {
    return make(MessageKind::Sql, 4, cause, shown, " " + openFailureText(4, cause, shown));
}

Failure fieldListFailure(const std::string& fieldList, const std::string& shownSql) {
    const Cause cause{ErrorNumber::NotAllowedInContext, "",
                      "The field list is not a list of column names: " + fieldList};
    return make(MessageKind::Sql, 3, cause, shownSql, " " + openFailureText(3, cause, shownSql));
}

Failure catalogueFailure(const Cause& cause, const std::string& connectionString) {
    const std::string masked = maskCredentials(connectionString);
    return make(MessageKind::Connection, 5, cause, masked,
                cause.text() +
                    " #5 Error when attempting to open the database schema for the following "
                    "connection :" +
                    masked + " ||");
}

Failure executeFailure(const Cause& cause, const std::string& sql) {
    return make(MessageKind::Sql, 6, cause, sql,
                cause.text() + " #6 Application attempted using the following SQL " + sql + " ||");
}

Failure writeFailure(const Cause& cause, const std::string& table) {
    return make(MessageKind::Sql, 7, cause, table,
                cause.text() + " #7 Error when attempting to add a new record in table " + table + " ||");
}

Failure fieldItemsFailure(const std::string& sql, int32_t position) {
    return own(MessageKind::Sql, 11, sql,
               " #11 Error occurred while attempting to add table fields to the result set SQL used was " +
                   sql + " Main index = " + std::to_string(position) + " ||");
}

Failure recordFailure(int32_t position, int32_t fieldCount) {
    return own(MessageKind::Sql, 12, "field " + std::to_string(position),
               " #12 Error occured while comparing record value  Index=" + std::to_string(position) +
                   "FieldCount=" + std::to_string(fieldCount) + " ||");
}

Failure dataPassFailure(const std::string& sql) {
    return own(
        MessageKind::Sql, 14, sql,
        " #14 Error occurred while attempting to get data differences from specified fields SQL used = " +
            sql + " ||");
}

Failure orderedPassFailure(const std::string& sql, const std::string& orderField) {
    return own(MessageKind::Sql, 16, sql,
               " #16 SQL used " + sql + "Last field name used " + orderField + " ||");
}

Failure tableStructureFailure(const std::string& table) {
    return own(MessageKind::General, 17, table,
               " #17 Error occurred while opeing the structure for " + table + " ||");
}

Failure fieldStructureFailure(const std::string& table, const std::string& fieldList) {
    return own(MessageKind::General, 18, table,
               " #18 Error occurred while opeing the structure for " + table +
                   " using the folloiwng fieldList " + fieldList + " ||");
}

Failure catalogueWalkFailure(const std::string& object) {
    return own(MessageKind::General, 19, object,
               " #19 Error occurred while opeing the structure for all of the tables Error occurred while "
               "attempting to open " +
                   object + " ||");
}

Failure controlFailure(int32_t messageNumber) {
    switch (messageNumber) {
    case 70:
    case 71:
        return own(MessageKind::General, messageNumber, "",
                   " # " + std::to_string(messageNumber) +
                       " Error occured while checking index in component ||");
    case 72:
    case 73:
        return own(MessageKind::General, messageNumber, "",
                   " # " + std::to_string(messageNumber) +
                       " Error occured while getting result count in component ||");
    case 77:
        return own(MessageKind::General, 77, "",
                   " #77 Error occurred while attempting to do a full tabsifts in component ||");
    case 78:
        return own(MessageKind::General, 78, "", " #78 The comparison was cancelled ||");
    default:
        return own(MessageKind::General, messageNumber, "",
                   " #" + std::to_string(messageNumber) +
                       " Error occurred while attempting to tabsifts in component ||");
    }
}

} // namespace sifkit::detail
