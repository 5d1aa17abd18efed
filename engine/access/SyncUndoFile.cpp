// SPDX-License-Identifier: MIT
#include "SyncUndoFile.h"

#include "dataaccess/XmlValues.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>

// An undo file is XML: the sync's id, time, database and direction, then per table its columns
// (key columns marked) and its changes, each with the values the row held before and after, in
// the columns' order; a delete also keeps every column of the rows it removed.

namespace sifkit::detail {

namespace {

constexpr const char* format = "sifkit-sync-undo";

[[noreturn]] void fileError(const std::string& path, const std::string& why) {
    throw Error(ErrorNumber::FileError, "The undo file \"" + path + "\" " + why + ".");
}

const char* kindName(SyncKind kind) {
    return kind == SyncKind::Insert ? "insert" : kind == SyncKind::Update ? "update" : "delete";
}

void writeValues(pugi::xml_node parent, const char* name, const std::vector<Value>& values) {
    pugi::xml_node list = parent.append_child(name);
    for (const Value& value : values)
        platform::writeXmlValue(list.append_child("v"), value, Value::Kind::Null);
}

std::vector<Value> readValues(pugi::xml_node list) {
    std::vector<Value> values;
    for (pugi::xml_node v : list.children("v"))
        values.push_back(platform::readXmlValue(v, Value::Kind::Null));
    return values;
}

std::string writtenFlags(const std::vector<bool>& written) {
    std::string flags;
    for (bool column : written)
        flags += column ? '1' : '0';
    return flags;
}

void writeTable(pugi::xml_node root, const KeptTable& kept) {
    const TableSync& sync = kept.sync;
    pugi::xml_node table = root.append_child("table");
    table.append_attribute("name") = sync.table.c_str();
    for (const ColumnSchema& column : sync.columns) {
        pugi::xml_node c = table.append_child("column");
        c.append_attribute("name") = column.name.c_str();
        c.append_attribute("type") = column.typeCode;
        if (std::find(sync.keyColumns.begin(), sync.keyColumns.end(), column.name) != sync.keyColumns.end())
            c.append_attribute("key") = 1;
    }
    for (const std::string& name : kept.rowColumns)
        table.append_child("row-column").append_attribute("name") = name.c_str();
    for (std::size_t i = 0; i < sync.changes.size(); ++i) {
        const SyncChange& change = sync.changes[i];
        pugi::xml_node node = table.append_child(kindName(change.kind));
        node.append_attribute("record") = change.recordNumber;
        node.append_attribute("copies") = change.copies;
        if (change.kind == SyncKind::Update)
            node.append_attribute("written") = writtenFlags(change.written).c_str();
        if (!change.before.empty())
            writeValues(node, "before", change.before);
        if (!change.after.empty())
            writeValues(node, "after", change.after);
        if (auto rows = kept.deletedRows.find(i); rows != kept.deletedRows.end())
            for (const platform::Row& row : rows->second)
                writeValues(node, "row", row);
    }
}

KeptTable readTable(pugi::xml_node table) {
    KeptTable kept;
    TableSync& sync = kept.sync;
    sync.table = table.attribute("name").as_string();
    for (pugi::xml_node c : table.children("column")) {
        ColumnSchema column;
        column.name = c.attribute("name").as_string();
        column.typeCode = c.attribute("type").as_int();
        column.comparable = true;
        if (c.attribute("key").as_bool())
            sync.keyColumns.push_back(column.name);
        sync.columns.push_back(std::move(column));
    }
    for (pugi::xml_node c : table.children("row-column"))
        kept.rowColumns.push_back(c.attribute("name").as_string());
    for (pugi::xml_node node : table.children()) {
        const std::string name = node.name();
        if (name != "insert" && name != "update" && name != "delete")
            continue;
        SyncChange change;
        change.kind = name == "insert"   ? SyncKind::Insert
                      : name == "update" ? SyncKind::Update
                                         : SyncKind::Delete;
        change.recordNumber = node.attribute("record").as_int();
        change.copies = node.attribute("copies").as_int(1);
        change.before = readValues(node.child("before"));
        change.after = readValues(node.child("after"));
        for (char flag : std::string(node.attribute("written").as_string()))
            change.written.push_back(flag == '1');
        std::vector<platform::Row> rows;
        for (pugi::xml_node row : node.children("row"))
            rows.push_back(readValues(row));
        if (!rows.empty())
            kept.deletedRows[sync.changes.size()] = std::move(rows);
        sync.changes.push_back(std::move(change));
    }
    return kept;
}

/// Whether every change has values for every column: a file cut short or edited by hand is
/// refused before it is used.
bool complete(const KeptTable& kept) {
    const std::size_t width = kept.sync.columns.size();
    for (std::size_t i = 0; i < kept.sync.changes.size(); ++i) {
        const SyncChange& change = kept.sync.changes[i];
        const bool hasBefore = change.kind != SyncKind::Insert;
        const bool hasAfter = change.kind != SyncKind::Delete;
        if ((hasBefore && change.before.size() != width) || (hasAfter && change.after.size() != width) ||
            (change.kind == SyncKind::Update && change.written.size() != width) || change.copies < 1)
            return false;
        if (change.kind == SyncKind::Delete) {
            auto rows = kept.deletedRows.find(i);
            if (rows == kept.deletedRows.end() ||
                rows->second.size() != static_cast<std::size_t>(change.copies))
                return false;
            for (const platform::Row& row : rows->second)
                if (row.size() != kept.rowColumns.size())
                    return false;
        }
    }
    return true;
}

} // namespace

SyncPlan KeptSync::plan() const {
    SyncPlan plan;
    plan.direction = record.direction;
    for (const KeptTable& table : tables)
        plan.tables.push_back(table.sync);
    return plan;
}

void writeUndoFile(const std::string& path, const KeptSync& kept) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("sync-undo");
    root.append_attribute("format") = format;
    root.append_attribute("version") = 1;
    root.append_attribute("id") = kept.record.id.c_str();
    root.append_attribute("written") = kept.record.written.c_str();
    root.append_attribute("direction") =
        kept.record.direction == SyncDirection::ToModified ? "to-modified" : "to-original";
    root.append_child("database").text() = kept.record.database.c_str();
    root.append_child("original").text() = kept.record.names.original.c_str();
    root.append_child("modified").text() = kept.record.names.modified.c_str();
    for (const KeptTable& table : kept.tables)
        writeTable(root, table);
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        fileError(path, "already exists and is not overwritten");
    if (const int failure = platform::writeNewFileDurably(path, out.str()); failure != 0)
        fileError(path, std::string("cannot be written: ") + std::strerror(failure));
}

