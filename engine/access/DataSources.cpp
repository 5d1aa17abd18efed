// SPDX-License-Identifier: MIT
#include "DataSources.h"

#include "dataaccess/Text.h"

#include <sifkit/SifkitError.h>

#include <mutex>

namespace sifkit::detail {

namespace {

constexpr const char* kJetPrefix = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
constexpr const char* kOdbcPrefix = "Provider=MSDASQL;Persist Security Info=False;Data Source=";
constexpr const char* kNoDataSources = "No ODBC connections were found on this system";

/// What the process keeps; written when an engine control is created and by
/// connectionStringFromDsn, read by every control.
struct DataSourceState {
    std::mutex mutex;
    std::vector<std::string> entries;
    bool fileBasedSource = false;
};

DataSourceState& state() {
    static DataSourceState shared;
    return shared;
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string appendOnce(const char* marker, const std::string& value, std::string& connectionString) {
    if (!contains(connectionString, marker))
        connectionString += std::string(" ") + marker + value;
    return connectionString;
}

} // namespace

void loadOdbcDataSources(const HostHooks& hooks, const DataSourceLister& lister) {
    std::vector<platform::DataSourceEntry> gathered;
    bool failed = false;
    try {
        lister(gathered);
    } catch (const platform::NoOdbcEnvironment&) {
        gathered.clear();
    } catch (const std::exception&) {
        failed = true; // the user is told the data sources cannot be listed; the list stays empty
    }
    std::vector<std::string> entries;
    entries.reserve(gathered.size());
    for (const auto& source : gathered)
        entries.push_back("DSN=" + source.name + " | " + source.description);
    {
        std::lock_guard lock(state().mutex);
        state().entries = std::move(entries);
    }
    if (failed)
        hooks.showMessage(kNoDataSources);
}

int32_t dataSourceCount() {
    std::lock_guard lock(state().mutex);
    return static_cast<int32_t>(state().entries.size());
}

std::string dataSourceEntry(int32_t index) {
    std::lock_guard lock(state().mutex);
    const auto& entries = state().entries;
    if (index < 1 || static_cast<std::size_t>(index) > entries.size())
        throw Error(ErrorNumber::SubscriptOutOfRange, "Subscript out of range: data source " +
                                                          std::to_string(index) + " of " +
                                                          std::to_string(entries.size()));
    return entries[static_cast<std::size_t>(index - 1)];
}

bool isFileBasedSource() {
    std::lock_guard lock(state().mutex);
    return state().fileBasedSource;
}

std::string dataSourceName(std::string& entry) {
    if (!contains(entry, "DSN="))
        return {};
    entry = platform::trimmed(entry.size() > 4 ? entry.substr(4) : std::string());
    auto bar = entry.find('|');
    if (bar == std::string::npos)
        return {};
    return platform::trimmed(entry.substr(0, bar));
}

std::string driverOfEntry(const std::string& entry) {
    auto bar = entry.find('|');
    if (bar == std::string::npos)
        return {};
    return platform::trimmed(entry.substr(bar + 1));
}

std::string databaseFileOfDataSource(const std::string& name) {
    if (name.empty())
        return {};
    std::string path = platform::dataSourceAttribute(name, "Database");
    return path.empty() ? platform::dataSourceAttribute(name, "DBQ") : path;
}

std::string connectionStringFromDsn(std::string& entry) {
    const std::string name = dataSourceName(entry);
    const std::string driver = driverOfEntry(entry);
    const bool fileBased = contains(driver, "Access") || contains(driver, "Fox") || contains(driver, "dBase");
    {
        std::lock_guard lock(state().mutex);
        state().fileBasedSource = fileBased;
    }
    // FoxPro and dBase sources are file based too, but open through their data source.
    if (fileBased && contains(driver, "Access"))
        return kJetPrefix + databaseFileOfDataSource(name);
    return kOdbcPrefix + name;
}

std::string appendUserID(const std::string& userID, std::string& connectionString) {
    return appendOnce(";User ID=", userID, connectionString);
}

std::string appendPassword(const std::string& password, std::string& connectionString) {
    return appendOnce(";Password=", password, connectionString);
}

std::string connectionStringFromPath(std::string& path, bool useDSN) {
    if (useDSN)
        return connectionStringFromDsn(path);
    return kJetPrefix + path;
}

} // namespace sifkit::detail
