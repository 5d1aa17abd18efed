// SPDX-License-Identifier: MIT
// Copying a record through the data view's buttons: an overwrite with its undo entry, an insert
// without one, copying the counterpart back, and a write the database refuses.
#include "AppTestMain.h"
#include "DataViewFixture.h"
#include "shell/FirstStart.h"
#include "sync/RollbackSlots.h"
#include "sync/frmUndo.h"

#include <QAction>
#include <QScrollBar>
#include <QTreeWidget>

using namespace dbsift;
using dbsift::test::AppSandbox;
using dbsift::test::sqliteQuery;

namespace {

const std::string kTable =
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40) UNIQUE, city VARCHAR(40));\n";
const std::string kOriginal = kTable + "INSERT INTO people VALUES (1, 'Ann', 'Oslo'), (2, 'Bo', 'Rome');\n";
const std::string kModified = kTable + "INSERT INTO people VALUES (1, 'Ann', 'Bergen');\n";

std::string database(AppSandbox& sandbox, const char* name) {
    return (sandbox.folder() + "/" + name).toStdString();
}

} // namespace

class CopyRecordTest : public QObject {
    Q_OBJECT
private slots:
    void theSelectedRecordOverwritesItsCounterpartAndCanBeRolledBack() {
        AppSandbox sandbox;
        frmMain& form = test::startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(test::compareTable(form, "people"));
        form.cmdFirstDiff_Click();
        QCOMPARE(form.getSelectedRecordNumber(), 1);
        QCOMPARE(form.getSelectedRelatedRecordNumber(), 1);
        QVERIFY(test::button(form, "cmdCopyRecorUp").isEnabled());
        test::button(form, "cmdCopyRecord").click();
        const std::string modified = database(sandbox, "modified.db");
        QCOMPARE(sqliteQuery(modified, "select * from people"), std::string("1|Ann|Oslo\n"));
        QVERIFY(sandbox.frame()->panelText(2).contains("F5"));
        QVERIFY(sandbox.prompter().messages().isEmpty());
        QCOMPARE(readRollbackSlot(form.settingsFile(), 1).table, std::string("people"));

        // Undo Copy, then Roll Back on the entry.
        sandbox.prompter().queueConfirm(true);
        test::button(form, "cmdUndo").click();
        auto* undo = form.findChild<frmUndo*>("frmUndo");
        QVERIFY(undo->isVisible());
        undo->findChild<QComboBox*>("cboRollBackNumber")->setCurrentIndex(0);
        test::button(*undo, "cmdRollBack").click();
        QCOMPARE(sqliteQuery(modified, "select * from people"), std::string("1|Ann|Bergen\n"));
    }

    void aRecordWithoutCounterpartIsAddedWithoutAnUndoEntry() {
        AppSandbox sandbox;
        frmMain& form = test::startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(test::compareTable(form, "people"));
        form.cmdLast_Click();
        QCOMPARE(form.getSelectedRecordNumber(), 2);
        QVERIFY(form.getApplicationVariables().getIsOriginal());
        QVERIFY(!test::button(form, "cmdCopyRecorUp").isEnabled());
        const std::string settings = sandbox.settingsText();
        form.findChild<QAction*>("mnuCopyModifiedpopup")->trigger();
        QCOMPARE(sqliteQuery(database(sandbox, "modified.db"), "select * from people order by id"),
                 std::string("1|Ann|Bergen\n2|Bo|Rome\n"));
        QCOMPARE(sandbox.settingsText(), settings);
    }

