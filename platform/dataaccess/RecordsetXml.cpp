// SPDX-License-Identifier: MIT
#include "State.h"
#include "XmlValues.h"

#include <sifkit/DataAccess.h>

#include <pugixml.hpp>

#include <cstring>
#include <filesystem>
#include <sstream>

// Persisted record sets: a self-describing XML file with the field names, type codes, sizes and
// every row, each value as XmlValues.h writes it (SQLite lets any column hold any kind). An optional
// <locator> holds column and value pairs (<v column="...">) that find the record the rows were saved for;
// <note name="..."> elements hold the writer's own texts (in hexadecimal, so that any bytes survive).

namespace sifkit {

using platform::RecordsetState;

namespace {

[[noreturn]] void fileError(const std::string& path, const std::string& why) {
    throw Error(ErrorNumber::FileError, "The record set file \"" + path + "\" " + why);
}

} // namespace

void Recordset::save(const std::string& path) const {
    save(path, {});
}

void Recordset::save(const std::string& path, const FileNotes& notes) const {
    const auto& s = *state_;
    s.requireOpen();
    pugi::xml_document doc;
    auto root = doc.append_child("recordset");
    root.append_attribute("format") = "sifkit-recordset";
    root.append_attribute("version") = 1;
    root.append_attribute("source") = s.source.c_str();
    root.append_attribute("table") = s.baseTable.c_str();
    auto fields = root.append_child("fields");
    for (const auto& column : s.data.columns) {
        auto f = fields.append_child("field");
        f.append_attribute("name") = column.name.c_str();
        f.append_attribute("type") = column.typeCode;
        f.append_attribute("definedSize") = column.definedSize;
        f.append_attribute("storage") = platform::kindName(column.storage);
        f.append_attribute("baseTable") = column.baseTable.c_str();
        f.append_attribute("baseColumn") = column.baseColumn.c_str();
    }
    auto rows = root.append_child("rows");
    for (const auto& row : s.data.rows) {
        auto r = rows.append_child("row");
        for (std::size_t i = 0; i < row.size(); ++i)
            platform::writeXmlValue(r.append_child("v"), row[i], s.data.columns[i].storage);
    }
    for (const auto& [name, text] : notes.texts) {
        auto note = root.append_child("note");
        note.append_attribute("name") = name.c_str();
        note.append_attribute("enc") = "hex";
        note.append_child(pugi::node_pcdata).set_value(platform::toHex(text).c_str());
    }
    if (!notes.locator.empty()) {
        auto conditions = root.append_child("locator");
        for (const auto& [column, value] : notes.locator) {
            auto v = conditions.append_child("v");
            v.append_attribute("column") = column.c_str();
            platform::writeXmlValue(v, value, Value::Kind::Null);
        }
    }

    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        fileError(path, "already exists and is not overwritten");
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    // What the system says of the step that failed ("No space left on device", ...).
    if (const int failure = platform::writeNewFileDurably(path, out.str()); failure != 0)
        fileError(path, std::string("cannot be written: ") + std::strerror(failure));
}

void Recordset::openFile(const std::string& path) {
    pugi::xml_document doc;
    auto parsed =
        doc.load_file(path.c_str(), pugi::parse_cdata | pugi::parse_escapes | pugi::parse_ws_pcdata);
    if (!parsed)
        fileError(path, std::string("cannot be read: ") + parsed.description());
    auto root = doc.child("recordset");
    if (!root || std::string(root.attribute("format").as_string()) != "sifkit-recordset")
        fileError(path, "is not a saved record set");
    platform::RowSet data;
    for (auto f : root.child("fields").children("field")) {
        platform::ColumnInfo column;
        column.name = f.attribute("name").as_string();
        column.typeCode = f.attribute("type").as_int();
        column.definedSize = f.attribute("definedSize").as_int();
        column.storage = platform::kindFromName(f.attribute("storage").as_string());
        column.baseTable = f.attribute("baseTable").as_string();
        column.baseColumn = f.attribute("baseColumn").as_string();
        data.columns.push_back(std::move(column));
    }
    for (auto r : root.child("rows").children("row")) {
        platform::Row row;
        for (auto v : r.children("v")) {
            if (row.size() >= data.columns.size())
                fileError(path, "has a row with more values than fields");
            row.push_back(platform::readXmlValue(v, data.columns[row.size()].storage));
        }
        if (row.size() != data.columns.size())
            fileError(path, "has a row with fewer values than fields");
        data.rows.push_back(std::move(row));
    }
    FileNotes notes;
    for (auto v : root.child("locator").children("v")) {
        if (!v.attribute("column"))
            fileError(path, "has a locator value without its column");
        notes.locator.emplace_back(v.attribute("column").as_string(),
                                   platform::readXmlValue(v, Value::Kind::Null));
    }
    for (auto note : root.children("note"))
        notes.texts.emplace_back(note.attribute("name").as_string(), platform::fromHex(note.text().get()));
    close();
    RecordsetState fresh;
    fresh.data = std::move(data);
    fresh.notes = std::move(notes);
    fresh.source = "";
    fresh.baseTable =
        root.attribute("table").as_string(); // informative: without a connection it stays read-only
    fresh.open = true;
    *state_ = std::move(fresh);
}

} // namespace sifkit
