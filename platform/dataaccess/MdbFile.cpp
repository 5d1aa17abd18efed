// SPDX-License-Identifier: MIT
#include "MdbFile.h"

#include "ExactNumbers.h"

#include <sifkit/SifkitError.h>

#include <mdbtools.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

namespace sifkit::platform::mdb {

namespace {

/// Row offsets on a page carry two flags in their top bits.
constexpr int offsetMask = 0x1fff;
constexpr int deletedRow = 0x4000;

/// A long value's header: its length and flags, then where its first page row is.
constexpr uint32_t inlineValue = 0x80000000;
constexpr uint32_t onOnePage = 0x40000000;

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

[[noreturn]] void unreadable(const std::string& what) {
    throw Error(ErrorNumber::FileError, what);
}

} // namespace

struct File::Native {
    MdbHandle* handle = nullptr;
    ~Native() {
        if (handle)
            mdb_close(handle);
    }
};

struct Table::Native {
    MdbHandle* handle = nullptr; ///< a clone of the file's: a page buffer of the table's own
    MdbTableDef* table = nullptr;
    std::vector<MdbField> cracked; ///< the current row's fields as libmdb finds them
    bool indexesRead = false;
    ~Native() {
        if (table)
            mdb_free_tabledef(table);
        if (handle)
            mdb_close(handle);
    }
};

File::File(const std::string& path) : path_(path), native_(std::make_unique<Native>()) {
    // libmdb reads its debugging options from the environment once, on first use: here, on
    // the thread that opens the file, before any reading that may run on another one.
    static std::once_flag options;
    std::call_once(options, [] { mdb_get_option(MDB_DEBUG_ROW); });
    native_->handle = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!native_->handle)
        throw Error(ErrorNumber::ProviderNotFound,
                    "The file \"" + path + "\" cannot be read as an Access database");
    MdbHandle* mdb = native_->handle;
    jet4_ = mdb->f->jet_version != MDB_VER_JET3;
    codePage_ = std::make_unique<CodePageText>(mdb->f->code_page);
    if (!mdb_read_catalog(mdb, MDB_ANY))
        throw Error(ErrorNumber::ProviderNotFound,
                    "The catalogue of the Access database \"" + path + "\" cannot be read");
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        const std::string name = entry->object_name;
        if (entry->object_type == MDB_TABLE)
            objects_.push_back(
                {name, mdb_is_system_table(entry) ? Object::Kind::SystemTable : Object::Kind::Table});
        else if (entry->object_type == MDB_QUERY && name.rfind('~', 0) != 0)
            objects_.push_back({name, Object::Kind::Query});
        else
            continue;
        entries_.push_back(static_cast<int>(i));
    }
}

File::~File() = default;

std::vector<std::string> File::requiredColumns(const std::string& table) const {
    // The properties are those the catalogue read at opening; a table's clone has none.
    std::vector<std::string> required;
    const Object* object = find(table);
    if (!object || object->kind == Object::Kind::Query)
        return required;
    const int entry = entries_[static_cast<std::size_t>(object - objects_.data())];
    const auto* catalogued =
        static_cast<MdbCatalogEntry*>(g_ptr_array_index(native_->handle->catalog, entry));
    if (!catalogued->props)
        return required;
    for (unsigned i = 0; i < catalogued->props->len; ++i) {
        const auto* properties = static_cast<MdbProperties*>(g_ptr_array_index(catalogued->props, i));
        if (!properties->name || !properties->hash)
            continue;
        const auto* value = static_cast<const char*>(g_hash_table_lookup(properties->hash, "Required"));
        if (value && g_ascii_strcasecmp(value, "yes") == 0)
            required.emplace_back(properties->name);
    }
    return required;
}

const Object* File::find(const std::string& name) const {
    for (const Object& object : objects_)
        if (object.name == name)
            return &object;
    for (const Object& object : objects_)
        if (sameIgnoringCase(object.name, name))
            return &object;
    return nullptr;
}

