// SPDX-License-Identifier: MIT
#include "ConnectionString.h"
#include "OdbcDataSources.h"
#include "Text.h"

#include <sifkit/Credentials.h>
#include <sifkit/SifkitError.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace sifkit::platform {

namespace {

struct Part {
    std::string key; ///< trimmed, as written
    std::string value;
};

bool equalsIgnoreCase(const std::string& a, const char* b) {
    std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

/// Where the value of "Data Source" that starts at `from` ends: a path or a name may hold ";"
/// itself, so it runs to the credentials appended after it (" ;User ID=", " ;Password=", the
/// one blank before ";" being the separator) or to the end of the text.
std::size_t dataSourceEnd(const std::string& text, std::size_t from) {
    const std::string lower = lowered(text);
    std::size_t end = std::min(lower.find(";user id=", from), lower.find(";password=", from));
    if (end == std::string::npos)
        return text.size();
    return end > from && text[end - 1] == ' ' ? end - 1 : end;
}

std::vector<Part> split(const std::string& text) {
    std::vector<Part> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        std::string item = text.substr(start, end - start);
        auto eq = item.find('=');
        if (eq != std::string::npos && equalsIgnoreCase(trimmed(item.substr(0, eq), " \t"), "Data Source")) {
            const std::size_t valueEnd = dataSourceEnd(text, start + eq + 1);
            parts.push_back({"Data Source", text.substr(start + eq + 1, valueEnd - (start + eq + 1))});
            end = text.find(';', valueEnd);
            start = end == std::string::npos ? text.size() + 1 : end + 1;
            continue;
        }
        // The password is appended last and may itself hold ";": it runs to the end.
        if (eq != std::string::npos && equalsIgnoreCase(trimmed(item.substr(0, eq), " \t"), "Password")) {
            parts.push_back({"Password", text.substr(start + eq + 1)});
            break;
        }
        if (eq != std::string::npos)
            parts.push_back({trimmed(item.substr(0, eq), " \t"), item.substr(eq + 1)});
        else if (!trimmed(item, " \t").empty())
            parts.push_back({trimmed(item, " \t"), ""});
        start = end + 1;
    }
    return parts;
}

const Part* find(const std::vector<Part>& parts, const char* key) {
    for (const auto& p : parts)
        if (equalsIgnoreCase(p.key, key))
            return &p;
    return nullptr;
}

/// An ODBC attribute value, braced when it holds characters that would end it.
std::string odbcValue(const std::string& value) {
    if (value.find_first_of(";{}") == std::string::npos && value == trimmed(value, " \t"))
        return value;
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + "}";
}

std::string credentials(const std::vector<Part>& parts) {
    std::string text;
    if (const Part* user = find(parts, "User ID"))
        text += ";UID=" + odbcValue(trimmed(user->value, " \t"));
    if (const Part* password = find(parts, "Password"))
        text += ";PWD=" + odbcValue(password->value);
    return text;
}

/// A file's path as an SQLite URI ("file:" and the absolute path, percent-encoded). The SQLite
/// driver takes a braced attribute value literally, so a path holding ";", braces or blanks at
/// its ends could not be passed as it is; in a URI no character of the path needs quoting.
std::string sqliteUri(const std::string& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    const std::string text = ec ? path : absolute.string();
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

bool hasExtension(const std::string& path, const char* ext) {
    std::string lower = std::filesystem::path(path).extension().string();
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return lower == ext;
}

bool isAccessFile(const std::string& path) {
    return hasExtension(path, ".mdb") || hasExtension(path, ".accdb");
}

bool isFileProvider(const std::string& providerName) {
    return providerName.rfind("Microsoft.Jet.OLEDB", 0) == 0 ||
           providerName.rfind("Microsoft.ACE.OLEDB", 0) == 0;
}

} // namespace

bool isSqliteFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[16] = {};
    if (!in.read(header, sizeof header))
        return false;
    return std::memcmp(header, "SQLite format 3\0", 16) == 0;
}

OdbcTarget translateConnectionString(const std::string& connectionString) {
    auto parts = split(connectionString);
    const Part* provider = find(parts, "Provider");
    if (!provider)
        return {connectionString};
    std::string providerName = trimmed(provider->value, " \t");
    const Part* source = find(parts, "Data Source");
    // A file path is taken exactly as written: " m.db" and "m.db" are different files.
    std::string target = source ? source->value : std::string();

    if (equalsIgnoreCase(providerName, "MSDASQL"))
        return {"DSN=" + odbcValue(trimmed(target, " \t")) + credentials(parts)};

    if (isFileProvider(providerName)) {
        std::error_code ec;
        if (target.empty() || !std::filesystem::is_regular_file(target, ec))
            throw Error(ErrorNumber::ProviderNotFound, "The database file \"" + target + "\" does not exist");
        if (!std::ifstream(target, std::ios::binary))
            throw Error(ErrorNumber::ProviderNotFound,
                        "The database file \"" + target + "\" cannot be read: " + std::strerror(errno));
        if (isSqliteFile(target))
            return {"Driver=SQLite3;Database=" + sqliteUri(target) + ";Timeout=5000" + credentials(parts)};
        if (isAccessFile(target))
            return {"Driver=MDBTools;DBQ=" + odbcValue(target) + credentials(parts)};
        throw Error(ErrorNumber::ProviderNotFound,
                    "The file \"" + target + "\" is neither an SQLite 3 database nor an Access database");
    }
    throw Error(ErrorNumber::ProviderNotFound, "Provider cannot be found: " + providerName);
}

