// SPDX-License-Identifier: MIT
// The paired view: one row per difference of a real comparison, its kinds, its marked changes,
// filtering, searching, sorting, the changed-columns switch, copy and CSV export, and the result
// it drops when the databases change.
#include "data/PairedView.h"
#include "AppTestMain.h"
#include "DataViewFixture.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>

using namespace dbsift;
using namespace dbsift::test;

namespace {

/// Ann moved (changed), Bob left (only in the Original), Cy and Di joined (only in the Modified);
/// Eve is the same on both sides.
const char* const kPeople[2] = {
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), note TEXT);\n"
    "INSERT INTO people VALUES (1, 'Ann', 'Oslo', NULL), (2, 'Bob', 'Rome', 'a, \"b\"'),"
    " (5, 'Eve', 'Lima', NULL);\n",
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), note TEXT);\n"
    "INSERT INTO people VALUES (1, 'Ann', 'Rio', NULL), (3, 'Cy', 'Oslo', NULL), (4, 'Di', 'Baku', NULL),"
    " (5, 'Eve', 'Lima', NULL);\n"};

PairedView& pairedView(frmMain& form) {
    return *form.findChild<PairedView*>("framePairedView");
}

/// The view's rows as its cells show them, in view order, the visible columns only.
QStringList shownRows(const PairedView& view) {
    QStringList rows;
    const QAbstractItemModel& model = *view.table().model();
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            if (!view.table().isColumnHidden(column))
                cells << model.index(row, column).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

} // namespace

