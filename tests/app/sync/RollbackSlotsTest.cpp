// SPDX-License-Identifier: MIT
// The undo entries of the settings file: which slot the next update takes, what a slot holds.
#include "sync/RollbackSlots.h"
#include "AppTestMain.h"
#include "shell/ProfileFile.h"

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

    void aValueWithALineBreakIsRefusedAndTheFileKept() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QVERIFY(saveRollbackEntry(profile, slotNumbered(1)));
        const std::string before = sandbox.settingsText();
        RollbackSlot broken = slotNumbered(2);
        broken.sql = "SELECT [id] FROM [t] WHERE [v] = 'two\nlines'";
        QVERIFY(!saveRollbackEntry(profile, broken));
        QCOMPARE(sandbox.settingsText(), before);
    }

    void theFileNameCarriesTableAndSide() {
        QCOMPARE(rollbackFileName("/app", "Orders", true).string(),
                 std::string("/app/'Orders_ORIGINAL'.xml"));
        QCOMPARE(rollbackFileName("/app", "a/b", false).string(), std::string("/app/'a_b_MODIFIED'.xml"));
    }
};

DBSIFT_APP_TEST_MAIN(RollbackSlotsTest)
#include "RollbackSlotsTest.moc"
