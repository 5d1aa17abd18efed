// SPDX-License-Identifier: MIT
#include "XmlValues.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace sifkit::platform {

namespace {

bool needsHex(const std::string& text) {
    for (unsigned char c : text)
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7f)
            return true;
    return false;
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

} // namespace

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

void writeXmlValue(pugi::xml_node v, const Value& value, Value::Kind columnKind) {
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

Value readXmlValue(pugi::xml_node v, Value::Kind columnKind) {
    if (v.attribute("null").as_bool())
        return Value();
    std::string text = v.text().get();
    if (std::string(v.attribute("enc").as_string()) == "hex")
        text = fromHex(text);
    return parseValue(text, v.attribute("k") ? kindFromName(v.attribute("k").as_string()) : columnKind);
}

int writeNewFileDurably(const std::string& path, const std::string& bytes) {
    const std::filesystem::path target(path);
    const std::string pattern =
        (target.has_parent_path() ? target.parent_path() / target.filename() : target).string() +
        ".tmp-XXXXXX";
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return errno;
    int failure = writeAll(fd, bytes) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    // link() refuses an existing name, so a file that appeared meanwhile is not replaced either.
    if (failure == 0 && ::link(temporary.data(), path.c_str()) != 0)
        failure = errno;
    ::unlink(temporary.data());
    if (failure == 0) {
        // The new name is durable only once its folder is.
        const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return failure;
}

} // namespace sifkit::platform
