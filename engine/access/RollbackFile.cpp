// SPDX-License-Identifier: MIT
#include "RollbackFile.h"

#include "RollbackStore.h"

#include <sifkit/Credentials.h>
#include <sifkit/SifkitError.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
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

/// The staging files a write of this rollback file left when it was killed before its commit:
/// "<file>.pending" and the record set writer's "<file>.pending.tmp-*".
void removeLeftStagingFiles(const std::string& fileName) {
    namespace fs = std::filesystem;
    const fs::path file(fileName);
    const std::string prefix = file.filename().string() + ".pending";
    std::error_code error;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name == prefix || name.rfind(prefix + ".tmp-", 0) == 0)
            fs::remove(entry->path(), error);
    }
}

} // namespace

void requireSingleRow(const Recordset& rows, const std::string& statement) {
    if (rows.recordCount() > 1)
        throw Error(ErrorNumber::RowNotLocated,
                    "The statement selects " + std::to_string(rows.recordCount()) +
                        " rows where one was expected; nothing was changed: " + statement);
}

StagedRollbackFile::StagedRollbackFile(const Recordset& rows, const std::string& fileName,
                                       const FileNotes& notes)
    : copy_(rows.clone()), fileName_(fileName), staged_(fileName + ".pending") {
    // What the file must replace is known now: the update must not run when it cannot.
    if (std::filesystem::is_directory(fileName_))
        throw Error(ErrorNumber::FileError,
                    "The rollback file \"" + fileName_ + "\" cannot be written: a folder has that name.");
    removeLeftStagingFiles(fileName_);
    rows.save(staged_, notes);
    id_ = notes.text(rollbackIdNote);
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
    store.fileId = id_;
    store.writtenFileName = fileName_;
    store.fileFingerprint = fingerprint(fileName_);
    copy_.moveFirst();
    store.recordset = copy_;
}

void writeRollbackFile(const Recordset& rows, const std::string& fileName, const FileNotes& notes) {
    StagedRollbackFile(rows, fileName, notes).commit();
}

std::string newRollbackId() {
    std::random_device random; // one read of the system's source per 32 bits, not per digit
    static const char digits[] = "0123456789abcdef";
    std::string id;
    for (int word = 0; word < 4; ++word)
        for (uint32_t bits = random(), i = 0; i < 8; ++i, bits >>= 4)
            id += digits[bits & 0xf];
    return id;
}

void requireRollbackFileOf(const std::string& table, const std::string& connectionString,
                           const Recordset& saved) {
    const RollbackStore& store = RollbackStore::instance();
    const std::string& fileName = store.fileName;
    if (!saved.baseTable().empty() && saved.baseTable() != table)
        throw Error(ErrorNumber::FileError, "The rollback file \"" + fileName + "\" holds a row of table " +
                                                saved.baseTable() + ", not of " + table +
                                                "; nothing was restored.");
    const std::string database = saved.notes().text(rollbackDatabaseNote);
    if (!database.empty() && database != withoutPassword(connectionString))
        throw Error(ErrorNumber::FileError,
                    "The rollback file \"" + fileName + "\" was written for " + maskCredentials(database) +
                        ", not for " + maskCredentials(connectionString) + "; nothing was restored.");
    if (store.writtenFileName == fileName && fingerprint(fileName) != store.fileFingerprint)
        throw Error(ErrorNumber::FileError, "The rollback file \"" + fileName +
                                                "\" is no longer the one the last update wrote; nothing was "
                                                "restored.");
    const std::string id = saved.notes().text(rollbackIdNote);
    if (!store.fileId.empty() && id != store.fileId)
        throw Error(ErrorNumber::FileError, "The rollback file \"" + fileName +
                                                "\" holds another change than the undo entry names (it was "
                                                "written again by a later update); nothing was restored.");
}

} // namespace sifkit::detail