KeptSync readUndoFile(const std::string& path) {
    pugi::xml_document doc;
    const auto parsed = doc.load_file(path.c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!parsed)
        fileError(path, std::string("cannot be read: ") + parsed.description());
    pugi::xml_node root = doc.child("sync-undo");
    if (!root || std::string(root.attribute("format").as_string()) != format)
        fileError(path, "is not an undo file of an applied sync");
    KeptSync kept;
    kept.record.id = root.attribute("id").as_string();
    kept.record.written = root.attribute("written").as_string();
    kept.record.direction = std::string(root.attribute("direction").as_string()) == "to-original"
                                ? SyncDirection::ToOriginal
                                : SyncDirection::ToModified;
    kept.record.database = root.child("database").text().get();
    kept.record.names = {root.child("original").text().get(), root.child("modified").text().get()};
    for (pugi::xml_node table : root.children("table")) {
        kept.tables.push_back(readTable(table));
        if (!complete(kept.tables.back()))
            fileError(path, "is incomplete (table \"" + kept.tables.back().sync.table + "\")");
        const TableSync& sync = kept.tables.back().sync;
        kept.record.tables.push_back({sync.table, sync.count(SyncKind::Insert), sync.count(SyncKind::Update),
                                      sync.count(SyncKind::Delete)});
    }
    return kept;
}

} // namespace sifkit::detail
