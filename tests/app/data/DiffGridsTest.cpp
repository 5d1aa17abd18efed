// SPDX-License-Identifier: MIT
// The data view's grids: the summary rows and their colours and widths, the detail grid with
// its change rows, the values that differ marked, and the grid events.
#include "AppTestMain.h"
#include "DataViewFixture.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTabWidget>

using namespace dbsift;
using namespace dbsift::test;

namespace {

constexpr uint32_t kOriginalColour = 0x80FF80;
constexpr uint32_t kModifiedColour = 0xFFFFFF;

/// One person whose city differs: a 25-character city on the Original side, three letters on
/// the Modified one.
const char* const kOneMoved[2] = {
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n"
    "INSERT INTO people VALUES (1, 'Ann', 'Llanfairpwllgwyngyll-West');\n"
    "INSERT INTO people VALUES (2, 'Bob', 'Oslo');\n",
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n"
    "INSERT INTO people VALUES (1, 'Ann', 'Rio');\n"
    "INSERT INTO people VALUES (2, 'Bob', 'Oslo');\n"};

} // namespace

class DiffGridsTest : public QObject {
    Q_OBJECT
private slots:
    void summaryRowsWearTheirSideColourAndTheLastValueSetTheWidth() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kOneMoved[0], kOneMoved[1]);
        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QCOMPARE(summary.textMatrix(0, 0), QString("Item#"));
        QCOMPARE(summary.textMatrix(0, 3), QString("city"));
        QCOMPARE(summary.textMatrix(1, 3), QString("Llanfairpwllgwyngyll-West"));
        QCOMPARE(summary.cellBackColour(1, 0), int64_t(kOriginalColour));
        QCOMPARE(summary.textMatrix(2, 3), QString("Rio"));
        QCOMPARE(summary.cellBackColour(2, 3), int64_t(kModifiedColour));
        // The Modified row came last: its three letters give the minimum width.
        QCOMPARE(summary.colWidth(3), 1000);
        form.writeSummaryRow(summary, 1, true, 1);
        QCOMPARE(summary.colWidth(3), 2500);
        form.writeSummaryRow(summary, 1, false, 2);
        QCOMPARE(summary.colWidth(3), 1000);

        QCOMPARE(sandbox.frame()->panelText(1), QString("Total Records ="));
        // The count is of differing records: Ann on each side.
        QCOMPARE(sandbox.frame()->panelText(2), QString("2"));
        // The structure that replaces the data view leaves no count label behind.
        form.findChild<QAction*>("mnuRunStructureComparepopup")->trigger();
        QCOMPARE(sandbox.frame()->panelText(1), QString());
    }

    void columnsTheDatabaseCollatesLooselyAreNamedInTheStatusBar() {
        AppSandbox sandbox;
        frmMain& form =
            startOnTwoDatabases(sandbox,
                                "CREATE TABLE people (id INTEGER PRIMARY KEY, city TEXT COLLATE NOCASE);"
                                "INSERT INTO people VALUES (1, 'Paris');",
                                "CREATE TABLE people (id INTEGER PRIMARY KEY, city TEXT);"
                                "INSERT INTO people VALUES (1, 'PARIS');");
        QVERIFY(compareTable(form, "people"));
        const QString note(
            "city: compared exactly; the database's collation would call 'Paris' and 'PARIS' equal");
        QCOMPARE(sandbox.frame()->panelText(4), note);
        QCOMPARE(sandbox.frame()->panel(4)->toolTip(), note);
        QCOMPARE(sandbox.frame()->panelText(2), QString("2"));
    }

    void changedValuesStandOutAgainstTheirCounterpart() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kOneMoved[0], kOneMoved[1]);
        QVERIFY(compareTable(form, "people"));
        FlexGrid& detail = grid(form, "MSFlexGridDataDiffDetail");
        QCOMPARE(detail.rows(), 3); // no change rows by default
        QVERIFY(detail.cellBold(1, 3));
        QVERIFY(detail.cellBold(2, 3));
        QVERIFY(!detail.cellBold(1, 2));
        QVERIFY(detail.cellBackColour(1, 3) != int64_t(kOriginalColour));
        QCOMPARE(detail.cellBackColour(1, 2), int64_t(kOriginalColour));
        QCOMPARE(detail.cellBackColour(2, 2), int64_t(kModifiedColour));
        QCOMPARE(form.detailToolTip(1, 3), QString("Original: Llanfairpwllgwyngyll-West / Modified: Rio"));
        QCOMPARE(form.detailToolTip(1, 2), QString());

        // Shown from the Modified side, the Modified record is on top; the tip still names sides.
        form.cmdNext_Click();
        QCOMPARE(detail.textMatrix(1, 3), QString("Rio"));
        QCOMPARE(detail.cellBackColour(1, 2), int64_t(kModifiedColour));
        QCOMPARE(form.detailToolTip(2, 3), QString("Original: Llanfairpwllgwyngyll-West / Modified: Rio"));
    }

    void metadataRowsFollowTheOptions_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("filled");
        QTest::newRow("always") << "always" << true;
        QTest::newRow("if different") << "different" << true;
        QTest::newRow("never") << "never" << false;
    }
    void metadataRowsFollowTheOptions() {
        QFETCH(QString, option);
        QFETCH(bool, filled);
        AppSandbox sandbox;
        // Eight fields and one record per side: more change rows than records.
        std::string script =
            "CREATE TABLE wide (id INTEGER PRIMARY KEY, a VARCHAR(5), b VARCHAR(5), c VARCHAR(5), "
            "d VARCHAR(5), e VARCHAR(5), f VARCHAR(5), g INTEGER);\n";
        frmMain& form =
            startOnTwoDatabases(sandbox, script + "INSERT INTO wide VALUES (1,'a','b','c','d','e','f',7);",
                                script + "INSERT INTO wide VALUES (1,'a','b','c','d','e','f',8);");
        clsAppVar& appVar = form.getApplicationVariables();
        appVar.setNoShowRecordMetadata(option == "never");
        appVar.setShowRecordMetadata(option == "always");
        appVar.setShowRecordMetadataIfDifferent(option == "different");
        QVERIFY(compareTable(form, "wide"));
        FlexGrid& detail = grid(form, "MSFlexGridDataDiffDetail");
        if (!filled) {
            QCOMPARE(detail.rows(), 3);
            return;
        }
        QCOMPARE(detail.rows(), 4 + 8);
        QCOMPARE(detail.textMatrix(3, 0), QString("DB Object Name"));
        QCOMPARE(detail.textMatrix(3, 3), QString("Change Type"));
        QCOMPARE(detail.textMatrix(4, 0), QString("wide"));
        QCOMPARE(detail.textMatrix(4, 1), QString("id"));
        QVERIFY(!detail.textMatrix(4, 2).isEmpty());
        QCOMPARE(detail.textMatrix(4, 3), QString("New Record"));
        QCOMPARE(detail.textMatrix(11, 1), QString("g"));
        QCOMPARE(detail.textMatrix(1, 8), QString("7"));
        QCOMPARE(detail.textMatrix(2, 8), QString("8"));
    }

    void choosingASummaryRowShowsItsRecordOnTheDetailsTab() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kOneMoved[0], kOneMoved[1]);
        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        auto* tabs = form.findChild<QTabWidget*>("tsDataDiff");
        QCOMPARE(tabs->currentIndex(), 0);
        summary.setCurrentIndex(summary.model()->index(2, 1));
        QCOMPARE(grid(form, "MSFlexGridDataDiffDetail").textMatrix(1, 3), QString("Rio"));
        form.msFlexGridDataDiff_Click(2);
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(differenceList(form).currentText(),
                 QString("[people]  MODIFIED ITEM NUMBER = 1  Different Data Value"));
        QCOMPARE(grid(form, "MSFlexGridDataDiffDetail").textMatrix(2, 3),
                 QString("Llanfairpwllgwyngyll-West"));
        QVERIFY(!form.getApplicationVariables().getIsOriginal());
    }

    void aRowsSideIsItsOwnWhateverTheColours() {
        // Both sides in one colour (Options allow it): a Modified row still selects the Modified
        // record.
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kOneMoved[0], kOneMoved[1]);
        form.setModifiedColor(form.getOriginalColor());
        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QCOMPARE(summary.cellBackColour(1, 0), summary.cellBackColour(2, 0));
        QTest::mouseClick(summary.viewport(), Qt::LeftButton, {},
                          summary.visualRect(summary.model()->index(2, 1)).center());
        QCOMPARE(grid(form, "MSFlexGridDataDiffDetail").textMatrix(1, 3), QString("Rio"));
        QVERIFY(!form.getApplicationVariables().getIsOriginal());
        QTest::mouseClick(summary.viewport(), Qt::LeftButton, {},
                          summary.visualRect(summary.model()->index(1, 1)).center());
        QVERIFY(form.getApplicationVariables().getIsOriginal());
    }

    void theHeaderStaysInPlaceAndIsNoRowToSelect() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(100), peopleScript(100, "m"));
        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QHeaderView& header = *summary.horizontalHeader();
        QVERIFY(header.isVisible());
        QVERIFY(summary.isRowHidden(0));
        QCOMPARE(header.model()->headerData(0, Qt::Horizontal).toString(), QString("Item#"));
        summary.verticalScrollBar()->setValue(summary.verticalScrollBar()->maximum());
        QVERIFY(header.isVisible());
        QCOMPARE(header.geometry().top(), summary.viewport()->geometry().top() - header.height());
        const int before = form.getApplicationVariables().getSelectedRecordNumber();
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(1) + 3, 3));
        QVERIFY(summary.selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(form.getApplicationVariables().getSelectedRecordNumber(), before);
        QCOMPARE(summary.rowAt(0) >= 1, true); // the first row in view is a record's
    }

    void scrollingToTheLastFilledRowLoadsTheNextPage() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(100), peopleScript(100, "m"));
        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QCOMPARE(summary.textMatrix(51, 0), QString());
        summary.scrollTo(summary.model()->index(50, 0), QAbstractItemView::PositionAtBottom);
        QTRY_COMPARE(summary.textMatrix(51, 0), QString("26"));
        QCOMPARE(summary.textMatrix(100, 0), QString("50"));
    }
};

DBSIFT_APP_TEST_MAIN(DiffGridsTest)
#include "DiffGridsTest.moc"
