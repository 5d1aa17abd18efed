// SPDX-License-Identifier: MIT
// The structure view over real SQLite files: the compare run into the object trees, the field
// structure grids with their colours and change count, and the run, refresh and swap commands.
#include "AppTestMain.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QProgressBar>
#include <QTreeWidget>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kRed = 0x0000FF;
constexpr const char* kMissing = "The master and source databases must be selected first";

/// Settings that preselect the two database files as Original and Modified.
std::string settingsFor(const std::string& original, const std::string& modified,
                        const std::string& extra = "") {
    return "[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n" + extra +
           "[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + AppSandbox::fileConnection(original) +
           "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + AppSandbox::fileConnection(modified) + "\n";
}

/// Starts the window on two databases made from the scripts.
frmMain& startOn(AppSandbox& sandbox, const std::string& originalSql, const std::string& modifiedSql,
                 const std::string& extraSettings = "") {
    const std::string original = sandbox.createDatabase("original.db", originalSql);
    const std::string modified = sandbox.createDatabase("modified.db", modifiedSql);
    sandbox.writeSettings(settingsFor(original, modified, extraSettings));
    return sandbox.start().mainForm();
}

FlexGrid& grid(frmMain& form, const char* name) {
    return *form.findChild<FlexGrid*>(name);
}

QTreeWidget& tree(frmMain& form, const char* name) {
    return *form.findChild<QTreeWidget*>(name);
}

/// The object names of a tree, sorted (the tree keeps the catalogue's order).
QStringList topLevelTexts(QTreeWidget& tree) {
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts << tree.topLevelItem(i)->text(0);
    texts.sort();
    return texts;
}

/// The grid row whose field (or, for an object, object name) column reads text; -1 without one.
int rowOf(FlexGrid& grid, const QString& text) {
    for (int row = 1; row < grid.rows(); ++row) {
        if (grid.textMatrix(row, 1) == text ||
            (grid.textMatrix(row, 1).isEmpty() && grid.textMatrix(row, 0) == text))
            return row;
    }
    return -1;
}

struct RowStyle {
    uint32_t colour;
    bool bold;
};

RowStyle styleOf(FlexGrid& grid, int row) {
    return {grid.cellForeColour(row, 2), grid.cellBold(row, 2)};
}

const std::string kPeople = "create table people(id integer primary key, name varchar(10), age integer);";

} // namespace

class StructureViewTest : public QObject {
    Q_OBJECT
private slots:
    // --- the structure grids ----------------------------------------------------------------

