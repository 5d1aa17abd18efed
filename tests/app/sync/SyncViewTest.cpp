// SPDX-License-Identifier: MIT
// Bringing chosen rows of the paired view into line: the script preview, the apply with its one
// undo entry, Roll Back of the whole apply, a row changed meanwhile, and a change of database.
#include "AppTestMain.h"
#include "DataViewFixture.h"
#include "data/EveryTableView.h"
#include "data/PairedView.h"
#include "shell/FirstStart.h"
#include "sync/RollbackSlots.h"
#include "sync/frmSyncScript.h"
#include "sync/frmUndo.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTreeWidget>

using namespace dbsift;
using namespace dbsift::test;

namespace {

/// Ann moved (changed), Bob left (only in the Original), Cy and Di joined (only in the Modified).
const std::string kTable =
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n";
const std::string kOriginal = kTable + "INSERT INTO people VALUES (1, 'Ann', 'Oslo'), (2, 'Bob', 'Rome');\n";
const std::string kModified = kTable + "INSERT INTO people VALUES (1, 'Ann', 'Rio'), (3, 'Cy', 'Oslo'), "
                                       "(4, 'Di', 'Baku');\n";
const std::string kRows = "select * from people order by id";

PairedView& pairedView(frmMain& form) {
    return *form.findChild<PairedView*>("framePairedView");
}

/// Ticks the check box of the view's row that shows the text in its first cell.
void choose(PairedView& view, const QString& kind, int nth = 0) {
    QAbstractItemModel& model = *view.table().model();
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.index(row, 0).data().toString() == kind && nth-- == 0) {
            QVERIFY(model.setData(model.index(row, 0), Qt::Checked, Qt::CheckStateRole));
            return;
        }
    QFAIL(qPrintable("no row " + kind));
}

std::string modifiedPath(AppSandbox& sandbox) {
    return (sandbox.folder() + "/modified.db").toStdString();
}

} // namespace

class SyncViewTest : public QObject {
    Q_OBJECT
private slots:
    void chosenRowsAreAppliedInOneStepThatRollsBack() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(compareTable(form, "people"));
        PairedView& view = pairedView(form);
        QVERIFY(!button(view, "cmdApplySync").isEnabled());
        choose(view, "Changed");
        choose(view, "Only in Modified", 1); // Di
        QCOMPARE(view.findChild<QLabel*>("lblChosen")->text(), QString("2 chosen"));
        QVERIFY(button(view, "cmdApplySync").isEnabled());

        const std::string before = sqliteQuery(modifiedPath(sandbox), kRows);
        sandbox.prompter().queueConfirm(true);
        button(view, "cmdApplySync").click();
        QCOMPARE(sqliteQuery(modifiedPath(sandbox), kRows), std::string("1|Ann|Oslo\n3|Cy|Oslo\n"));
        const QStringList asked = sandbox.prompter().takeMessages();
        QCOMPARE(asked.size(), 1); // the question, and no message after it
        QVERIFY2(
            asked[0].startsWith("Apply these changes to the Modified database modified.db?\n\nInserts: 0, "
                                "updates: 1, deletes: 1."),
            qPrintable(asked[0]));
        QVERIFY(sandbox.frame()->panelText(2).contains("0 inserted, 1 updated, 1 deleted in people"));
        // The table is compared again: the view shows what is left, nothing chosen.
        QCOMPARE(view.model().rowCount(), 2); // Bob only in the Original, Cy only in the Modified
        QVERIFY(!button(view, "cmdApplySync").isEnabled());

        const RollbackSlot slot = readRollbackSlot(form.settingsFile(), 1);
        QVERIFY(slot.sync);
        QCOMPARE(slot.table, std::string("people"));
        QVERIFY(std::filesystem::exists(slot.fileName));
        QVERIFY(sandbox.settingsText().find("0 inserted, 1 updated, 1 deleted in people") !=
                std::string::npos);