std::unique_ptr<Table> File::openTable(const std::string& name) const {
    const Object* object = find(name);
    if (!object || object->kind == Object::Kind::Query)
        return nullptr;
    const int entry = entries_[static_cast<std::size_t>(object - objects_.data())];
    auto native = std::make_unique<Table::Native>();
    native->handle = mdb_clone_handle(native_->handle);
    if (!native->handle)
        unreadable("The Access database \"" + path_ + "\" cannot be read again");
    auto* clone = static_cast<MdbCatalogEntry*>(g_ptr_array_index(native->handle->catalog, entry));
    native->table = mdb_read_table(clone);
    if (!native->table || !mdb_read_columns(native->table))
        unreadable("The definition of table \"" + object->name + "\" cannot be read from \"" + path_ + "\"");
    return std::unique_ptr<Table>(new Table(std::move(native), jet4_, *codePage_));
}

Table::Table(std::unique_ptr<Native> native, bool jet4, const CodePageText& codePage)
    : native_(std::move(native)), jet4_(jet4), codePage_(codePage) {
    MdbTableDef* table = native_->table;
    name_ = table->name;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        columns_.push_back(describeColumn(column->name, column->col_type, column->col_size,
                                          column->is_fixed != 0, column->col_prec, jet4_));
        columns_.back().baseTable = name_;
        columns_.back().baseColumn = column->name;
        types_.push_back(column->col_type);
        scales_.push_back(column->col_scale);
    }
    fields_.resize(columns_.size());
    values_.resize(columns_.size());
    native_->cracked.resize(std::max<std::size_t>(columns_.size(), 1));
    mdb_rewind_table(table);
}

Table::~Table() = default;

std::vector<Index> Table::indexes() const {
    MdbTableDef* table = native_->table;
    std::vector<Index> found;
    // libmdb fills the table's list and returns nothing useful.
    if (!native_->indexesRead) {
        native_->indexesRead = true;
        mdb_read_indices(table);
    }
    if (!table->indices)
        return found;
    for (unsigned i = 0; i < table->indices->len; ++i) {
        auto* index = static_cast<MdbIndex*>(g_ptr_array_index(table->indices, i));
        // Type 2 marks the other end of a relationship: no index of this table's columns.
        if (index->index_type == 2)
            continue;
        Index entry;
        entry.name = index->name;
        entry.primary = index->index_type == 1;
        entry.unique = (index->flags & MDB_IDX_UNIQUE) != 0;
        entry.required = (index->flags & MDB_IDX_REQUIRED) != 0;
        for (unsigned k = 0; k < index->num_keys && k < MDB_MAX_IDX_COLS; ++k) {
            const int column = index->key_col_num[k] - 1;
            if (column >= 0 && static_cast<std::size_t>(column) < columns_.size())
                entry.columns.push_back(static_cast<std::size_t>(column));
        }
        found.push_back(std::move(entry));
    }
    return found;
}

bool Table::next() {
    MdbTableDef* table = native_->table;
    MdbHandle* mdb = native_->handle;
    std::vector<MdbField>& cracked = native_->cracked;
    while (true) {
        if (!onPage_ || nextRow_ >= rowsOnPage_) {
            if (!mdb_read_next_dpg(table))
                return false;
            onPage_ = true;
            rowsOnPage_ = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
            nextRow_ = 0;
        }
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, nextRow_++, &start, &size) != 0 || size == 0 || (start & deletedRow))
            continue;
        const int count = mdb_crack_row(table, start & offsetMask, size, cracked.data());
        if (count < 0)
            continue;
        for (Field& field : fields_)
            field = Field();
        for (int f = 0; f < count; ++f) {
            const MdbField& field = cracked[static_cast<std::size_t>(f)];
            if (field.colnum < 0 || static_cast<std::size_t>(field.colnum) >= fields_.size())
                continue;
            fields_[static_cast<std::size_t>(field.colnum)] = {field.is_null != 0, field.start, field.siz};
        }
        return true;
    }
}

std::string Table::text(std::string_view raw) const {
    return jet4_ ? jet4Text(raw) : codePage_(raw);
}

