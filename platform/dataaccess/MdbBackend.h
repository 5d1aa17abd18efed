// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"
#include "MdbFile.h"

#include <string>

namespace sifkit::platform {

/// An Access database file (.mdb of Jet 3 or 4, .accdb) read through libmdb, for reading only:
/// the MDB Tools ODBC driver has no primary and foreign keys and no bound parameters, and reads
/// Single columns wrongly. Statements are the SELECTs of one table that mdb::Select describes,
/// evaluated here with exact comparisons; catalogue rows come from the file's own metadata
/// (system tables as "SYSTEM TABLE", saved queries as "VIEW", primary keys from the primary
/// index, foreign keys from MSysRelationships). Every write is refused with one message and
/// changes nothing; the file itself is never written to.
class MdbBackend final : public Backend {
public:
    /// Throws sifkit::Error when the file cannot be read as an Access database.
    explicit MdbBackend(const std::string& path);

    const Dialect& dialect() const override { return dialect_; }
    RowSet query(const std::string& sql, const std::vector<Value>& params, int32_t maxRows = 0) override;
    void scan(const std::string& sql, const std::vector<Value>& params, const ColumnsSink& onColumns,
              const RowSink& onRow) override;
    void scanRows(const std::string& sql, const std::vector<Value>& params,
                  const std::vector<int32_t>& wanted, const ColumnsSink& onColumns,
                  const RowSink& onRow) override;
    /// The rows passed over are read only as far as the statement's condition needs.
    bool skipsUnwantedRows() const override { return true; }
    /// Each reading has a page buffer of its own; libmdb keeps no other state between calls.
    bool runsOnAnyThread() const override { return true; }
    bool rowExists(const std::string& sql, const std::vector<Value>& params) override;
    /// Refuses every statement: the file is opened for reading only.
    int64_t execute(const std::string& sql, const std::vector<Value>& params) override;
    RowSet tables() override;
    RowSet primaryKeys(const std::string& table) override;
    std::vector<std::vector<std::string>> uniqueKeys(const std::string& table) override;
    RowSet foreignKeysReferencing(const std::string& primaryKeyTable) override;
    RowSet foreignKeysDeclaredBy(const std::string& foreignKeyTable) override;
    /// Nothing is written, so there is nothing to keep apart.
    void beginTransaction() override {}
    bool inTransaction() const override { return false; }
    void commit() override {}
    void rollback() noexcept override {}

private:
    struct Relationship;
    /// Runs a statement: the columns, then the rows passing its condition in its order, at most
    /// `limit` of them (0: all), only those whose numbers are in `wanted` when it is given.
    void run(const std::string& sql, const std::vector<Value>& params, const std::vector<int32_t>* wanted,
             int32_t limit, const ColumnsSink& onColumns, const RowSink& onRow);
    /// The enforced relationships of the file, column by column, in key order.
    std::vector<Relationship> relationships() const;
    RowSet foreignKeyRows(bool byReferencedTable, const std::string& table);
    /// The name of a table's primary index; "" when it has none.
    std::string primaryIndexName(const std::string& table) const;

    mdb::File file_;
    Dialect dialect_;
};

} // namespace sifkit::platform