ConnectionTarget resolveConnectionString(const std::string& connectionString) {
    ConnectionTarget opened;
    opened.odbcConnectionString = translateConnectionString(connectionString).odbcConnectionString;
    auto parts = split(connectionString);
    const Part* provider = find(parts, "Provider");
    const Part* source = find(parts, "Data Source");
    if (!provider || !source)
        return opened;
    const std::string providerName = trimmed(provider->value, " \t");
    std::string path;
    if (isFileProvider(providerName)) {
        // Exactly as written, as translateConnectionString took it: " m.db" is not "m.db".
        path = source->value;
    } else if (equalsIgnoreCase(providerName, "MSDASQL")) {
        // A data source of a file driver is its file: the driver's own reading is inexact and
        // slow (SQLite's rounds reals to 15 digits; MDB Tools' lacks keys and parameters).
        const std::string name = trimmed(source->value, " \t");
        const std::string library = std::filesystem::path(dataSourceDriverLibrary(name)).filename().string();
        const bool sqliteDriver = library.find("sqlite3odbc") != std::string::npos;
        if (!sqliteDriver && library.find("mdbodbc") == std::string::npos)
            return opened;
        path = dataSourceAttribute(name, "Database");
        if (path.empty())
            path = dataSourceAttribute(name, "DBQ");
        std::error_code ec;
        if (path.empty() || !std::filesystem::is_regular_file(path, ec) ||
            (sqliteDriver ? !isSqliteFile(path) : !isAccessFile(path)))
            return opened;
        long timeout = 0;
        const std::string timeoutText = dataSourceAttribute(name, "Timeout");
        const auto [end, failure] =
            std::from_chars(timeoutText.data(), timeoutText.data() + timeoutText.size(), timeout);
        if (failure == std::errc() && end == timeoutText.data() + timeoutText.size() && timeout >= 0 &&
            timeout <= 0x7fffffff)
            opened.busyTimeoutMs = static_cast<int>(timeout);
    } else {
        return opened;
    }
    opened.path = path;
    opened.kind =
        isSqliteFile(path) ? ConnectionTarget::Kind::SqliteFile : ConnectionTarget::Kind::AccessFile;
    return opened;
}

namespace {

/// Where one password attribute of a connection string lies: its key starts at `key`, its
/// value runs from `value` to `end`; `toEnd` for the "Password=" form, whose value runs to the
/// end of the text.
struct PasswordPart {
    std::size_t key = 0, value = 0, end = 0;
    bool toEnd = false;
};

std::vector<PasswordPart> passwordParts(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    std::vector<PasswordPart> parts;
    for (std::size_t at = 0; at < lower.size(); ++at) {
        // Only a key at the start of an attribute counts (the start of the text, or after ";"
        // and any blanks), not the same letters inside a value such as a path.
        std::size_t before = at;
        while (before > 0 && lower[before - 1] == ' ')
            --before;
        if (before > 0 && lower[before - 1] != ';')
            continue;
        if (lower.compare(at, 9, "password=") == 0) {
            // Appended last in the forms users see, and may hold ";" itself.
            parts.push_back({at, at + 9, lower.size(), true});
            break;
        }
        if (lower.compare(at, 4, "pwd=") == 0) {
            const std::size_t value = at + 4;
            const bool braced = value < lower.size() && lower[value] == '{';
            std::size_t end = lower.find(braced ? '}' : ';', value);
            end = end == std::string::npos ? lower.size() : end + (braced ? 1 : 0);
            parts.push_back({at, value, end, false});
            at = end;
        }
    }
    return parts;
}

} // namespace

} // namespace sifkit::platform

namespace sifkit {

std::string maskCredentials(const std::string& text) {
    std::string masked;
    std::size_t copied = 0;
    for (const platform::PasswordPart& part : platform::passwordParts(text)) {
        masked.append(text, copied, part.value - copied);
        masked += "****";
        copied = part.end;
    }
    masked.append(text, std::min(copied, text.size()), std::string::npos);
    return masked;
}

std::string withoutPassword(const std::string& connectionString) {
    std::string kept = connectionString;
    const std::vector<platform::PasswordPart> parts = platform::passwordParts(connectionString);
    // From the last part back, so that the positions of the earlier ones stay right.
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        std::size_t from = part->key;
        std::size_t to = part->end;
        if (!part->toEnd && to < kept.size() && kept[to] == ';') {
            ++to; // "PWD=p;" in front of further attributes goes with its own separator
        } else {
            // The last attribute takes the separators before it: " ;Password=p", ";PWD=p".
            while (from > 0 && (kept[from - 1] == ';' || kept[from - 1] == ' '))
                --from;
        }
        kept.erase(from, to - from);
    }
    return kept;
}

} // namespace sifkit
