// SPDX-License-Identifier: MIT
// The undo entries of the settings file: which slot the next update takes, what a slot holds.
#include "sync/RollbackSlots.h"
#include "AppTestMain.h"
#include "shell/ProfileFile.h"

#include <thread>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

RollbackSlot slotNumbered(int n) {
    RollbackSlot slot;
    slot.number = n;
    slot.masterConnection =
        "Provider=MSDASQL;Persist Security Info=False;Data Source=pg ;User ID=ann ;Password=pw";
    slot.sourceConnection = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/m.db";
    slot.isMaster = false;
    slot.fileName = "/data/rollback/'t_MODIFIED'.xml";
    slot.sql = "SELECT [id],[v] FROM [t] WHERE [id] = 1";
    return slot;
}

} // namespace

class RollbackSlotsTest : public QObject {
    Q_OBJECT
private slots:
    void theFirstFreeSlotIsTaken() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(nextRollbackNumber(profile), 1);
        for (int n : {1, 2, 4})
            QVERIFY(saveRollbackEntry(profile, slotNumbered(n)));
        QCOMPARE(nextRollbackNumber(profile), 3);
    }

    void withAllTenTakenSlotOneIsOverwrittenWhole() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        for (int n = 1; n <= 10; ++n)
            QVERIFY(saveRollbackEntry(profile, slotNumbered(n)));
        QCOMPARE(nextRollbackNumber(profile), 1);
        RollbackSlot newer = slotNumbered(1);
        newer.isMaster = true;
        newer.sql = "SELECT [id] FROM [u] WHERE [id] = 9";
        QVERIFY(saveRollbackEntry(profile, newer));
        const RollbackSlot read = readRollbackSlot(profile, 1);
        QCOMPARE(read.sql, newer.sql);
        QVERIFY(read.isMaster);
        const std::string text = sandbox.settingsText();
        const auto section = text.find("[ROLLBACK_NUMBER_1]");
        const char* keys[] = {"ROLLBACK_NUMBER=",           "ROLLBACK_MASTERCONNECTION=",
                              "ROLLBACK_SOURCECONNECTION=", "ROLLBACK_ISMASTER=True",
                              "ROLLBACK_FILENAME=",         "ROLLBACK_SQL=",
                              "ROLLBACK_UPDATERECORD=True"};
        auto at = section;
        for (const char* key : keys) {
            const auto next = text.find(key, at);
            QVERIFY2(next != std::string::npos && next < text.find("[ROLLBACK_NUMBER_2]"), key);
            at = next;
        }
    }

    void aSlotNeverHoldsThePassword() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QVERIFY(saveRollbackEntry(profile, slotNumbered(1)));
        QVERIFY(sandbox.settingsText().find("pw") == std::string::npos);
        QCOMPARE(readRollbackSlot(profile, 1).masterConnection,
                 std::string("Provider=MSDASQL;Persist Security Info=False;Data Source=pg ;User ID=ann"));
    }

    void aSlotKeepsEveryTextExactly() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        RollbackSlot slot = slotNumbered(2);
        slot.masterConnection = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/o.db ";
        slot.sourceConnection =
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/" + std::string(600, 'm') + ".db";
        slot.fileName = "/data/rollback/ '" + std::string(300, 't') + "_MODIFIED'.xml";
        slot.sql = "SELECT [id],[note] FROM [t] WHERE [note] = 'two\r\nlines " + std::string(600, 'n') +
                   std::string("\0end'", 5);
        slot.table = " t ";
        QVERIFY(saveRollbackEntry(profile, slot));
        const RollbackSlot read = readRollbackSlot(profile, 2);
        QCOMPARE(read.masterConnection, slot.masterConnection);
        QCOMPARE(read.sourceConnection, slot.sourceConnection);
        QCOMPARE(read.fileName, slot.fileName);
        QCOMPARE(read.sql, slot.sql);
        QCOMPARE(read.table, slot.table);
        QCOMPARE(nextRollbackNumber(profile), 1);
    }

    // After ten updates the oldest entry makes room, round after round; the entry just written
    // is never the one overwritten next.
    void whenAllAreTakenTheOldestEntryMakesRoom() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        for (int n = 1; n <= 10; ++n)
            QVERIFY(saveRollbackEntry(profile, slotNumbered(n)));
        for (int round = 0; round < 15; ++round) {
            const int expected = round % 10 + 1;
            QCOMPARE(nextRollbackNumber(profile), expected);
            RollbackSlot newer = slotNumbered(expected);
            newer.sql = "update " + std::to_string(round);
            QVERIFY(saveRollbackEntry(profile, newer));
        }
        // The ten most recent updates are the ones kept.
        for (int n = 1; n <= 10; ++n)
            QCOMPARE(readRollbackSlot(profile, n).sql, "update " + std::to_string(n <= 5 ? n + 9 : n - 1));
    }

    void rolledBackEntriesAreReusedFirst() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        for (int n = 1; n <= 10; ++n)
            QVERIFY(saveRollbackEntry(profile, slotNumbered(n)));
        QVERIFY(markRolledBack(profile, 7));
        QVERIFY(markRolledBack(profile, 4));
        QCOMPARE(nextRollbackNumber(profile), 4);
        QVERIFY(saveRollbackEntry(profile, slotNumbered(4)));
        QCOMPARE(nextRollbackNumber(profile), 7);
        QVERIFY(saveRollbackEntry(profile, slotNumbered(7)));
        QCOMPARE(nextRollbackNumber(profile), 1);
    }

    void entriesWrittenByHandWithoutAnOrderGoBySlot() {
        AppSandbox sandbox;
        std::string text;
        for (int n = 1; n <= 10; ++n)
            text +=
                "[ROLLBACK_NUMBER_" + std::to_string(n) + "]\nROLLBACK_NUMBER=" + std::to_string(n) + "\n";
        sandbox.writeSettings(text);
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(nextRollbackNumber(profile), 1);
        QVERIFY(saveRollbackEntry(profile, slotNumbered(1)));
        QCOMPARE(nextRollbackNumber(profile), 2);
    }

    // One instance records its updates while another saves its settings, as at the end of a
    // session: every entry survives.
    void entriesSurviveAnotherInstanceSavingItsSettings() {
        AppSandbox sandbox;
        const auto file = sandbox.paths().iniFilePath;
        std::thread copying([&file] {
            ProfileFile profile(file);
            for (int i = 0; i < 8; ++i) {
                RollbackSlot slot = slotNumbered(nextRollbackNumber(profile));
                slot.sql = "update " + std::to_string(i);
                saveRollbackEntry(profile, slot);
            }
        });
        std::thread saving([&file] {
            ProfileFile profile(file);
            for (int i = 0; i < 200; ++i)
                profile.writeString("frmMain", "Left", std::to_string(i));
        });
        copying.join();
        saving.join();
        ProfileFile profile(file);
        for (int n = 1; n <= 8; ++n)
            QCOMPARE(readRollbackSlot(profile, n).sql, "update " + std::to_string(n - 1));
        QCOMPARE(profile.readString("frmMain", "Left", "", kSettingsBuffer), std::string("199"));
    }

    // Two instances recording updates at once: the slot is chosen under the same lock as the
    // write, so no two entries land in one slot.
    void twoInstancesNeverWriteIntoOneSlot() {
        AppSandbox sandbox;
        const auto file = sandbox.paths().iniFilePath;
        auto instance = [&file](const std::string& name) {
            ProfileFile profile(file);
            for (int i = 0; i < 5; ++i) {
                RollbackSlot slot = slotNumbered(0);
                slot.sql = name + std::to_string(i);
                addRollbackEntry(profile, slot);
            }
        };
        std::thread first(instance, "first ");
        std::thread second(instance, "second ");
        first.join();
        second.join();
        ProfileFile profile(file);
        QStringList statements;
        for (int n = 1; n <= 10; ++n) {
            const RollbackSlot slot = readRollbackSlot(profile, n);
            QCOMPARE(slot.number, n);
            statements << QString::fromStdString(slot.sql);
        }
        statements.sort();
        QCOMPARE(statements, (QStringList{"first 0", "first 1", "first 2", "first 3", "first 4", "second 0",
                                          "second 1", "second 2", "second 3", "second 4"}));
    }

    void theFileNameCarriesTableAndSide() {
        QCOMPARE(rollbackFileName("/app", "Orders", true).string(),
                 std::string("/app/'Orders_ORIGINAL'.xml"));
        QCOMPARE(rollbackFileName("/app", "a/b", false).string(), std::string("/app/'a_b_MODIFIED'.xml"));
    }
};

DBSIFT_APP_TEST_MAIN(RollbackSlotsTest)
#include "RollbackSlotsTest.moc"