class PairedViewTest : public QObject {
    Q_OBJECT
private slots:
    void everyDifferenceIsOneRowOfItsKind() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kPeople[0], kPeople[1]);
        QVERIFY(compareTable(form, "people"));
        auto* tabs = form.findChild<QTabWidget*>("tsDataDiff");
        QCOMPARE(tabs->tabText(2), QString("Paired View"));
        tabs->setCurrentIndex(2);
        PairedView& view = pairedView(form);
        QAbstractItemModelTester tester(view.table().model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(
            shownRows(view),
            QStringList({"Changed|1|1|1|Ann|Oslo → Rio|(Null)", "Only in Original|2||2|Bob|Rome|a, \"b\"",
                         "Only in Modified||2|3|Cy|Oslo|(Null)", "Only in Modified||3|4|Di|Baku|(Null)"}));
        QCOMPARE(view.findChild<QLabel*>("lblPairedCounts")->text(),
                 QString("Changed: 1   Only in Original: 1   Only in Modified: 2"));
        const QModelIndex city = view.table().model()->index(0, 5);
        QVERIFY(city.data(DifferenceModel::ChangedRole).toBool());
        QVERIFY(city.data(Qt::FontRole).value<QFont>().bold());
        QCOMPARE(city.data(Qt::ToolTipRole).toString(), QString("Original: Oslo / Modified: Rio"));
        QVERIFY(!view.table().model()->index(0, 4).data(DifferenceModel::ChangedRole).toBool());
        // The header stays a header: it is not a row of the model.
        QCOMPARE(view.table().horizontalHeader()->model()->headerData(5, Qt::Horizontal).toString(),
                 QString("city"));
    }

    void withoutAKeyACopyOneSideLacksIsARowWithBothCounts() {
        AppSandbox sandbox;
        const std::string visits = "CREATE TABLE visits (name VARCHAR(10), city VARCHAR(10));\n";
        frmMain& form = startOnTwoDatabases(
            sandbox,
            visits + "INSERT INTO visits VALUES ('Ann', 'Oslo'), ('Ann', 'Oslo'), ('Bob', 'Rome');\n",
            visits + "INSERT INTO visits VALUES ('Ann', 'Oslo'), ('Cy', 'Baku');\n");
        QVERIFY(compareTable(form, "visits"));
        PairedView& view = pairedView(form);
        QCOMPARE(shownRows(view), QStringList({"Only in Original|3||Bob|Rome", "Only in Modified||2|Cy|Baku",
                                               "Copies differ (2 : 1)|1||Ann|Oslo"}));
        QCOMPARE(view.findChild<QLabel*>("lblPairedCounts")->text(),
                 QString("Changed: 0   Only in Original: 1   Only in Modified: 1   Copies differ: 1"));
        QCOMPARE(
            view.table().model()->index(2, 0).data(Qt::ToolTipRole).toString(),
            QString("Copies of this record: 2 in the Original, 1 in the Modified; the Original's first is "
                    "shown."));
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList());

        // A copy alone: no record lacks an equal one, yet the run is not one without differences.
        sqliteQuery(sandbox.folder().toStdString() + "/original.db", "DELETE FROM visits WHERE name = 'Bob'");
        sqliteQuery(sandbox.folder().toStdString() + "/modified.db", "DELETE FROM visits WHERE name = 'Cy'");
        QVERIFY(compareTable(form, "visits"));
        QCOMPARE(
            sandbox.prompter().takeMessages(),
            QStringList({"Every record of visits has an equal record in the other database, but not as many "
                         "copies of every one: the Paired View lists the records whose copies differ."}));
        QCOMPARE(form.findChild<QTabWidget*>("tsDataDiff")->currentWidget(), &view);
        QCOMPARE(shownRows(view), QStringList({"Copies differ (2 : 1)|1||Ann|Oslo"}));
        QCOMPARE(sandbox.frame()->panelText(2), QString("Done"));
    }

    void theUserNarrowsSortsAndTakesTheRowsAway() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kPeople[0], kPeople[1]);
        QVERIFY(compareTable(form, "people"));
        form.findChild<QTabWidget*>("tsDataDiff")->setCurrentIndex(2);
        PairedView& view = pairedView(form);
        auto* kind = view.findChild<QComboBox*>("cboPairedKind");
        kind->setCurrentIndex(kind->findText("Only in Modified"));
        QCOMPARE(shownRows(view).size(), 2);
        QVERIFY(view.findChild<QLabel*>("lblPairedCounts")->text().endsWith("(2 shown)"));
        kind->setCurrentIndex(0);

        auto* search = view.findChild<QLineEdit*>("txtPairedSearch");
        QTest::keyClicks(search, "oslo");
        QCOMPARE(shownRows(view), QStringList({"Changed|1|1|1|Ann|Oslo → Rio|(Null)",
                                               "Only in Modified||2|3|Cy|Oslo|(Null)"}));
        search->clear();

        // A click on the id header sorts by number, a second one the other way round.
        QHeaderView& header = *view.table().horizontalHeader();
        const QPoint idHeader(header.sectionViewportPosition(3) + 5, header.height() / 2);
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, idHeader);
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, idHeader);
        QVERIFY(shownRows(view).front().startsWith("Only in Modified||3|4|Di"));

        // Only the key and the columns that changed stay.
        view.findChild<QCheckBox*>("chkChangedColumnsOnly")->click();
        QVERIFY(shownRows(view).contains("Changed|1|1|1|Oslo → Rio"));

        view.table().setFocus();
        view.table().selectRow(view.table().model()->rowCount() - 1);
        QTest::keyClick(&view.table(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("Difference\tOriginal #\tModified #\tid\tcity\nChanged\t1\t1\t1\tOslo → Rio\n"));

        view.findChild<QCheckBox*>("chkChangedColumnsOnly")->click();
        const QString path = sandbox.folder() + "/differences.csv";
        QString error;
        QVERIFY2(view.exportCsv(path, error), qPrintable(error));
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(csv.readAll());
        QVERIFY(text.startsWith("Difference,Original #,Modified #,id,name,city,note\r\n"));
        QVERIFY2(text.contains("Only in Original,2,,2,Bob,Rome,\"a, \"\"b\"\"\"\r\n"), qPrintable(text));
        QVERIFY(!view.exportCsv(sandbox.folder() + "/missing/x.csv", error));
        QVERIFY(!error.isEmpty());
    }

    void aChangeOfDatabaseOrARunWithoutDifferencesLeavesItEmpty() {
        AppSandbox sandbox;
        const std::string same = sandbox.createDatabase("same.db", kPeople[1]);
        frmMain& form = startOnTwoDatabases(sandbox, kPeople[0], kPeople[1]);
        QVERIFY(compareTable(form, "people"));
        PairedView& view = pairedView(form);
        QCOMPARE(view.model().rowCount(), 4);

        auto* recent = form.findChild<QComboBox*>("cboMasterRecentConn");
        recent->addItem(QString::fromStdString(AppSandbox::fileConnection(same)));
        const int index = recent->count() - 1;
        recent->setCurrentIndex(index);
        emit recent->activated(index);
        QTRY_COMPARE(form.findChild<QTreeWidget*>("TreeView1")->topLevelItemCount(), 1);
        QCOMPARE(view.model().rowCount(), 0);
        QVERIFY(!view.findChild<QPushButton*>("cmdExportPairedCsv")->isEnabled());

        QVERIFY(compareTable(form, "people"));
        QCOMPARE(view.model().rowCount(), 0);
        QCOMPARE(view.findChild<QLabel*>("lblPairedCounts")->text(),
                 QString("Changed: 0   Only in Original: 0   Only in Modified: 0"));
    }
};

DBSIFT_APP_TEST_MAIN(PairedViewTest)
#include "PairedViewTest.moc"
