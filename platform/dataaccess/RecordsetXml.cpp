// SPDX-License-Identifier: MIT
#include "State.h"

#include <sifkit/DataAccess.h>

#include <pugixml.hpp>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

// Persisted record sets: a self-describing XML file with the field names, type codes, sizes and
// every row. <v/> is an empty text, <v null="1"/> a Null; a value whose kind differs from its
// column's (SQLite lets any column hold any value) says so in k=; texts that XML cannot carry
// unchanged (control characters, carriage returns) are written as hexadecimal with enc="hex".
// An optional <locator> holds column and value pairs (<v column="...">) that find the record
// the rows were saved for; <note name="..."> elements hold the writer's own texts (in
// hexadecimal, so that any bytes survive).

namespace sifkit {

using platform::RecordsetState;

namespace {

const char* kindName(Value::Kind kind) {
    switch (kind) {
    case Value::Kind::Null:
        return "null";
    case Value::Kind::Integer:
        return "integer";
    case Value::Kind::Real:
        return "real";
    case Value::Kind::Text:
        return "text";
    case Value::Kind::Binary:
        return "binary";
    }
    return "text";
}

Value::Kind kindFromName(const std::string& name) {
    for (auto kind : {Value::Kind::Integer, Value::Kind::Real, Value::Kind::Text, Value::Kind::Binary})
        if (name == kindName(kind))
            return kind;
    return Value::Kind::Text;
}

bool needsHex(const std::string& text) {
    for (unsigned char c : text)
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7f)
            return true;
    return false;
}

std::string toHex(const std::string& bytes) {
    return Value::binary(Value::Bytes(bytes.begin(), bytes.end())).toString();
}

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        unsigned value = 0;
        std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
        bytes += static_cast<char>(value);
    }
    return bytes;
}

[[noreturn]] void fileError(const std::string& path, const std::string& why) {
    throw Error(ErrorNumber::FileError, "The record set file \"" + path + "\" " + why);
}

Value parseValue(const std::string& text, Value::Kind kind) {
    switch (kind) {
    case Value::Kind::Integer: {
        int64_t n = 0;
        std::from_chars(text.data(), text.data() + text.size(), n);
        return Value(n);
    }
    case Value::Kind::Real: {
        double d = 0;
        std::from_chars(text.data(), text.data() + text.size(), d);
        return Value(d);
    }
    case Value::Kind::Binary: {
        std::string bytes = fromHex(text);
        return Value::binary(Value::Bytes(bytes.begin(), bytes.end()));
    }
    case Value::Kind::Null:
        return Value();
    case Value::Kind::Text:
        break;
    }
    return Value(text);
}

/// Writes all the bytes, however the system splits the write; false with errno set when it fails
/// (a write that stops short without an error is a full disk).
bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

/// A value as a <v> element: its text (hexadecimal where XML cannot carry it), its kind when it
/// is not the column's, or null="1".
void writeValue(pugi::xml_node v, const Value& value, Value::Kind columnKind) {
    if (value.isNull()) {
        v.append_attribute("null") = 1;
        return;
    }
    if (value.kind() != columnKind)
        v.append_attribute("k") = kindName(value.kind());
    std::string text = value.toString();
    if (value.kind() == Value::Kind::Text && needsHex(text)) {
        v.append_attribute("enc") = "hex";
        text = toHex(text);
    }
    if (!text.empty())
        v.append_child(pugi::node_pcdata).set_value(text.c_str());
}

Value readValue(pugi::xml_node v, Value::Kind columnKind) {
    if (v.attribute("null").as_bool())
        return Value();
    std::string text = v.text().get();
    if (std::string(v.attribute("enc").as_string()) == "hex")
        text = fromHex(text);
    return parseValue(text, v.attribute("k") ? kindFromName(v.attribute("k").as_string()) : columnKind);
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
        f.append_attribute("storage") = kindName(column.storage);
        f.append_attribute("baseTable") = column.baseTable.c_str();
        f.append_attribute("baseColumn") = column.baseColumn.c_str();
    }
    auto rows = root.append_child("rows");
    for (const auto& row : s.data.rows) {
        auto r = rows.append_child("row");
        for (std::size_t i = 0; i < row.size(); ++i)
            writeValue(r.append_child("v"), row[i], s.data.columns[i].storage);
    }
    for (const auto& [name, text] : notes.texts) {
        auto note = root.append_child("note");
        note.append_attribute("name") = name.c_str();
        note.append_attribute("enc") = "hex";
        note.append_child(pugi::node_pcdata).set_value(toHex(text).c_str());
    }
    if (!notes.locator.empty()) {
        auto conditions = root.append_child("locator");
        for (const auto& [column, value] : notes.locator) {
            auto v = conditions.append_child("v");
            v.append_attribute("column") = column.c_str();
            writeValue(v, value, Value::Kind::Null);
        }
    }

    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        fileError(path, "already exists and is not overwritten");
    std::filesystem::path target(path);
    std::string pattern =
        (target.has_parent_path() ? target.parent_path() / target.filename() : target).string() +
        ".tmp-XXXXXX";
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        fileError(path, std::string("cannot be written: ") + std::strerror(errno));
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    const std::string bytes = out.str();
    // What the system says of the first step that failed ("No space left on device", ...).
    int failure = writeAll(fd, bytes) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    // link() refuses an existing name, so a file that appeared meanwhile is not replaced either.
    if (failure == 0 && ::link(temporary.data(), path.c_str()) != 0)
        failure = errno;
    ::unlink(temporary.data());
    if (failure != 0)
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
        column.storage = kindFromName(f.attribute("storage").as_string());
        column.baseTable = f.attribute("baseTable").as_string();
        column.baseColumn = f.attribute("baseColumn").as_string();
        data.columns.push_back(std::move(column));
    }
    for (auto r : root.child("rows").children("row")) {
        platform::Row row;
        for (auto v : r.children("v")) {
            if (row.size() >= data.columns.size())
                fileError(path, "has a row with more values than fields");
            row.push_back(readValue(v, data.columns[row.size()].storage));
        }
        if (row.size() != data.columns.size())
            fileError(path, "has a row with fewer values than fields");
        data.rows.push_back(std::move(row));
    }
    FileNotes notes;
    for (auto v : root.child("locator").children("v")) {
        if (!v.attribute("column"))
            fileError(path, "has a locator value without its column");
        notes.locator.emplace_back(v.attribute("column").as_string(), readValue(v, Value::Kind::Null));
    }
    for (auto note : root.children("note"))
        notes.texts.emplace_back(note.attribute("name").as_string(), fromHex(note.text().get()));
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