    void identicalDatabasesShowNoChangesInBlack() {
        AppSandbox sandbox;
        frmMain& form = startOn(sandbox, kPeople, kPeople);
        // The widths of the type and change columns follow the settings at every refresh.
        form.getApplicationVariables().setGridCol2(2400);
        form.getApplicationVariables().setGridCol3(3000);
        form.mnuRun_Click();
        QCOMPARE(form.frame().panelText(4), QString("No changes found"));
        QCOMPARE(form.frame().panelText(2), QString("Done"));
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2"}) {
            FlexGrid& g = grid(form, name);
            QCOMPARE(g.cols(), 4);
            QCOMPARE(g.colWidth(2), 2400);
            QCOMPARE(g.colWidth(3), 3000);
            // The table and its three fields, plus the header and one empty row.
            QCOMPARE(g.rows(), 6);
            QCOMPARE(g.textMatrix(0, 0), QString("DB Object Name"));
            QCOMPARE(g.textMatrix(0, 3), QString("Change Type"));
            QCOMPARE(g.textMatrix(1, 0), QString("people"));
            QCOMPARE(g.textMatrix(1, 2), QString("TABLE"));
            QCOMPARE(g.textMatrix(1, 3), QString("No Change"));
            QVERIFY(g.textMatrix(1, 1).isEmpty());
            QVERIFY(rowOf(g, "name") > 1);
            QVERIFY(g.textMatrix(rowOf(g, "name"), 0).isEmpty());
            for (int row = 1; row < 5; ++row) {
                QCOMPARE(styleOf(g, row).colour, 0u);
                QVERIFY(!styleOf(g, row).bold);
            }
        }
        QVERIFY(!form.findChild<QAction*>("cmdViewReport")->isEnabled());
        QVERIFY(tree(form, "TreeView1").isEnabled());
    }

    void changesAreColouredByKind() {
        AppSandbox sandbox;
        frmMain& form = startOn(sandbox, kPeople,
                                "create table people(id integer primary key, name varchar(40), age text,"
                                " email text);");
        form.mnuRun_Click();
        FlexGrid& original = grid(form, "MSFlexGrid1");
        FlexGrid& modified = grid(form, "MSFlexGrid2");

        // A field only on the Modified side: green and bold there, no row on the Original side.
        const int email = rowOf(modified, "email");
        QVERIFY(email > 0);
        QCOMPARE(modified.textMatrix(email, 3), QString("New Field"));
        QCOMPARE(styleOf(modified, email).colour, kGreen);
        QVERIFY(styleOf(modified, email).bold);
        QCOMPARE(modified.cellForeColour(email, 1), kGreen);
        QCOMPARE(rowOf(original, "email"), -1);

        // A different type: red and bold on both sides.
        for (FlexGrid* g : {&original, &modified}) {
            const int age = rowOf(*g, "age");
            QCOMPARE(g->textMatrix(age, 3), QString("Different Datatype"));
            QCOMPARE(styleOf(*g, age).colour, kRed);
            QVERIFY(styleOf(*g, age).bold);
            QVERIFY(g->cellBold(age, 1));
        }

        // Only the size differs: sizes are not compared, so black and plain.
        for (FlexGrid* g : {&original, &modified}) {
            const int name = rowOf(*g, "name");
            QCOMPARE(g->textMatrix(name, 3), QString("No Change"));
            QCOMPARE(styleOf(*g, name).colour, 0u);
            QVERIFY(!styleOf(*g, name).bold);
        }
        QCOMPARE(form.frame().panelText(4), QString("3 structural changes found."));
        QCOMPARE(form.getChangeCount(true), 1);
        QCOMPARE(form.getChangeCount(false), 2);
    }

    void differencesOnlyBlanksUnchangedRowsInPlace() {
        AppSandbox sandbox;
        frmMain& form = startOn(sandbox, kPeople,
                                "create table people(id integer primary key, name varchar(10),"
                                " age text);");
        form.getApplicationVariables().setShowDifferencesOnly(true);
        form.mnuRun_Click();
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2"}) {
            FlexGrid& g = grid(form, name);
            QCOMPARE(g.rows(), 6);
            QCOMPARE(g.textMatrix(0, 1), QString("Field Name"));
            int written = 0;
            for (int row = 1; row < g.rows(); ++row) {
                if (g.textMatrix(row, 2).isEmpty())
                    continue;
                ++written;
                QCOMPARE(g.textMatrix(row, 1), QString("age"));
                QCOMPARE(g.textMatrix(row, 3), QString("Different Datatype"));
            }
            QCOMPARE(written, 1);
        }
    }

    void treesListObjectsOfEachSide() {
        AppSandbox sandbox;
        frmMain& form = startOn(sandbox, kPeople + "create table gone(id integer);",
                                kPeople + "create table added(id integer);");
        form.tbRefresh_Click();
        QCOMPARE(topLevelTexts(tree(form, "TreeView1")), QStringList({"gone", "people"}));
        QCOMPARE(topLevelTexts(tree(form, "TreeView2")), QStringList({"added", "people"}));
        QTreeWidgetItem* added = tree(form, "TreeView2").findItems("added", Qt::MatchExactly).value(0);
        QVERIFY(added);
        QCOMPARE(added->checkState(0), Qt::Checked);
        QCOMPARE(added->foreground(0).color(), QColor(0, 0, 255));
        QCOMPARE(added->childCount(), 0);
        QVERIFY(!form.findChild<QAction*>("cmdViewReport")->isEnabled());
        QVERIFY(sandbox.prompter().takeMessages().isEmpty());
    }

    void emptyDatabaseGivesAnEmptyTreeWithoutError() {
        AppSandbox sandbox;
        frmMain& form = startOn(sandbox, kPeople, "create table t(id integer); drop table t;");
        sandbox.prompter().takeMessages();
        form.mnuRun_Click();
        QCOMPARE(tree(form, "TreeView2").topLevelItemCount(), 0);
        QCOMPARE(topLevelTexts(tree(form, "TreeView1")), QStringList({"people"}));
        QCOMPARE(grid(form, "MSFlexGrid1").textMatrix(1, 0), QString("people"));
        QVERIFY(grid(form, "MSFlexGrid2").textMatrix(0, 0).isEmpty());
        QVERIFY(sandbox.prompter().takeMessages().isEmpty());
    }

    void sameNamedObjectsKeepDistinctKeys() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        // No SQLite file holds two objects of one name; other databases do (a table and a view,
        // names differing in case under a case-insensitive catalogue), so the side's results are
        // given directly.
        auto items = std::make_shared<sifkit::ResultCollection>();
        for (const char* type : {"TABLE", "VIEW"}) {
            auto item = std::make_shared<sifkit::clsResultSet>();
            item->setDatabaseObjName("orders");
            item->setDataType(type);
            item->setChangeType("0");
            items->add(item);
        }
        form.Sifcore1().setMasterResultSets(items);
        QTreeWidget& original = tree(form, "TreeView1");
        form.resetTree(original);
        form.populateTree(original, true);
        QCOMPARE(original.topLevelItemCount(), 2);
        QCOMPARE(original.topLevelItem(0)->data(0, Qt::UserRole + 1).toString(), QString("orders1"));
        QCOMPARE(original.topLevelItem(1)->data(0, Qt::UserRole + 1).toString(), QString("orders2"));
    }

    void showStructureOffFillsTheTreesOnly() {
        AppSandbox sandbox;
        frmMain& form = startOn(sandbox, kPeople, kPeople + "create table added(id integer);");
        form.getApplicationVariables().setShowStructure(false);
        form.mnuRun_Click();
        QCOMPARE(topLevelTexts(tree(form, "TreeView2")), QStringList({"added", "people"}));
        QCOMPARE(grid(form, "MSFlexGrid1").rows(), 0);
        QCOMPARE(grid(form, "MSFlexGrid2").rows(), 0);
        QVERIFY(form.getApplicationVariables().getDoStructure());
    }

    // --- commands -----------------------------------------------------------------------------

    void swapTwiceRestoresTheSides() {
        AppSandbox sandbox;
        frmMain& form = startOn(sandbox, kPeople + "create table gone(id integer);", kPeople);
        form.getApplicationVariables().setMasterPassWord("secret");
        form.mnuRun_Click();
        const QString originalText = form.recentListText(true);
        const QString modifiedText = form.recentListText(false);

        form.tbSwap_Click();
        QCOMPARE(form.recentListText(true), modifiedText);
        QCOMPARE(form.recentListText(false), originalText);
        QCOMPARE(topLevelTexts(tree(form, "TreeView1")), QStringList({"people"}));
        QCOMPARE(topLevelTexts(tree(form, "TreeView2")), QStringList({"gone", "people"}));
        // The structure comparison ran again for the swapped sides.
        QCOMPARE(rowOf(grid(form, "MSFlexGrid1"), "gone"), -1);
        QCOMPARE(grid(form, "MSFlexGrid2").textMatrix(rowOf(grid(form, "MSFlexGrid2"), "gone"), 3),
                 QString("New Table"));
        // The password went with its database and is shown nowhere.
        QCOMPARE(form.getApplicationVariables().getSourcePassWord(), std::string("secret"));
        for (bool isMaster : {true, false})
            QVERIFY(!form.recentListText(isMaster).contains("secret"));

        form.tbSwap_Click();
        QCOMPARE(form.recentListText(true), originalText);
        QCOMPARE(form.recentListText(false), modifiedText);
        QCOMPARE(topLevelTexts(tree(form, "TreeView1")), QStringList({"gone", "people"}));
        QCOMPARE(form.getApplicationVariables().getMasterPassWord(), std::string("secret"));
        QVERIFY(!form.recentListText(true).contains("secret"));
        QVERIFY(sandbox.prompter().takeMessages().isEmpty());
    }

    void missingConnectionIsReportedOnce() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        form.mnuRun_Click();
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList({kMissing}));
        form.tbRefresh_Click();
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList({kMissing}));
        form.doStructureCompare();
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList({kMissing}));
        form.findChild<QAction*>("mnuRunStructureComparepopup")->trigger();
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList({kMissing}));
        // F5 runs the compare and F9 swaps, whichever control has the focus.
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form.frame()));
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_F9}) {
            QTest::keyClick(&tree(form, "TreeView1"), key);
            QCOMPARE(sandbox.prompter().takeMessages(), QStringList({kMissing}));
        }
        QCOMPARE(tree(form, "TreeView1").topLevelItemCount(), 0);
    }

    void unreadableDatabaseIsReportedAndTheWindowStaysUsable() {
        AppSandbox sandbox;
        const std::string original = sandbox.createDatabase("original.db", kPeople);
        const std::string modified = sandbox.createDatabase("modified.db", kPeople);
        sandbox.writeSettings(settingsFor(original, modified));
        frmMain& form = sandbox.start().mainForm();
        form.mnuRun_Click();
        QCOMPARE(topLevelTexts(tree(form, "TreeView2")), QStringList({"people"}));

        // The Modified file stops being a database: the engine's messages for that side are
        // shown once, and nothing of the earlier run is left standing for it.
        QFile file(QString::fromStdString(modified));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("this is not a database file");
        file.close();
        form.mnuRun_Click();
        const QStringList messages = sandbox.prompter().takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("The comparison could not read the databases."));
        QVERIFY(messages[0].contains("Modified database:") && !messages[0].contains("Original database:"));
        QCOMPARE(tree(form, "TreeView2").topLevelItemCount(), 0);
        QCOMPARE(topLevelTexts(tree(form, "TreeView1")), QStringList({"people"}));
        QVERIFY(!form.isBusy());
        QVERIFY(form.isEnabled());
        QVERIFY(form.findChild<QAction*>("mnuRun")->isEnabled());
        QVERIFY(!form.frame().ProgressBar1().isVisible());

        // Once the file is a database again, the same window compares it.
        QVERIFY(QFile::remove(QString::fromStdString(modified)));
        sandbox.createDatabase("modified.db", kPeople + "create table added(id integer);");
        form.mnuRun_Click();
        QVERIFY(sandbox.prompter().takeMessages().isEmpty());
        QCOMPARE(topLevelTexts(tree(form, "TreeView2")), QStringList({"added", "people"}));
        QCOMPARE(form.frame().panelText(4), QString("2 structural changes found."));
    }
};

DBSIFT_APP_TEST_MAIN(StructureViewTest)
#include "StructureViewTest.moc"
