// SPDX-License-Identifier: MIT
// The Every Table tab: the counts of every table's records, a table's records side by side from
// there, and the counts it drops when the databases change.
#include "AppTestMain.h"
#include "DataViewFixture.h"
#include "data/EveryTableView.h"
#include "data/PairedView.h"

#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

using namespace dbsift;
using namespace dbsift::test;

namespace {

/// people: Ann moved, Bob left, Cy joined; tags: equal; notes: in the Original only.
const char* const kDatabases[2] = {
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT, city TEXT);\n"
    "INSERT INTO people VALUES (1, 'Ann', 'Oslo'), (2, 'Bob', 'Rome'), (5, 'Eve', 'Lima');\n"
    "CREATE TABLE tags (code TEXT, label TEXT);\nINSERT INTO tags VALUES ('a', 'x');\n"
    "CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT);\n",
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT, city TEXT);\n"
    "INSERT INTO people VALUES (1, 'Ann', 'Rio'), (3, 'Cy', 'Oslo'), (5, 'Eve', 'Lima');\n"
    "CREATE TABLE tags (code TEXT, label TEXT);\nINSERT INTO tags VALUES ('a', 'x');\n"};

QTableWidget& everyTableGrid(frmMain& form) {
    return *form.findChild<QTableWidget*>("gridEveryTable");
}

/// A row's cells as they read.
QStringList rowText(QTableWidget& grid, const QString& table) {
    for (int row = 0; row < grid.rowCount(); ++row)
        if (grid.item(row, 0)->text() == table) {
            QStringList cells;
            for (int column = 0; column < grid.columnCount(); ++column)
                cells << (grid.item(row, column) ? grid.item(row, column)->text() : QString());
            return cells;
        }
    return {};
}

} // namespace

class EveryTableTest : public QObject {
    Q_OBJECT
private slots:
    void countsEveryTableAndOpensATablesRecordsSideBySide() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kDatabases[0], kDatabases[1]);
        QVERIFY(compareTable(form, "people")); // a table's result before: it goes
        QVERIFY(form.findChild<QAction*>("mnuCreateDataReport")->isEnabled());
        form.findChild<QAction*>("mnuCompareEveryTable")->trigger();
        QTableWidget& grid = everyTableGrid(form);
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.item(0, 0)->text(), QString("people")); // the catalogue's order, not sorted
        QCOMPARE(rowText(grid, "people"), QStringList({"people", "3", "3", "1", "1", "1", "1", "id"}));
        QCOMPARE(rowText(grid, "tags"), QStringList({"tags", "1", "1", "0", "0", "0", "1", "(no key)"}));
        QCOMPARE(rowText(grid, "notes").last(), QString("not compared: in the Original database only"));
        QCOMPARE(form.findChild<QLabel*>("lblEveryTableTotals")->text(),
                 QString("2 tables compared, 1 with differences; 1 not compared."));
        auto* tabs = form.findChild<QTabWidget*>("tsDataDiff");
        QCOMPARE(tabs->currentWidget(), form.findChild<EveryTableView*>("EveryTableView"));
        // No table's result is shown: nothing to report, step through or copy.
        QVERIFY(!form.findChild<QAction*>("mnuCreateDataReport")->isEnabled());
        QVERIFY(!form.findChild<QPushButton*>("cmdCopyRecord")->isEnabled());
        QVERIFY(!form.findChild<QPushButton*>("cmdNext")->isEnabled());

        // A double click on people shows its records side by side.
        int people = 0;
        while (grid.item(people, 0)->text() != "people")
            ++people;
        emit grid.cellDoubleClicked(people, 2);
        auto* paired = form.findChild<PairedView*>("framePairedView");
        QCOMPARE(tabs->currentWidget(), paired);
        QCOMPARE(paired->model().rowCount(), 3);
        QVERIFY(form.findChild<QPushButton*>("cmdCopyRecord")->isEnabled());
        // A table not compared has nothing to open.
        int notes = 0;
        while (grid.item(notes, 0)->text() != "notes")
            ++notes;
        tabs->setCurrentWidget(form.findChild<EveryTableView*>("EveryTableView"));
        emit grid.cellDoubleClicked(notes, 0);
        QCOMPARE(tabs->currentWidget(), form.findChild<EveryTableView*>("EveryTableView"));
    }

    void aChangeOfDatabaseDropsTheCounts() {
        AppSandbox sandbox;
        const std::string other = sandbox.createDatabase("other.db", kDatabases[1]);
        frmMain& form = startOnTwoDatabases(sandbox, kDatabases[0], kDatabases[1]);
        form.findChild<QAction*>("mnuCompareEveryTable")->trigger();
        QCOMPARE(everyTableGrid(form).rowCount(), 3);
        auto* recent = form.findChild<QComboBox*>("cboMasterRecentConn");
        recent->addItem(QString::fromStdString(AppSandbox::fileConnection(other)));
        const int index = recent->count() - 1;
        recent->setCurrentIndex(index);
        emit recent->activated(index);
        QTRY_COMPARE(form.findChild<QTreeWidget*>("TreeView1")->topLevelItemCount(), 2);
        QCOMPARE(everyTableGrid(form).rowCount(), 0);
        QCOMPARE(form.findChild<QLabel*>("lblEveryTableTotals")->text(), QString());
    }
};

DBSIFT_APP_TEST_MAIN(EveryTableTest)
#include "EveryTableTest.moc"
