// SPDX-License-Identifier: MIT
#include "sync/RollbackSlots.h"

#include "shell/RecentConnections.h"
#include "shell/SettingsText.h"

#include <sifkit/Credentials.h>

#include <algorithm>

namespace dbsift {

namespace {

std::string read(const ProfileText& settings, int number, const char* key, const std::string& fallback) {
    return settings.value(rollbackSection(number), key).value_or(fallback);
}

RollbackSlot slotOf(const ProfileText& settings, int number) {
    RollbackSlot slot;
    slot.number = static_cast<int>(textToWhole(read(settings, number, "ROLLBACK_NUMBER", "0"), 0));
    slot.masterConnection = read(settings, number, "ROLLBACK_MASTERCONNECTION", "");
    slot.sourceConnection = read(settings, number, "ROLLBACK_SOURCECONNECTION", "");
    slot.isMaster = textToBool(read(settings, number, "ROLLBACK_ISMASTER", "True"), true);
    slot.fileName = read(settings, number, "ROLLBACK_FILENAME", "");
    slot.sql = read(settings, number, "ROLLBACK_SQL", "");
    slot.updateRecord = textToBool(read(settings, number, "ROLLBACK_UPDATERECORD", "True"), true);
    slot.table = read(settings, number, "ROLLBACK_TABLE", "");
    slot.fileStamp = read(settings, number, "ROLLBACK_FILESTAMP", "");
    slot.fileId = read(settings, number, "ROLLBACK_ID", "");
    slot.rolledBack = textToBool(read(settings, number, "ROLLBACK_DONE", "False"), false);
    slot.sequence = textToWhole(read(settings, number, "ROLLBACK_SEQUENCE", "0"), 0, 0, INT64_MAX);
    slot.sync = textToBool(read(settings, number, "ROLLBACK_SYNC", "False"), false);
    return slot;
}

int chooseSlot(const ProfileText& settings) {
    std::vector<RollbackSlot> slots;
    for (int n = 1; n <= kRollbackSlots; ++n) {
        if (textToWhole(read(settings, n, "ROLLBACK_NUMBER", "0"), 0) == 0)
            return n;
        slots.push_back(slotOf(settings, n));
        slots.back().number = n;
    }
    // Rolled-back entries first, then by age; the sort is stable, so equal ages go by slot.
    std::stable_sort(slots.begin(), slots.end(), [](const RollbackSlot& a, const RollbackSlot& b) {
        return a.rolledBack != b.rolledBack ? a.rolledBack : a.sequence < b.sequence;
    });
    return slots.front().number;
}

void writeEntry(ProfileText& settings, const RollbackSlot& slot) {
    int64_t newest = 0;
    for (int n = 1; n <= kRollbackSlots; ++n)
        newest = std::max(newest, slotOf(settings, n).sequence);
    const std::string section = rollbackSection(slot.number);
    for (const auto& [key, value] :
         {std::pair<const char*, std::string>{"ROLLBACK_NUMBER", std::to_string(slot.number)},
          {"ROLLBACK_MASTERCONNECTION", sifkit::withoutPassword(slot.masterConnection)},
          {"ROLLBACK_SOURCECONNECTION", sifkit::withoutPassword(slot.sourceConnection)},
          {"ROLLBACK_ISMASTER", boolText(slot.isMaster)},
          {"ROLLBACK_FILENAME", slot.fileName},
          {"ROLLBACK_SQL", slot.sql},
          {"ROLLBACK_UPDATERECORD", boolText(slot.updateRecord)},
          {"ROLLBACK_TABLE", slot.table},
          {"ROLLBACK_FILESTAMP", slot.fileStamp},
          {"ROLLBACK_ID", slot.fileId},
          {"ROLLBACK_DONE", boolText(slot.rolledBack)},
          {"ROLLBACK_SEQUENCE", std::to_string(newest + 1)},
          {"ROLLBACK_SYNC", boolText(slot.sync)}})
        settings.set(section, key, value);
}

} // namespace

std::string rollbackSection(int number) {
    return "ROLLBACK_NUMBER_" + std::to_string(number);
}

int nextRollbackNumber(const ProfileFile& profile) {
    return chooseSlot(profile.contents());
}

ProfileWrite saveRollbackEntry(ProfileFile& profile, const RollbackSlot& slot) {
    return profile.update([&](ProfileText& settings) {
        writeEntry(settings, slot);
        return true;
    });
}

ProfileWrite addRollbackEntry(ProfileFile& profile, RollbackSlot& slot) {
    int chosen = 0;
    const ProfileWrite written = profile.update([&](ProfileText& settings) {
        RollbackSlot entry = slot;
        entry.number = chosen = chooseSlot(settings);
        writeEntry(settings, entry);
        return true;
    });
    if (written)
        slot.number = chosen;
    return written;
}

RollbackSlot readRollbackSlot(const ProfileFile& profile, int number) {
    return slotOf(profile.contents(), number);
}

ProfileWrite markRolledBack(ProfileFile& profile, int number) {
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
