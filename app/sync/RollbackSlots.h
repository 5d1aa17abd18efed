// SPDX-License-Identifier: MIT
#pragma once

#include "shell/ProfileFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dbsift {

/// One undo entry of the settings file: section "ROLLBACK_NUMBER_n", n from 1 to 10, recording an
/// update the application made and what is needed to undo it. Connection strings are kept
/// without their password.
struct RollbackSlot {
    int number = 0;
    std::string masterConnection;
    std::string sourceConnection;
    bool isMaster = true;
    std::string fileName;
    std::string sql;
    bool updateRecord = true;
    /// The table the update changed (key "ROLLBACK_TABLE").
    std::string table;
    /// Size and modification time of the rollback file when the update wrote it
    /// (key "ROLLBACK_FILESTAMP"): a file written again since then belongs to a later update.
    std::string fileStamp;
    /// Set once the entry has been rolled back (key "ROLLBACK_DONE").
    bool rolledBack = false;
};

inline constexpr int kRollbackSlots = 10;

/// "ROLLBACK_NUMBER_" + n.
std::string rollbackSection(int number);

/// The first slot whose "ROLLBACK_NUMBER" reads as 0 (or is missing); slot 1 when all ten are
/// taken, so the oldest number is reused.
int nextRollbackNumber(const ProfileFile& profile);

/// Writes the slot's seven keys in their order, then the application's own (table, file stamp,
/// rolled-back flag), in one write of the file. False when it could not.
bool saveRollbackEntry(ProfileFile& profile, const RollbackSlot& slot);

/// The slot as stored (number 0 when the slot is free).
RollbackSlot readRollbackSlot(const ProfileFile& profile, int number);

/// Marks a slot as rolled back.
bool markRolledBack(ProfileFile& profile, int number);

/// The size and modification time of a file as one text; "" when it does not exist.
std::string fileStamp(const std::filesystem::path& file);

/// The rollback file of an update: folder / ("'" + table + "_ORIGINAL'.xml") for the Original
/// side (isOriginal), "_MODIFIED" for the Modified side. Characters that cannot be part of a file
/// name ("/" and NUL) are replaced by "_".
std::filesystem::path rollbackFileName(const std::filesystem::path& folder, const std::string& table,
                                       bool isOriginal);

} // namespace dbsift
