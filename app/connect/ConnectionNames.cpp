// SPDX-License-Identifier: MIT
#include "connect/ConnectionNames.h"

#include "shell/SettingsText.h"

#include "DatabaseTarget.h"

#include <sifkit/Credentials.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cctype>

namespace dbsift {

namespace {

/// Where the attribute key (lower case, with its "=") starts in text: at the start of the text
/// or after ";" and any blanks, never inside a value. npos when it is not there.
std::size_t findAttribute(const std::string& text, const std::string& key, std::size_t from = 0) {
    const std::string lower = lowered(text);
    for (std::size_t at = lower.find(key, from); at != std::string::npos; at = lower.find(key, at + 1)) {
        std::size_t before = at;
        while (before > 0 && lower[before - 1] == ' ')
            --before;
        if (before == 0 || lower[before - 1] == ';')
            return at;
    }
    return std::string::npos;
}

/// The value of "Data Source=" in a database part: it is the last attribute of the forms the
/// engine builds and a path may hold ";" itself, so it runs to the end.
std::string dataSource(const std::string& database) {
    const std::size_t at = findAttribute(database, "data source=");
    return at == std::string::npos ? std::string() : database.substr(at + 12);
}

std::string trimmedBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

SideConnection splitUserID(const std::string& connection) {
    const std::string text = sifkit::withoutPassword(connection);
    // The user ID is appended after the data source, whose value may hold ";" itself: only the
    // last ";User ID=" can be the appended one.
    std::size_t at = std::string::npos;
    for (std::size_t next = findAttribute(text, "user id="); next != std::string::npos;
         next = findAttribute(text, "user id=", next + 1))
        at = next;
    if (at == std::string::npos)
        return {text, ""};
    std::size_t start = at;
    while (start > 0 && text[start - 1] == ' ')
        --start;
    // The separator before the user ID, and the one blank the engine puts before it.
    std::size_t cut = start > 0 ? start - 1 : start;
    if (cut > 0 && text[cut - 1] == ' ')
        --cut;
    const std::size_t valueStart = at + 8;
    const std::size_t valueEnd = std::min(text.find(';', valueStart), text.size());
    SideConnection parts;
    parts.userID = trimmedBlanks(text.substr(valueStart, valueEnd - valueStart));
    parts.database = text.substr(0, cut);
    if (valueEnd < text.size())
        parts.database += text.substr(valueEnd);
    return parts;
}

bool isFileConnection(const std::string& connection) {
    const std::size_t at = findAttribute(connection, "provider=");
    if (at == std::string::npos)
        return false;
    const std::string provider = lowered(trimmedBlanks(connection.substr(at + 9)));
    return provider.rfind("microsoft.jet.oledb", 0) == 0 || provider.rfind("microsoft.ace.oledb", 0) == 0;
}

std::string commandLineName(const std::string& connection) {
    const std::string database = splitUserID(connection).database;
    const std::string source = dataSource(database);
    if (isFileConnection(database))
        return source;
    if (findAttribute(database, "provider=msdasql") != std::string::npos && !trimmedBlanks(source).empty())
        return cli::dataSourcePrefix + trimmedBlanks(source);
    return "";
}

QString connectionDisplayName(const std::string& connection) {
    const SideConnection parts = splitUserID(connection);
    const std::string source = dataSource(parts.database);
    if (isFileConnection(parts.database) && !source.empty()) {
        const QString name = QFileInfo(QString::fromStdString(source)).fileName();
        return name.isEmpty() ? QString::fromStdString(source) : name;
    }
    if (findAttribute(parts.database, "provider=msdasql") != std::string::npos &&
        !trimmedBlanks(source).empty())
        return QString::fromStdString(trimmedBlanks(source));
    return connectionToolTip(connection);
}

QStringList connectionDisplayNames(const std::vector<std::string>& connections) {
    QStringList names;
    for (const std::string& connection : connections)
        names << connectionDisplayName(connection);
    QStringList shown = names;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.count(names[i]) < 2)
            continue;
        const std::string& connection = connections[static_cast<std::size_t>(i)];
        const std::string database = splitUserID(connection).database;
        const std::string source = dataSource(database);
        shown[i] =
            isFileConnection(database) && !source.empty()
                ? names[i] + QStringLiteral(" \u2014 ") +
                      QDir::toNativeSeparators(QFileInfo(QString::fromStdString(source)).absolutePath())
                : connectionToolTip(connection);
    }
    return shown;
}

QString connectionToolTip(const std::string& connection) {
    return QString::fromStdString(sifkit::maskCredentials(connection));
}

} // namespace dbsift