        sandbox.prompter().queueConfirm(true);
        button(form, "cmdUndo").click();
        auto* undo = form.findChild<frmUndo*>("frmUndo");
        undo->findChild<QComboBox*>("cboRollBackNumber")->setCurrentIndex(0);
        test::button(*undo, "cmdRollBack").click();
        QCOMPARE(sqliteQuery(modifiedPath(sandbox), kRows), before);
        QVERIFY(readRollbackSlot(form.settingsFile(), 1).rolledBack);
        QVERIFY(sandbox.prompter().allAnswersUsed());
    }

    void theScriptShowsWhatAnApplyWouldDoAndTheOtherDirection() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(compareTable(form, "people"));
        PairedView& view = pairedView(form);
        button(view, "cmdChooseShown").click();
        QCOMPARE(view.findChild<QLabel*>("lblChosen")->text(), QString("4 chosen"));
        auto* direction = view.findChild<QComboBox*>("cboSyncDirection");
        direction->setCurrentIndex(1); // make the Original like the Modified
        button(view, "cmdSyncScript").click();
        auto* dialog = form.findChild<frmSyncScript*>("frmSyncScript");
        QVERIFY(dialog && dialog->isVisible());
        const QString script = dialog->script();
        QVERIFY(script.contains("-- dbsift sync script: makes the Original database like the Modified."));
        QVERIFY(script.contains("INSERT INTO [people] ([id], [name], [city]) VALUES (3, 'Cy', 'Oslo');"));
        QVERIFY(script.contains("UPDATE [people] SET [city] = 'Rio' WHERE [id] = 1;"));
        QVERIFY(script.contains("DELETE FROM [people] WHERE [id] = 2;"));
        QVERIFY(dialog->findChild<QLabel*>("lblSyncSummary")
                    ->text()
                    .contains("Inserts: 2, updates: 1, deletes: 1."));

        const QString saved = sandbox.folder() + "/sync.sql";
        sandbox.prompter().queueFile(saved);
        button(*dialog, "cmdSaveSyncScript").click();
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), script);

        // Apply from the script: the Original becomes the Modified.
        sandbox.prompter().queueConfirm(true);
        button(*dialog, "cmdApplySyncScript").click();
        QVERIFY(!dialog->isVisible());
        const std::string original = (sandbox.folder() + "/original.db").toStdString();
        QCOMPARE(sqliteQuery(original, kRows), sqliteQuery(modifiedPath(sandbox), kRows));
    }

    void aRowChangedMeanwhileStopsTheApplyWithNothingWritten() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(compareTable(form, "people"));
        PairedView& view = pairedView(form);
        button(view, "cmdChooseShown").click();
        sqliteQuery(modifiedPath(sandbox), "update people set name = 'Dee' where id = 4");
        const std::string before = sqliteQuery(modifiedPath(sandbox), kRows);
        const std::string settings = sandbox.settingsText();
        sandbox.prompter().queueConfirm(true);
        QVERIFY(!form.applyChosenSync());
        QCOMPARE(sqliteQuery(modifiedPath(sandbox), kRows), before);
        const QStringList shown = sandbox.prompter().takeMessages();
        QCOMPARE(shown.size(), 2); // the question, then what went wrong
        QVERIFY2(shown[1].contains(
                     "row id = 4: it changed or was removed since the comparison. Nothing was written."),
                 qPrintable(shown[1]));
        QCOMPARE(sandbox.settingsText(), settings);
        // The view still shows the result, to choose again or compare again.
        QCOMPARE(view.model().rowCount(), 4);
        // Declined: nothing happens either.
        sandbox.prompter().queueConfirm(false);
        QVERIFY(!form.applyChosenSync());
        QCOMPARE(sqliteQuery(modifiedPath(sandbox), kRows), before);
    }

    void everyTableIsBroughtIntoLineInOneStep() {
        AppSandbox sandbox;
        const std::string pets = "CREATE TABLE pets (id INTEGER PRIMARY KEY, name TEXT);\n";
        frmMain& form =
            startOnTwoDatabases(sandbox, kOriginal + pets + "INSERT INTO pets VALUES (1, 'Rex');\n",
                                kModified + pets + "INSERT INTO pets VALUES (2, 'Tom');\n");
        form.compareEveryTable();
        auto* everyTable = form.findChild<EveryTableView*>("EveryTableView");
        QVERIFY(button(*everyTable, "cmdEveryTableApply").isEnabled());
        button(*everyTable, "cmdEveryTableScript").click();
        auto* dialog = form.findChild<frmSyncScript*>("frmSyncScript");
        QVERIFY(dialog->script().contains("--   people: 1 insert, 1 update, 2 deletes"));
        QVERIFY(dialog->script().contains("--   pets: 1 insert, 0 updates, 1 delete"));
        dialog->hide();

        sandbox.prompter().queueConfirm(true);
        button(*everyTable, "cmdEveryTableApply").click();
        const std::string original = (sandbox.folder() + "/original.db").toStdString();
        for (const char* table : {"people", "pets"}) {
            const std::string rows = std::string("select * from ") + table + " order by id";
            QCOMPARE(sqliteQuery(modifiedPath(sandbox), rows), sqliteQuery(original, rows));
        }
        // Compared again: nothing left to bring into line.
        QVERIFY(!button(*everyTable, "cmdEveryTableApply").isEnabled());
        QCOMPARE(readRollbackSlot(form.settingsFile(), 1).table, std::string("people, pets"));
    }

    void aChangeOfDatabaseTakesTheChoiceAway() {
        AppSandbox sandbox;
        const std::string other = sandbox.createDatabase("other.db", kModified);
        frmMain& form = startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(compareTable(form, "people"));
        PairedView& view = pairedView(form);
        button(view, "cmdChooseShown").click();
        auto* recent = form.findChild<QComboBox*>("cboSourceRecentConn");
        recent->addItem(QString::fromStdString(AppSandbox::fileConnection(other)));
        const int index = recent->count() - 1;
        recent->setCurrentIndex(index);
        emit recent->activated(index);
        QTRY_COMPARE(view.model().rowCount(), 0);
        QVERIFY(!button(view, "cmdApplySync").isEnabled());
        QVERIFY(!button(view, "cmdSyncScript").isEnabled());
        QCOMPARE(sqliteQuery(other, kRows), std::string("1|Ann|Rio\n3|Cy|Oslo\n4|Di|Baku\n"));
    }
};

DBSIFT_APP_TEST_MAIN(SyncViewTest)
#include "SyncViewTest.moc"
