// SPDX-License-Identifier: MIT
#include "DataRun.h"

#include "MariadbServer.h"
#include "PostgresServer.h"

#include <algorithm>

namespace sifkit::test {

namespace {
const char* nameOf(DatabaseKind kind) {
    switch (kind) {
    case DatabaseKind::Sqlite:
        return "SQLite";
    case DatabaseKind::SqliteOdbc:
        return "SQLiteOdbc";
    case DatabaseKind::Postgres:
        return "PostgreSQL";
    case DatabaseKind::Mariadb:
        return "MariaDB";
    }
    return "?";
}
} // namespace

DatabaseServer* serverOf(DatabaseKind kind) {
    switch (kind) {
    case DatabaseKind::Postgres:
        return PostgresServer::instance();
    case DatabaseKind::Mariadb:
        return MariadbServer::instance();
    case DatabaseKind::Sqlite:
    case DatabaseKind::SqliteOdbc:
        break;
    }
    return nullptr;
}

std::string whyNoServer(DatabaseKind kind) {
    return kind == DatabaseKind::Postgres ? PostgresServer::why() : MariadbServer::why();
}

std::string kindName(const testing::TestParamInfo<DatabaseKind>& info) {
    return nameOf(info.param);
}

void PrintTo(DatabaseKind kind, std::ostream* out) {
    *out << nameOf(kind);
}

std::string sqliteConnectionString(DatabaseKind kind, const std::string& path) {
    if (kind == DatabaseKind::SqliteOdbc)
        return "Driver=SQLite3;Database=" + path + ";Timeout=5000";
    return fileConnectionString(path);
}

void EachDatabaseTest::SetUp() {
    if (!isSqliteKind(GetParam()) && !serverOf(GetParam()))
        GTEST_SKIP() << nameOf(GetParam()) << ": " << whyNoServer(GetParam());
}

namespace {

/// Creates a database of the kind from a script; returns its connection string and, on a
/// server, sets the database's name.
std::string createDatabase(DatabaseKind kind, const std::string& script, const std::string& path,
                           std::string& database) {
    if (isSqliteKind(kind)) {
        createSqliteDatabase(path, script);
        return sqliteConnectionString(kind, path);
    }
    DatabaseServer& server = *serverOf(kind);
    database = server.createDatabase(script);
    return server.connectionString(database);
}

} // namespace

DataRun::DataRun(const std::string& masterScript, const std::string& sourceScript, DatabaseKind kindIn)
    : DataRun(masterScript, sourceScript, kindIn, kindIn) {}

DataRun::DataRun(const std::string& masterScript, const std::string& sourceScript, DatabaseKind masterKind,
                 DatabaseKind sourceKindIn)
    : kind(masterKind), sourceKind(sourceKindIn) {
    masterConnection = createDatabase(kind, masterScript, masterPath, masterDatabase);
    sourceConnection = createDatabase(sourceKind, sourceScript, sourcePath, sourceDatabase);
}

DataRun::~DataRun() {
    for (auto [databaseKind, database] :
         {std::pair{kind, masterDatabase}, std::pair{sourceKind, sourceDatabase}})
        if (!database.empty())
            if (DatabaseServer* server = serverOf(databaseKind))
                server->releaseDatabase(database);
}

void DataRun::prepare(const std::string& table, const std::string& masterFields,
                      const std::string& sourceFields) {
    auto master = core.getMasterDataManager();
    auto source = core.getSourceDataManager();
    master->setConnectionString(masterConnection);
    source->setConnectionString(sourceConnection);
    master->openDatabaseConnection();
    source->openDatabaseConnection();
    master->setTableName(table);
    source->setTableName(table);
    master->setFieldList(masterFields);
    source->setFieldList(sourceFields);
}

bool DataRun::runFull() {
    return core.beginTableCompareFromFieldListFromDBManager(core.getMasterDataManager(),
                                                            core.getSourceDataManager());
}

std::string DataRun::queryMaster(const std::string& sql) const {
    return isSqliteKind(kind) ? sqliteQuery(masterPath, sql) : serverOf(kind)->query(masterDatabase, sql);
}

std::string DataRun::querySource(const std::string& sql) const {
    return isSqliteKind(sourceKind) ? sqliteQuery(sourcePath, sql)
                                    : serverOf(sourceKind)->query(sourceDatabase, sql);
}

void DataRun::runSourceScript(const std::string& path) const {
    if (isSqliteKind(sourceKind))
        runCommand("sqlite3 -bail " + shellQuoted(sourcePath) + " < " + shellQuoted(path));
    else
        serverOf(sourceKind)->runScript(sourceDatabase, path);
}

ReportedRecords reportedRecords(const ResultCollection& results) {
    ReportedRecords records;
    for (int32_t i = 1; i <= results.count(); ++i) {
        const clsResultSet& item = *results.item(i);
        if (item.getIsDataValue())
            records[item.getRecordNumber()][item.getFieldName()] = item.getDataValue();
    }
    return records;
}

std::vector<std::string> reportedValues(const ResultCollection& results, const std::string& field) {
    std::vector<std::string> values;
    for (const auto& [number, fields] : reportedRecords(results)) {
        auto it = fields.find(field);
        values.push_back(it == fields.end() ? "<missing>" : it->second);
    }
    std::sort(values.begin(), values.end());
    return values;
}

int32_t reportedRecordNumber(const ResultCollection& results, const std::string& field,
                             const std::string& value) {
    for (const auto& [number, fields] : reportedRecords(results)) {
        auto it = fields.find(field);
        if (it != fields.end() && it->second == value)
            return number;
    }
    return 0;
}

} // namespace sifkit::test