    void copyingTheCounterpartBackKeepsTheSideFlag() {
        AppSandbox sandbox;
        frmMain& form = test::startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(test::compareTable(form, "people"));
        form.cmdFirstDiff_Click();
        QVERIFY(form.getApplicationVariables().getIsOriginal());
        form.findChild<QAction*>("mnuCopyOriginalpopup")->trigger();
        QVERIFY(form.getApplicationVariables().getIsOriginal());
        QCOMPARE(sqliteQuery(database(sandbox, "original.db"), "select * from people order by id"),
                 std::string("1|Ann|Bergen\n2|Bo|Rome\n"));
        QCOMPARE(sqliteQuery(database(sandbox, "modified.db"), "select * from people"),
                 std::string("1|Ann|Bergen\n"));
        QVERIFY(readRollbackSlot(form.settingsFile(), 1).fileName.find("_MODIFIED'.xml") !=
                std::string::npos);

        // From a Modified entry the counterpart is the Original record.
        form.cmdNext_Click();
        QVERIFY(!form.getApplicationVariables().getIsOriginal());
        sqliteQuery(database(sandbox, "original.db"), "update people set city='Oslo' where id=1");
        test::button(form, "cmdCopyRecorUp").click();
        QVERIFY(!form.getApplicationVariables().getIsOriginal());
        QCOMPARE(sqliteQuery(database(sandbox, "modified.db"), "select * from people"),
                 std::string("1|Ann|Oslo\n"));
    }

