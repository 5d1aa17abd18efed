// SPDX-License-Identifier: MIT
// Choosing a table and its fields: the field list dialog reached from a tree click, what it
// offers, its selection rules and the field list it hands to the run.
#include "AppTestMain.h"
#include "DataViewFixture.h"

#include <QLabel>

#include <QCheckBox>
#include <QComboBox>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

using namespace dbsift;
using namespace dbsift::test;

namespace {

const char* const kShop =
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n"
    "CREATE TABLE pets (tag INTEGER PRIMARY KEY, kind VARCHAR(20));\n"
    "INSERT INTO people VALUES (1, 'Ann', 'Oslo');\n"
    "INSERT INTO pets VALUES (7, 'cat');\n";

/// Clicks a table node of the Original tree; act runs on the field list dialog while it is
/// shown modally and must close it.
void clickTable(frmMain& form, const QString& table,
                const std::function<void(frmFieldListForDataCompare&)>& act) {
    auto* tree = form.findChild<QTreeWidget*>("TreeView1");
    const QList<QTreeWidgetItem*> found = tree->findItems(table, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    bool acted = false;
    QTimer::singleShot(0, &form, [&] {
        acted = true;
        act(form.fieldListDialog());
        form.fieldListDialog().hide(); // also when act failed half-way
    });
    tree->setCurrentItem(found.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found.first()).center());
    QVERIFY(acted);
}

QStringList listed(frmFieldListForDataCompare& dialog) {
    QStringList texts;
    auto* list = dialog.findChild<QListWidget*>("lstFields");
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text() + (list->item(i)->isSelected() ? "*" : "");
    return texts;
}

} // namespace

