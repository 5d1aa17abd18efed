// SPDX-License-Identifier: MIT
#include "RollbackFile.h"

#include "RollbackStore.h"

#include <sifkit/SifkitError.h>

#include <filesystem>
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

StagedRollbackFile::StagedRollbackFile(const Recordset& rows, const std::string& fileName,
                                       const RowLocator& locator)
    : copy_(rows.clone()), fileName_(fileName), staged_(fileName + ".pending") {
    // What the file must replace is known now: the update must not run when it cannot.
    if (std::filesystem::is_directory(fileName_))
        throw Error(ErrorNumber::FileError,
                    "The rollback file \"" + fileName_ + "\" cannot be written: a folder has that name.");
    std::error_code ignored;
    std::filesystem::remove(staged_, ignored); // left by a run that ended before its commit
    rows.save(staged_, locator);
}

StagedRollbackFile::~StagedRollbackFile() {
    if (committed_)
        return;
    std::error_code ignored;
    std::filesystem::remove(staged_, ignored);
}

void StagedRollbackFile::commit() {
    std::error_code error;
    std::filesystem::rename(staged_, fileName_, error);
    if (error)
        throw Error(ErrorNumber::FileError,
                    "The rollback file \"" + fileName_ + "\" cannot be written: " + error.message());
    committed_ = true;
    RollbackStore& store = RollbackStore::instance();
    store.fileName = fileName_;
    store.writtenFileName = fileName_;
    store.fileFingerprint = fingerprint(fileName_);
    copy_.moveFirst();
    store.recordset = copy_;
}

void writeRollbackFile(const Recordset& rows, const std::string& fileName, const RowLocator& locator) {
    StagedRollbackFile(rows, fileName, locator).commit();
}

void requireRollbackFileOf(const std::string& table, const Recordset& saved) {
    const RollbackStore& store = RollbackStore::instance();
    const std::string& fileName = store.fileName;
    if (!saved.baseTable().empty() && saved.baseTable() != table)
        throw Error(ErrorNumber::FileError, "The rollback file \"" + fileName + "\" holds a row of table " +
                                                saved.baseTable() + ", not of " + table +
                                                "; nothing was restored.");
    if (store.writtenFileName == fileName && fingerprint(fileName) != store.fileFingerprint)
        throw Error(ErrorNumber::FileError, "The rollback file \"" + fileName +
                                                "\" is no longer the one the last update wrote; nothing was "
                                                "restored.");
}

} // namespace sifkit::detail
