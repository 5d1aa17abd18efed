#include "DataRun.h"

#include <gtest/gtest.h>

namespace sifkit::test {

DataRun::DataRun(const std::string& masterScript, const std::string& sourceScript) {
    createSqliteDatabase(masterPath, masterScript);
    createSqliteDatabase(sourcePath, sourceScript);
}

void DataRun::prepare(const std::string& table, const std::string& masterFields,
                      const std::string& sourceFields) {
    auto master = core.getMasterDataManager();
    auto source = core.getSourceDataManager();
    master->setConnectionString(fileConnectionString(masterPath));
    source->setConnectionString(fileConnectionString(sourcePath));
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
    return values;
}

} // namespace sifkit::test
