// SPDX-License-Identifier: MIT
// Overwriting a record and rolling it back from the undo list, in the same run and in a later
// one; entries that cannot be rolled back are refused and change nothing.
#include "AppTestMain.h"
#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "sync/RollbackSlots.h"
#include "sync/frmUndo.h"

#include <sifkit/Sifcore.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using namespace dbsift;
using dbsift::test::AppSandbox;
using dbsift::test::sqliteQuery;

namespace {

struct Pair {
    std::string original;
    std::string modified;
};

Pair startOnPeople(AppSandbox& sandbox) {
    const Pair pair{
        sandbox.createDatabase("o.db", "create table people(id integer primary key, name text, city text);"
                                       "insert into people values(1,'Ann','Oslo');"),
        sandbox.createDatabase("m.db", "create table people(id integer primary key, name text, city text);"
                                       "insert into people values(1,'Ann','Bergen');")};
    sandbox.writeSettings(
        "[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + AppSandbox::fileConnection(pair.original) +
        "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + AppSandbox::fileConnection(pair.modified) +
        "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n");
    sandbox.start();
    return pair;
}

/// Overwrites the Modified record 1 with the Original record 1.
bool overwriteModified(frmMain& form) {
    test::compareDataQuietly(form, "people", "[id],[name],[city]");
    form.getApplicationVariables().setIsOriginal(true);
    form.positionDataManagers(true, 1, 1);
    return form.updateRecordWithRollback(form.Sifcore1().getMasterDataManager(),
                                         form.Sifcore1().getSourceDataManager());
}

/// Opens the undo list and rolls back its line for slot n.
void rollBackFromTheList(AppSandbox& sandbox, int slot) {
    frmMain& form = sandbox.form();
    form.cmdUndo_Click();
    auto* dialog = form.findChild<frmUndo*>("frmUndo");
    QVERIFY(dialog && dialog->isVisible());
    auto* list = dialog->findChild<QComboBox*>("cboRollBackNumber");
    for (int i = 0; i < list->count(); ++i)
        if (frmUndo::slotOfLine(list->itemText(i)) == slot)
            list->setCurrentIndex(i);
    QVERIFY(list->currentIndex() >= 0);
    dialog->findChild<QPushButton*>("cmdRollBack")->click();
}

} // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void entriesThatCannotBeRolledBackAreRefused() {
        AppSandbox sandbox;
        const Pair pair = startOnPeople(sandbox);
        frmMain& form = sandbox.form();
        QVERIFY(overwriteModified(form));
        // A second update of the same table and side writes the rollback file again: the first
        // entry no longer describes it.
        sqliteQuery(pair.original, "update people set city='Rome'");
        QVERIFY(overwriteModified(form));
        QCOMPARE(sqliteQuery(pair.modified, "select city from people"), std::string("Rome\n"));
        // The file's own id tells it apart from the one the entry names, whatever its time stamp.
        sandbox.prompter().reset();
        sandbox.prompter().queueConfirm(true);
        rollBackFromTheList(sandbox, 1);
        QVERIFY(sandbox.prompter().messages().last().contains("written again by a later update"));
        QCOMPARE(sqliteQuery(pair.modified, "select city from people"), std::string("Rome\n"));

        // A missing file.
        QFile::remove(QString::fromStdString(readRollbackSlot(form.settingsFile(), 2).fileName));
        rollBackFromTheList(sandbox, 2);
        QVERIFY(sandbox.prompter().messages().last().contains("is missing"));
        QCOMPARE(sqliteQuery(pair.modified, "select city from people"), std::string("Rome\n"));
        QVERIFY(sandbox.prompter().allAnswersUsed());
    }

    void declinedConfirmationChangesNothing() {
        AppSandbox sandbox;
        const Pair pair = startOnPeople(sandbox);
        QVERIFY(overwriteModified(sandbox.form()));
        sandbox.prompter().queueConfirm(false);
        rollBackFromTheList(sandbox, 1);
        QCOMPARE(sqliteQuery(pair.modified, "select city from people"), std::string("Oslo\n"));
        QVERIFY(!readRollbackSlot(sandbox.form().settingsFile(), 1).rolledBack);
    }

    // The Modified database is "m.db " and another database "m.db" sits beside it: a roll back in
    // a later run restores the record in "m.db " and leaves "m.db" alone.
    void aRollBackInALaterRunGoesToTheDatabaseItChanged() {
        AppSandbox sandbox;
        const std::string schema = "create table people(id integer primary key, name text, city text);";
        const std::string original =
            sandbox.createDatabase("o.db", schema + "insert into people values(1,'Ann','Oslo');");
        const std::string modified =
            sandbox.createDatabase("m.db ", schema + "insert into people values(1,'Ann','Bergen');");
        const std::string neighbour =
            sandbox.createDatabase("m.db", schema + "insert into people values(1,'Ann','Paris');");
        // As an earlier version wrote it, the blank unencoded at the end of the line.
        sandbox.writeSettings(
            "[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + AppSandbox::fileConnection(original) +
            "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + AppSandbox::fileConnection(modified) +
            "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n");
        frmMain& first = sandbox.start().mainForm();
        QCOMPARE(first.getSourceConnectionString(), AppSandbox::fileConnection(modified));
        QVERIFY(overwriteModified(first));
        QCOMPARE(sqliteQuery(modified, "select city from people"), std::string("Oslo\n"));
        QCOMPARE(sqliteQuery(neighbour, "select city from people"), std::string("Paris\n"));
        QCOMPARE(readRollbackSlot(first.settingsFile(), 1).sourceConnection,
                 AppSandbox::fileConnection(modified));
        sandbox.stop();

        frmMain& later = sandbox.start().mainForm();
        QCOMPARE(later.getSourceConnectionString(), AppSandbox::fileConnection(modified));
        sandbox.prompter().queueConfirm(true);
        rollBackFromTheList(sandbox, 1);
        QVERIFY(sandbox.prompter().allAnswersUsed());
        QCOMPARE(sqliteQuery(modified, "select city from people"), std::string("Bergen\n"));
        QCOMPARE(sqliteQuery(neighbour, "select city from people"), std::string("Paris\n"));
        QVERIFY(readRollbackSlot(later.settingsFile(), 1).rolledBack);
    }

    // The Modified data source is opened as user ann: the undo entry names the connection the
    // update wrote, with the user ID and without the password, and a roll back in a later run asks
    // for the password and uses it for that roll back only.
    void aRollBackInALaterRunAsksForThePasswordOfTheUserItNames() {
        AppSandbox sandbox;
        const std::string schema = "create table people(id integer primary key, name text, city text);";
        const std::string original =
            sandbox.createDatabase("o.db", schema + "insert into people values(1,'Ann','Oslo');");
        const std::string modified =
            sandbox.createDatabase("m.db", schema + "insert into people values(1,'Ann','Bergen');");
        test::writeSqliteDataSources({{"Staff", modified}});
        const std::string staff = "Provider=MSDASQL;Persist Security Info=False;Data Source=Staff";
        sandbox.writeSettings(
            "[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + AppSandbox::fileConnection(original) +
            "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + staff +
            "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n");
        frmMain& first = sandbox.start().mainForm();
        test::whenShown("frmSelectConn", [](QWidget& dialog) {
            dialog.findChild<QLineEdit*>("txtMasterDBUserID")->setText("ann");
            dialog.findChild<QLineEdit*>("txtSourcePassword")->setText("pw-1");
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        first.cmdSourceSelConn_Click();
        QCOMPARE(first.getSourceConnectionString(), staff + " ;User ID=ann ;Password=pw-1");
        QVERIFY(overwriteModified(first));
        QCOMPARE(sqliteQuery(modified, "select city from people"), std::string("Oslo\n"));
        QCOMPARE(readRollbackSlot(first.settingsFile(), 1).sourceConnection, staff + " ;User ID=ann");
        sandbox.stop();
        QVERIFY(sandbox.settingsText().find("pw-1") == std::string::npos);

        frmMain& later = sandbox.start().mainForm();
        sandbox.prompter().reset();
        sandbox.prompter().queueConfirm(true);
        sandbox.prompter().queuePassword("pw-1");
        rollBackFromTheList(sandbox, 1);
        QVERIFY(sandbox.prompter().allAnswersUsed());
        QVERIFY(sandbox.prompter().messages().contains("The password of user ann for Staff:"));
        QCOMPARE(sqliteQuery(modified, "select city from people"), std::string("Bergen\n"));
        QCOMPARE(later.getApplicationVariables().getSourcePassWord(), std::string());
        QVERIFY(later.getSourceConnectionString().find("pw-1") == std::string::npos);
        test::writeSqliteDataSources({});
    }

    void theListFollowsTheSlots() {
        AppSandbox sandbox;
        sandbox.writeSettings("[ROLLBACK_NUMBER_1]\nROLLBACK_NUMBER=1\nROLLBACK_SQL= select 1 \n"
                              "[ROLLBACK_NUMBER_3]\nROLLBACK_NUMBER=3\nROLLBACK_SQL=select 3\n"
                              "[ROLLBACK_NUMBER_4]\nROLLBACK_NUMBER=4\nROLLBACK_SQL=\n"
                              "[ROLLBACK_NUMBER_5]\nROLLBACK_NUMBER=5\nROLLBACK_SQL=select 5\n");
        frmMain& form = sandbox.start().mainForm();
        form.cmdUndo_Click();
        auto* list = form.findChild<frmUndo*>("frmUndo")->findChild<QComboBox*>("cboRollBackNumber");
        QCOMPARE(list->count(), 2);
        // Captions of its own, not the designer's "Form1" and "Combo1".
        QCOMPARE(form.findChild<frmUndo*>("frmUndo")->windowTitle(), QString("Undo Copy"));
        QCOMPARE(list->currentText(), QString());
        QCOMPARE(list->lineEdit()->placeholderText(), QString("Choose the update to roll back"));
        QCOMPARE(list->itemText(0), QString("ROLLBACK_NUMBER_1 select 1"));
        QCOMPARE(list->itemText(1), QString("ROLLBACK_NUMBER_3 select 3"));
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList({"\"select 1\"", "\"select 3\""}));
    }
};

DBSIFT_APP_TEST_MAIN(UndoTest)
#include "UndoTest.moc"
