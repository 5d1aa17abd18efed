// SPDX-License-Identifier: MIT
#include "OdbcDataSources.h"

#include "OdbcApi.h"

#include <odbcinst.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

namespace sifkit::platform {

namespace {

std::string profileString(const char* section, const char* key, const char* file) {
    char value[1024] = {};
    int length = SQLGetPrivateProfileString(section, key, "", value, sizeof value, file);
    if (length <= 0)
        return {};
    return std::string(value, std::min(static_cast<std::size_t>(length), std::strlen(value)));
}

/// True when a driver path registered in odbcinst.ini names the library a DSN gives by path.
/// Registrations often give the bare file name, which the loader finds on its search path.
bool sameLibrary(const std::string& registered, const std::string& library) {
    if (registered.empty())
        return false;
    if (registered == library)
        return true;
    namespace fs = std::filesystem;
    if (registered.find('/') == std::string::npos)
        return registered == fs::path(library).filename().string();
    std::error_code ec;
    return fs::equivalent(registered, library, ec);
}

/// The name of the installed driver whose library is `library`; "" when none is registered.
std::string registeredDriverFor(const std::string& library) {
    std::vector<char> names(32768, '\0');
    WORD used = 0;
    if (!SQLGetInstalledDrivers(names.data(), static_cast<WORD>(names.size() - 1), &used))
        return {};
    // A list of names, each ended by a NUL, the whole list by a second NUL.
    for (const char* name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
        for (const char* key : {"Driver", "Driver64"}) {
            if (sameLibrary(profileString(name, key, "odbcinst.ini"), library))
                return name;
        }
    }
    return {};
}

std::string driverDescription(std::string reported) {
    if (reported.find('/') == std::string::npos)
        return reported;
    std::string name = registeredDriverFor(reported);
    return name.empty() ? reported : name;
}

/// Text the driver manager wrote into a buffer of `capacity` bytes, of which it reports
/// `length` (the full length, which may exceed what fitted).
std::string bufferText(const SQLCHAR* buffer, std::size_t capacity, SQLSMALLINT length) {
    std::size_t fitted = std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), capacity - 1);
    return std::string(reinterpret_cast<const char*>(buffer), fitted);
}

} // namespace

void listDataSources(std::vector<DataSourceEntry>& into) {
    std::shared_ptr<odbc::Handle> env;
    try {
        env = odbc::environment();
    } catch (const Error& e) {
        throw NoOdbcEnvironment(e.number(), e.description());
    }
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (true) {
        SQLCHAR name[1024] = {};
        SQLCHAR description[1024] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT descriptionLength = 0;
        SQLRETURN rc = SQLDataSources(env->get(), direction, name, sizeof name, &nameLength, description,
                                      sizeof description, &descriptionLength);
        if (rc == SQL_NO_DATA)
            break;
        odbc::check(rc, *env, "SQLDataSources");
        into.push_back({bufferText(name, sizeof name, nameLength),
                        driverDescription(bufferText(description, sizeof description, descriptionLength))});
        direction = SQL_FETCH_NEXT;
    }
}

std::string dataSourceAttribute(const std::string& dataSource, const std::string& attribute) {
    return profileString(dataSource.c_str(), attribute.c_str(), "odbc.ini");
}

std::string dataSourceDriverLibrary(const std::string& dataSource) {
    const std::string driver = dataSourceAttribute(dataSource, "Driver");
    if (driver.empty() || driver.find('/') != std::string::npos)
        return driver;
    for (const char* key : {"Driver64", "Driver"})
        if (std::string library = profileString(driver.c_str(), key, "odbcinst.ini"); !library.empty())
            return library;
    return {};
}

} // namespace sifkit::platform
