// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"
#include "MdbTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace sifkit::platform::mdb {

class Table;

/// An object of an Access file's catalogue.
struct Object {
    enum class Kind { Table, SystemTable, Query };
    std::string name;
    Kind kind;
};

/// An index of a table, as the file declares it.
struct Index {
    std::string name;
    bool primary = false;
    bool unique = false;
    bool required = false; ///< the index takes no Null
    std::vector<std::size_t> columns; ///< positions among the table's columns, in key order
};

/// An Access file (Jet 3, Jet 4, .accdb) opened through libmdb for reading only: the file is
/// opened read-only and libmdb writes no lock file, so nothing of it changes, not even its
/// lock bytes.
class File {
public:
    /// Throws sifkit::Error when the file cannot be opened or is no Access file.
    explicit File(const std::string& path);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const std::string& path() const { return path_; }
    /// Tables (the system's too) and saved queries, in the catalogue's order. Queries whose
    /// names start with "~" (those Access keeps for forms and reports) are left out.
    const std::vector<Object>& objects() const { return objects_; }
    /// The table of that name (exactly, else without regard to letter case, as Access finds
    /// names), opened for reading on a page buffer of its own, so several can be read at once;
    /// nullptr when the file has no such table.
    std::unique_ptr<Table> openTable(const std::string& name) const;
    /// The catalogue entry named so (exactly, else without regard to case); nullptr for none.
    const Object* find(const std::string& name) const;
    /// The names of a table's columns whose values are required (none can be Null).
    std::vector<std::string> requiredColumns(const std::string& table) const;

private:
    struct Native; ///< libmdb's handle, kept out of the layer's other files
    std::string path_;
    std::unique_ptr<Native> native_;
    std::vector<Object> objects_;
    std::vector<int> entries_; ///< each object's position in libmdb's catalogue
    bool jet4_ = false;
    std::unique_ptr<CodePageText> codePage_;
};

/// One table of a file, read row by row in the file's order. Values are decoded only for the
/// columns asked for, each exactly (see MdbTypes.h).
class Table {
public:
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const std::string& name() const { return name_; }
    const std::vector<ColumnInfo>& columns() const { return columns_; }
    /// The table's indexes, from the file's own metadata. Read before the rows: reading them
    /// moves the table's page buffer.
    std::vector<Index> indexes() const;

    /// Moves to the next row; false after the last.
    bool next();
    /// The current row's value of a column, valid until the next call of cell() for the same
    /// column or of next(). Throws when a long value's pages cannot be read.
    CellView cell(std::size_t column);

private:
    friend class File;
    struct Native; ///< libmdb's handle and table
    Table(std::unique_ptr<Native> native, bool jet4, const CodePageText& codePage);
    /// The bytes of a Memo or OLE Object value whose 12-byte header starts at `start` of the
    /// current page: inline, on one page or on a chain of pages.
    std::string longValue(int start, int size) const;
    std::string text(std::string_view raw) const;

    std::unique_ptr<Native> native_;
    bool jet4_;
    const CodePageText& codePage_;
    std::string name_;
    std::vector<ColumnInfo> columns_;
    std::vector<int> types_;  ///< each column's Access type
    std::vector<int> scales_; ///< each column's scale (Decimal)
    struct Field {
        bool isNull = true;
        int start = 0;
        int size = 0;
    };
    std::vector<Field> fields_;       ///< the current row's, by column
    std::vector<std::string> values_; ///< decoded texts and bytes, by column
    int rowsOnPage_ = 0;
    int nextRow_ = 0;
    bool onPage_ = false;
};

} // namespace sifkit::platform::mdb
