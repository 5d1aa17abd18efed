#include "OdbcDataSources.h"

#include "OdbcApi.h"

#include <odbcinst.h>

namespace sifkit::platform {

std::vector<DataSourceEntry> listDataSources() {
    auto env = odbc::environment();
    std::vector<DataSourceEntry> entries;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (true) {
        SQLCHAR name[1024] = {};
        SQLCHAR description[1024] = {};
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        SQLRETURN rc = SQLDataSources(env->get(), direction, name, sizeof name, &nameLength, description,
                                      sizeof description, &descriptionLength);
        if (rc == SQL_NO_DATA)
            break;
        odbc::check(rc, *env, "SQLDataSources");
        entries.push_back(
            {std::string(reinterpret_cast<const char*>(name), static_cast<std::size_t>(nameLength)),
             reinterpret_cast<const char*>(description)});
        direction = SQL_FETCH_NEXT;
    }
    return entries;
}

std::string dataSourceAttribute(const std::string& dataSource, const std::string& attribute) {
    char value[1024] = {};
    int length = SQLGetPrivateProfileString(dataSource.c_str(), attribute.c_str(), "", value, sizeof value,
                                            "odbc.ini");
    if (length <= 0)
        return {};
    return std::string(value, static_cast<std::size_t>(length));
}

} // namespace sifkit::platform