    void aWriteTheDatabaseRefusesChangesNothingAndSaysWhy() {
        AppSandbox sandbox;
        frmMain& form = test::startOnTwoDatabases(sandbox, kOriginal,
                                                  kTable + "INSERT INTO people VALUES (3, 'Bo', 'Paris');\n");
        QVERIFY(test::compareTable(form, "people"));
        // Original record 2 (Bo, Rome) has no counterpart by key; adding it breaks the unique name.
        for (int step = 0; step < 5 && form.getSelectedRecordNumber() != 2; ++step)
            form.cmdNext_Click();
        QCOMPARE(form.getSelectedRecordNumber(), 2);
        QVERIFY(form.getApplicationVariables().getIsOriginal());
        const std::string before = sqliteQuery(database(sandbox, "modified.db"), "select * from people");
        test::button(form, "cmdCopyRecord").click();
        QCOMPARE(sqliteQuery(database(sandbox, "modified.db"), "select * from people"), before);
        const QStringList messages = sandbox.prompter().messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.front().contains("UNIQUE constraint failed: people.name"),
                 qPrintable(messages.front()));
        QVERIFY(sandbox.frame()->panelText(2).contains("nothing was changed"));
    }

    // The undo entry cannot be kept (here its settings file cannot be locked, which no file
    // mode stops for root): the overwrite does not happen, and the window says why.
    void anOverwriteWhoseUndoEntryCannotBeKeptDoesNotHappen() {
        AppSandbox sandbox;
        frmMain& form = test::startOnTwoDatabases(sandbox, kOriginal, kModified);
        QVERIFY(test::compareTable(form, "people"));
        form.cmdFirstDiff_Click();
        const std::filesystem::path lock = form.settingsFile().path().string() + ".lock";
        QVERIFY(std::filesystem::create_directory(lock));
        test::button(form, "cmdCopyRecord").click();
        std::filesystem::remove(lock);
        QCOMPARE(sqliteQuery(database(sandbox, "modified.db"), "select * from people"),
                 std::string("1|Ann|Bergen\n"));
        const QStringList messages = sandbox.prompter().messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.front().contains("undo entry could not be written"), qPrintable(messages.front()));
        QVERIFY(sandbox.frame()->panelText(2).contains("nothing was changed"));
        QVERIFY(readRollbackSlot(form.settingsFile(), 1).table.empty());
    }

    // Another database picked from the recent list after a comparison: the old result and its
    // writes go, the trees list the new database, and a table chosen there offers its own fields.
    void aChangeOfDatabaseDropsTheResultAndItsWrites() {
        AppSandbox sandbox;
        const std::string other = sandbox.createDatabase(
            "other.db", "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), email VARCHAR(40));\n"
                        "CREATE TABLE extra (id INTEGER PRIMARY KEY);\n"
                        "INSERT INTO people VALUES (1, 'Ann', 'a@x');\n");
        frmMain& form = test::startOnTwoDatabases(sandbox, kOriginal, kModified);
        auto* recent = form.findChild<QComboBox*>("cboMasterRecentConn");
        recent->addItem(QString::fromStdString(AppSandbox::fileConnection(other)));
        QVERIFY(test::compareTable(form, "people"));
        form.cmdFirstDiff_Click();
        QVERIFY(test::button(form, "cmdCopyRecord").isEnabled());
        test::grid(form, "msFlexGridDataDiff").verticalScrollBar()->setValue(1);

        const int index = recent->findText(QString::fromStdString(AppSandbox::fileConnection(other)));
        QVERIFY(index >= 0);
        recent->setCurrentIndex(index);
        emit recent->activated(index);
        QCOMPARE(form.getMasterConnectionString(), AppSandbox::fileConnection(other));
        QTRY_COMPARE(form.findChild<QTreeWidget*>("TreeView1")->topLevelItemCount(), 2);
        QVERIFY(!test::button(form, "cmdCopyRecord").isEnabled());
        QVERIFY(!test::button(form, "cmdCopyRecorUp").isEnabled());
        QVERIFY(!form.findChild<QAction*>("mnuCopyModifiedpopup")->isEnabled());
        QCOMPARE(test::differenceList(form).count(), 0);
        QCOMPARE(test::grid(form, "msFlexGridDataDiff").textMatrix(1, 1), QString());
        test::button(form, "cmdCopyRecord").click();
        QCOMPARE(sqliteQuery(database(sandbox, "modified.db"), "select * from people"),
                 std::string("1|Ann|Bergen\n"));

        // The field list is the new database's, and a new result starts at its top.
        form.setTableName("people");
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        QVERIFY(dialog.compareTableFromName("people", form.Sifcore1().getMasterDataManager(),
                                            form.Sifcore1().getSourceDataManager()));
        auto* fields = dialog.findChild<QListWidget*>("lstFields");
        QStringList names;
        for (int i = 0; i < fields->count(); ++i)
            names << fields->item(i)->text();
        QCOMPARE(names, QStringList({"id", "name"}));
        QVERIFY(test::compareTable(form, "people"));
        // Over id and name the two agree: nothing to write.
        QVERIFY(!test::button(form, "cmdCopyRecord").isEnabled());
    }

    // A person's session on the sample databases: overwrite a record, compare again and see the
    // difference gone, restart, roll it back from the undo list, compare again and see it back.
    void aSessionOnTheSampleDatabases() {
        AppSandbox sandbox;
        QCOMPARE(prepareFirstStart(sandbox.paths()), std::string());
        frmMain* form = &sandbox.start().mainForm();
        QVERIFY(test::compareTable(*form, "customers"));
        const QStringList before = test::entries(*form);
        for (int step = 0; step < 10 && form->getSelectedRelatedRecordNumber() < 1; ++step)
            form->cmdNext_Click();
        QVERIFY(form->getSelectedRelatedRecordNumber() > 0);
        const QString chosen = test::differenceList(*form).currentText();
        test::button(*form, "cmdCopyRecord").click();
        QVERIFY(test::compareTable(*form, "customers"));
        const QStringList after = test::entries(*form);
        QCOMPARE(after.size(), before.size() - 2);

        sandbox.stop();
        form = &sandbox.start().mainForm();
        sandbox.prompter().queueConfirm(true);
        form->cmdUndo_Click();
        auto* undo = form->findChild<frmUndo*>("frmUndo");
        undo->findChild<QComboBox*>("cboRollBackNumber")->setCurrentIndex(0);
        test::button(*undo, "cmdRollBack").click();
        QVERIFY(test::compareTable(*form, "customers"));
        QCOMPARE(test::entries(*form), before);
        QVERIFY(test::entries(*form).contains(chosen));
    }
};

DBSIFT_APP_TEST_MAIN(CopyRecordTest)
#include "CopyRecordTest.moc"