std::string Table::longValue(int start, int size) const {
    MdbHandle* mdb = native_->handle;
    if (size < MDB_MEMO_OVERHEAD)
        return {};
    const auto header = static_cast<uint32_t>(mdb_get_int32(mdb->pg_buf, start));
    if (header & inlineValue)
        return std::string(reinterpret_cast<const char*>(mdb->pg_buf) + start + MDB_MEMO_OVERHEAD,
                           static_cast<std::size_t>(size - MDB_MEMO_OVERHEAD));
    const std::size_t length = header & 0x3fffffff;
    int pageRow = static_cast<int>(mdb_get_int32(mdb->pg_buf, start + 4));
    std::string bytes;
    void* page = nullptr;
    int rowStart = 0;
    size_t rowSize = 0;
    if (header & onOnePage) {
        if (mdb_find_pg_row(mdb, pageRow, &page, &rowStart, &rowSize) != 0)
            unreadable("A long value of table \"" + name_ + "\" cannot be read");
        return std::string(static_cast<const char*>(page) + rowStart, rowSize);
    }
    if ((header & 0xff000000) != 0)
        unreadable("A long value of table \"" + name_ + "\" is of a form that cannot be read");
    // A chain of page rows, each starting with where the next one is.
    while (pageRow != 0 && bytes.size() < length) {
        if (mdb_find_pg_row(mdb, pageRow, &page, &rowStart, &rowSize) != 0 || rowSize < 4)
            unreadable("A long value of table \"" + name_ + "\" cannot be read");
        const auto* row = static_cast<const char*>(page) + rowStart;
        bytes.append(row + 4, rowSize - 4);
        pageRow = static_cast<int>(mdb_get_int32(const_cast<char*>(row), 0));
    }
    if (bytes.size() > length)
        bytes.resize(length);
    return bytes;
}

CellView Table::cell(std::size_t column) {
    const Field& field = fields_[column];
    CellView cell;
    const int type = types_[column];
    if (type == YesNo) { // the null flag holds the value: Yes/No is never Null
        cell.kind = Value::Kind::Integer;
        cell.integer = field.isNull ? 0 : 1;
        return cell;
    }
    if (field.isNull)
        return cell;
    const unsigned char* bytes = native_->handle->pg_buf + field.start;
    const auto size = static_cast<std::size_t>(field.size);
    std::string& value = values_[column];
    auto needs = [&](std::size_t wanted) {
        if (size < wanted)
            unreadable("A value of column \"" + columns_[column].name + "\" of table \"" + name_ +
                       "\" is cut short");
    };
    switch (type) {
    case Byte:
        needs(1);
        cell.kind = Value::Kind::Integer;
        cell.integer = bytes[0];
        return cell;
    case Integer:
    case LongInteger:
    case Complex:
        needs(type == Integer ? 2 : 4);
        cell.kind = Value::Kind::Integer;
        cell.integer = littleEndian(bytes, type == Integer ? 2 : 4);
        return cell;
    case Single: {
        needs(4);
        const auto bits = static_cast<uint32_t>(littleEndian(bytes, 4));
        float single = 0;
        std::memcpy(&single, &bits, sizeof single);
        cell.kind = Value::Kind::Real;
        cell.real = singleAsDouble(single);
        return cell;
    }
    case Double:
    case DateTime: {
        needs(8);
        const auto bits = static_cast<uint64_t>(littleEndian(bytes, 8));
        double real = 0;
        std::memcpy(&real, &bits, sizeof real);
        if (type == Double) {
            cell.kind = Value::Kind::Real;
            cell.real = real;
            return cell;
        }
        value = dateTimeText(real);
        break;
    }
    case Currency:
        needs(8);
        value = currencyText(bytes);
        break;
    case Decimal:
        needs(17);
        value = decimalText(bytes, scales_[column]);
        break;
    case ReplicationId:
        needs(16);
        value = guidText(bytes);
        break;
    case Text:
        value = text(std::string_view(reinterpret_cast<const char*>(bytes), size));
        break;
    case Memo:
        value = text(longValue(field.start, field.size));
        break;
    case OleObject:
        value = longValue(field.start, field.size);
        cell.kind = Value::Kind::Binary;
        cell.bytes = value;
        return cell;
    default:
        value.assign(reinterpret_cast<const char*>(bytes), size);
        cell.kind = Value::Kind::Binary;
        cell.bytes = value;
        return cell;
    }
    cell.kind = columns_[column].storage == Value::Kind::Binary ? Value::Kind::Binary : Value::Kind::Text;
    cell.bytes = value;
    return cell;
}

} // namespace sifkit::platform::mdb