class FieldListTest : public QObject {
    Q_OBJECT
private slots:
    void sameTableKeepsItsListAndSelectionAnotherReplacesIt() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kShop, kShop);
        clickTable(form, "people", [](frmFieldListForDataCompare& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Field List for people"));
            QCOMPARE(listed(dialog), QStringList({"id", "name", "city"}));
            QVERIFY(!button(dialog, "cmdCompare").isEnabled());
            dialog.findChild<QListWidget*>("lstFields")->item(1)->setSelected(true);
            QVERIFY(button(dialog, "cmdCompare").isEnabled());
            // Escape closes the dialog and runs nothing.
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QVERIFY(!form.fieldListDialog().isVisible());
        QVERIFY(!form.findChild<QWidget*>("frameDataGrids")->isVisible());

        clickTable(form, "people", [](frmFieldListForDataCompare& dialog) {
            QVERIFY(!dialog.getTableChanged());
            QCOMPARE(listed(dialog), QStringList({"id", "name*", "city"}));
            dialog.cmdCancel_Click();
        });
        clickTable(form, "pets", [](frmFieldListForDataCompare& dialog) {
            QVERIFY(dialog.getTableChanged());
            QCOMPARE(dialog.windowTitle(), QString("Field List for pets"));
            QCOMPARE(listed(dialog), QStringList({"tag", "kind"}));
            dialog.cmdCancel_Click();
        });
        QVERIFY(sandbox.prompter().takeMessages().isEmpty());
    }

    void selectionRulesAndTheFieldListForm() {
        AppSandbox sandbox;
        const char* script = "CREATE TABLE t (A INTEGER PRIMARY KEY, \"B C\" VARCHAR(10), D VARCHAR(10));\n";
        frmMain& form = startOnTwoDatabases(sandbox, script, script);
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        QVERIFY(dialog.compareTableFromName("t", form.Sifcore1().getMasterDataManager(),
                                            form.Sifcore1().getSourceDataManager()));
        auto* list = dialog.findChild<QListWidget*>("lstFields");
        QCOMPARE(dialog.getFieldList(), std::string());
        list->item(0)->setSelected(true);
        list->item(1)->setSelected(true);
        QCOMPARE(dialog.getFieldList(), std::string("[A],[B C]"));

        auto* check = dialog.findChild<QCheckBox*>("chkSelectAll");
        check->click();
        QCOMPARE(dialog.getFieldList(), std::string("[A],[B C],[D]"));
        check->click();
        QCOMPARE(dialog.getFieldList(), std::string());
        QVERIFY(!button(dialog, "cmdCompare").isEnabled());
        button(dialog, "cmdSelectAll").click();
        QCOMPARE(dialog.getFieldList(), std::string("[A],[B C],[D]"));
        QVERIFY(button(dialog, "cmdCompare").isEnabled());
        QVERIFY(form.getCanRunReport());
    }

    // The click clears the result shown: closing the field list without a compare leaves nothing
    // of it to step through or to copy.
    void aFieldListClosedWithoutACompareLeavesNoActionOnTheFormerResult() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(3), peopleScript(3, "m"));
        QVERIFY(compareTable(form, "people"));
        QVERIFY(button(form, "cmdCopyRecord").isEnabled());
        QVERIFY(!sandbox.frame()->panelText(2).isEmpty());
        clickTable(form, "people", [](frmFieldListForDataCompare& dialog) { dialog.cmdCancel_Click(); });
        for (const char* name : {"cmdCopyRecord", "cmdCopyRecorUp", "cmdNext", "cmdLast", "cmdGetMore"})
            QVERIFY2(!button(form, name).isEnabled(), name);
        QCOMPARE(differenceList(form).count(), 0);
        QCOMPARE(sandbox.frame()->panelText(1), QString());
        QCOMPARE(sandbox.frame()->panelText(2), QString());
    }

    void aTableWithoutComparableSharedFieldsIsRefused() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, "CREATE TABLE pics (img BLOB, note VARCHAR(10));\n",
                                            "CREATE TABLE pics (img BLOB, label VARCHAR(10));\n");
        QVERIFY(!compareTable(form, "pics"));
        QCOMPARE(sandbox.prompter().takeMessages(),
                 QStringList({"There are no compatible fields to compare for pics"}));
        QVERIFY(!form.getCanRunReport());
        QVERIFY(!button(form, "cmdCreateHTMLReport").isEnabled());
        QVERIFY(!form.findChild<QAction*>("cmdViewReport")->isEnabled());
    }

    void theFieldsLeftOutAreNamedWithTheReason() {
        AppSandbox sandbox;
        frmMain& form =
            startOnTwoDatabases(sandbox, "CREATE TABLE pics (id INTEGER, img BLOB, note VARCHAR(10));\n",
                                "CREATE TABLE pics (id INTEGER, img BLOB, label VARCHAR(10));\n");
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        QVERIFY(dialog.compareTableFromName("pics", form.Sifcore1().getMasterDataManager(),
                                            form.Sifcore1().getSourceDataManager()));
        auto* list = dialog.findChild<QListWidget*>("lstFields");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("id"));
        auto* note = dialog.findChild<QLabel*>("lblNotCompared");
        QCOMPARE(note->text(),
                 QString("Not compared: img (its type cannot be compared), note (not in the Modified "
                         "database), label (not in the Original database)"));
        QVERIFY(!note->isHidden());
    }

    void aFieldNamedWithABracketIsCompared() {
        AppSandbox sandbox;
        const std::string table = "CREATE TABLE t (id INTEGER PRIMARY KEY, \"a]b\" VARCHAR(10));\n";
        frmMain& form = startOnTwoDatabases(sandbox, table + "INSERT INTO t VALUES (1, 'x');\n",
                                            table + "INSERT INTO t VALUES (1, 'y');\n");
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        QVERIFY(dialog.compareTableFromName("t", form.Sifcore1().getMasterDataManager(),
                                            form.Sifcore1().getSourceDataManager()));
        button(dialog, "cmdSelectAll").click();
        QCOMPARE(dialog.getFieldList(), std::string("[id],[a]]b]"));
        dialog.cmdCompare_Click();
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList());
        QCOMPARE(differenceList(form).count(), 2); // the record on each side
    }

    void aTableDroppedBeforeTheCompareIsAFailureNotAnEmptyResult() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kShop, kShop);
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        QVERIFY(dialog.compareTableFromName("pets", form.Sifcore1().getMasterDataManager(),
                                            form.Sifcore1().getSourceDataManager()));
        // Another program drops the table while the field list is open.
        sqliteQuery(sandbox.createDatabase("modified.db", ""), "DROP TABLE pets");
        button(dialog, "cmdSelectAll").click();
        dialog.cmdCompare_Click();
        const QStringList messages = sandbox.prompter().takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith("The records of pets could not be compared."),
                 qPrintable(messages[0]));
        QVERIFY(messages[0].contains("Modified database:"));
        QVERIFY(messages[0].contains("no such table"));
        QCOMPARE(sandbox.frame()->panelText(2), QString("Compare failed."));
        QVERIFY(!form.findChild<QAction*>("cmdViewReport")->isEnabled());
    }

    void aKeyChosenForATablePairsItsRecordsAndStaysWithThatTable() {
        AppSandbox sandbox;
        const std::string lines =
            std::string(kShop) + "CREATE TABLE lines (order_id INTEGER, line_no INTEGER, item VARCHAR(10));\n"
                                 "INSERT INTO lines VALUES (7, 1, 'pen');\n";
        frmMain& form = startOnTwoDatabases(sandbox, lines + "INSERT INTO lines VALUES (7, 2, 'ink');\n",
                                            lines + "INSERT INTO lines VALUES (7, 2, 'nib');\n");
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        auto* key = dialog.findChild<QComboBox*>("cboKey");
        auto open = [&](const std::string& table) {
            QVERIFY(dialog.compareTableFromName(table, form.Sifcore1().getMasterDataManager(),
                                                form.Sifcore1().getSourceDataManager()));
            button(dialog, "cmdSelectAll").click();
        };
        open("lines");
        QCOMPARE(key->currentText(), QString()); // its own key, of which it has none
        QCOMPARE(key->count(), 4);               // that, or one of the three fields

        // A key column not compared is refused, and what was typed stays.
        key->setCurrentText("order_id, nope");
        dialog.cmdCompare_Click();
        QCOMPARE(sandbox.prompter().takeMessages(),
                 QStringList({"The key column nope is not among the fields selected to compare."}));
        QCOMPARE(key->currentText(), QString("order_id, nope"));

        key->setCurrentText(" order_id ,line_no");
        dialog.cmdCompare_Click();
        const sifkit::DataResult& result = form.Sifcore1().lastDataResult();
        QCOMPARE(result.keyColumns, (std::vector<std::string>{"order_id", "line_no"}));
        QCOMPARE(result.original.size(), std::size_t{1});
        QVERIFY(result.counterpartOf(result.original.front()) != nullptr);
        QCOMPARE(form.currentComparison()->data.key, (std::vector<std::string>{"order_id", "line_no"}));

        // Another table keeps its primary key; the first keeps the key chosen for it.
        open("pets");
        QCOMPARE(key->currentText(), QString());
        open("lines");
        QCOMPARE(key->currentText(), QString("order_id, line_no"));

        // Another Original database: its tables are paired by their own keys again.
        const std::string other = sandbox.createDatabase("other.db", lines);
        auto* recent = form.findChild<QComboBox*>("cboMasterRecentConn");
        recent->addItem(QString::fromStdString(AppSandbox::fileConnection(other)));
        recent->setCurrentIndex(recent->count() - 1);
        emit recent->activated(recent->count() - 1);
        QTRY_COMPARE(form.findChild<QTreeWidget*>("TreeView1")->topLevelItemCount(), 3);
        open("lines");
        QCOMPARE(key->currentText(), QString());
    }

    void aRunWithoutDifferencesSaysSo() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kShop, kShop);
        QVERIFY(compareTable(form, "people"));
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList({"There are no differences to display"}));
        QCOMPARE(sandbox.frame()->panelText(2), QString("No changes found."));
        QVERIFY(!form.findChild<QAction*>("cmdViewReport")->isEnabled());
    }
};

DBSIFT_APP_TEST_MAIN(FieldListTest)
#include "FieldListTest.moc"
