// SPDX-License-Identifier: MIT
#include "sync/RollbackSlots.h"

#include "shell/RecentConnections.h"
#include "shell/SettingsText.h"

#include <sifkit/Credentials.h>

namespace dbsift {

namespace {

std::string read(const ProfileFile& profile, int number, const char* key, const std::string& fallback) {
    return profile.readString(rollbackSection(number), key, fallback, kSettingsBuffer);
}

} // namespace

std::string rollbackSection(int number) {
    return "ROLLBACK_NUMBER_" + std::to_string(number);
}

int nextRollbackNumber(const ProfileFile& profile) {
    for (int n = 1; n <= kRollbackSlots; ++n)
        if (textToWhole(read(profile, n, "ROLLBACK_NUMBER", "0"), 0) == 0)
            return n;
    return 1;
}

bool saveRollbackEntry(ProfileFile& profile, const RollbackSlot& slot) {
    return profile.writeStrings(rollbackSection(slot.number),
                                {{"ROLLBACK_NUMBER", std::to_string(slot.number)},
                                 {"ROLLBACK_MASTERCONNECTION", sifkit::withoutPassword(slot.masterConnection)},
                                 {"ROLLBACK_SOURCECONNECTION", sifkit::withoutPassword(slot.sourceConnection)},
                                 {"ROLLBACK_ISMASTER", boolText(slot.isMaster)},
                                 {"ROLLBACK_FILENAME", slot.fileName},
                                 {"ROLLBACK_SQL", slot.sql},
                                 {"ROLLBACK_UPDATERECORD", boolText(slot.updateRecord)},
                                 {"ROLLBACK_TABLE", slot.table},
                                 {"ROLLBACK_FILESTAMP", slot.fileStamp},
                                 {"ROLLBACK_DONE", boolText(slot.rolledBack)}});
}

RollbackSlot readRollbackSlot(const ProfileFile& profile, int number) {
    RollbackSlot slot;
    slot.number = static_cast<int>(textToWhole(read(profile, number, "ROLLBACK_NUMBER", "0"), 0));
    slot.masterConnection = read(profile, number, "ROLLBACK_MASTERCONNECTION", "");
    slot.sourceConnection = read(profile, number, "ROLLBACK_SOURCECONNECTION", "");
    slot.isMaster = textToBool(read(profile, number, "ROLLBACK_ISMASTER", "True"), true);
    slot.fileName = read(profile, number, "ROLLBACK_FILENAME", "");
    slot.sql = read(profile, number, "ROLLBACK_SQL", "");
    slot.updateRecord = textToBool(read(profile, number, "ROLLBACK_UPDATERECORD", "True"), true);
    slot.table = read(profile, number, "ROLLBACK_TABLE", "");
    slot.fileStamp = read(profile, number, "ROLLBACK_FILESTAMP", "");
    slot.rolledBack = textToBool(read(profile, number, "ROLLBACK_DONE", "False"), false);
    return slot;
}

bool markRolledBack(ProfileFile& profile, int number) {
    return profile.writeString(rollbackSection(number), "ROLLBACK_DONE", boolText(true));
}

std::string fileStamp(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        return "";
    const auto written = std::filesystem::last_write_time(file, error);
    if (error)
        return "";
    return std::to_string(size) + ":" + std::to_string(written.time_since_epoch().count());
}

std::filesystem::path rollbackFileName(const std::filesystem::path& folder, const std::string& table,
                                       bool isOriginal) {
    std::string name = "'" + table + (isOriginal ? "_ORIGINAL" : "_MODIFIED") + "'.xml";
    for (char& c : name)
        if (c == '/' || c == '\0')
            c = '_';
    return folder / name;
}

} // namespace dbsift
