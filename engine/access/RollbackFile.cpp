#include "RollbackFile.h"

#include "RollbackStore.h"

#include <sifkit/SifkitError.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace sifkit::detail {

namespace {

/// A fingerprint of the file's bytes; "" when it cannot be read.
std::string fingerprint(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string content = bytes.str();
    return std::to_string(content.size()) + ":" + std::to_string(std::hash<std::string>{}(content));
}

} // namespace

void requireSingleRow(const Recordset& rows, const std::string& statement) {
    if (rows.recordCount() > 1)
        throw Error(ErrorNumber::RowNotLocated,
                    "The statement selects " + std::to_string(rows.recordCount()) +
                        " rows where one was expected; nothing was changed: " + statement);
}

void writeRollbackFile(clsDBManager& side, const Recordset& rows, bool /*isMaster*/,
                       const std::string& fileName) {
    RollbackStore& store = RollbackStore::instance();
    Recordset copy = rows.clone();
    store.fileName = fileName;
    store.writtenFileName.clear();
    store.fileFingerprint.clear();
    side.getDatabaseRecords().save(fileName);
    store.writtenFileName = fileName;
    store.fileFingerprint = fingerprint(fileName);
    copy.moveFirst();
    store.recordset = copy;
}

void requireRollbackFileOf(const clsDBManager& side, const Recordset& saved) {
    const RollbackStore& store = RollbackStore::instance();
    const std::string& fileName = store.fileName;
    if (!saved.baseTable().empty() && saved.baseTable() != side.getTableName())
        throw Error(ErrorNumber::FileError, "The rollback file \"" + fileName + "\" holds a row of table " +
                                                saved.baseTable() + ", not of " + side.getTableName() +
                                                "; nothing was restored.");
    if (store.writtenFileName == fileName && fingerprint(fileName) != store.fileFingerprint)
        throw Error(ErrorNumber::FileError, "The rollback file \"" + fileName +
                                                "\" is no longer the one the last update wrote; nothing was "
                                                "restored.");
}

} // namespace sifkit::detail
