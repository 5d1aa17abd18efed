// SPDX-License-Identifier: MIT
#pragma once

#include "shell/ProfileFile.h"

#include <cstdint>
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
    /// The id the update wrote into its rollback file (key "ROLLBACK_ID"): a roll back refuses
    /// the file once a later update has written it again. "" for entries written without one.
    std::string fileId;
    /// Set once the entry has been rolled back (key "ROLLBACK_DONE").
    bool rolledBack = false;
    /// The order of the writes (key "ROLLBACK_SEQUENCE"): each entry written gets a number above
    /// every other slot's, so the lowest is the oldest. 0 for entries written without one.
    int64_t sequence = 0;
    /// The entry records a sync applied in one step (key "ROLLBACK_SYNC"): fileName is its undo
    /// file, fileId the id written into it, sql what it changed, table the tables it changed.
    bool sync = false;
};

inline constexpr int kRollbackSlots = 10;

/// "ROLLBACK_NUMBER_" + n.
std::string rollbackSection(int number);

/// The slot the next entry takes: the first whose "ROLLBACK_NUMBER" reads as 0 (or is missing);
/// when all ten are taken, the oldest entry that has been rolled back, else the oldest entry
/// (lowest sequence, then lowest slot number). An entry just written is never the one chosen.
int nextRollbackNumber(const ProfileFile& profile);

/// Writes the slot's seven keys in their order, then the application's own (table, file stamp,
/// file id, rolled-back flag, sequence), in one write of the file, into the slot slot.number. Every text
/// is stored exactly; the result says why when it could not be written.
ProfileWrite saveRollbackEntry(ProfileFile& profile, const RollbackSlot& slot);

/// Chooses the slot (nextRollbackNumber) and writes the entry there under one hold of the
/// settings lock, so that two instances never write into the same slot. slot.number becomes the
/// slot written.
ProfileWrite addRollbackEntry(ProfileFile& profile, RollbackSlot& slot);

/// The slot as stored (number 0 when the slot is free), every text exactly as written.
RollbackSlot readRollbackSlot(const ProfileFile& profile, int number);

/// Marks a slot as rolled back.
ProfileWrite markRolledBack(ProfileFile& profile, int number);

/// The size and modification time of a file as one text; "" when it does not exist.
std::string fileStamp(const std::filesystem::path& file);

/// The rollback file of an update: folder / ("'" + table + "_ORIGINAL'.xml") for the Original
/// side (isOriginal), "_MODIFIED" for the Modified side. Characters that cannot be part of a file
/// name ("/" and NUL) are replaced by "_".
std::filesystem::path rollbackFileName(const std::filesystem::path& folder, const std::string& table,
                                       bool isOriginal);

} // namespace dbsift
