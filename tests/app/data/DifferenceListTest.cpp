// SPDX-License-Identifier: MIT
// The difference list: the entries a run lists and their order, paging, navigation, and the
// counterpart found through the primary key.
#include "AppTestMain.h"
#include "DataViewFixture.h"

#include <QAction>

using namespace dbsift;
using namespace dbsift::test;

namespace {

/// Ten people; the Modified side moves ids 2, 5 and 8 to other cities.
std::string threeMoved() {
    std::string script = peopleScript(10);
    for (int id : {2, 5, 8})
        script +=
            "UPDATE people SET city = 'x" + std::to_string(id) + "' WHERE id = " + std::to_string(id) + ";\n";
    return script;
}

/// A drop-down entry: a changed record (one with a counterpart) unless told otherwise.
QString entry(const char* side, int record, const char* change = "Different Data Value") {
    return QStringLiteral("[people]  %1 ITEM NUMBER = %2  %3").arg(side).arg(record).arg(change);
}

bool forwardEnabled(frmMain& form) {
    return button(form, "cmdNext").isEnabled() && button(form, "cmdLast").isEnabled() &&
           form.findChild<QAction*>("mnuNextpopup")->isEnabled() &&
           form.findChild<QAction*>("mnuLastpopup")->isEnabled();
}

bool backwardEnabled(frmMain& form) {
    return button(form, "cmdFirstDiff").isEnabled() && button(form, "cmdPrevious").isEnabled() &&
           form.findChild<QAction*>("mnuFirstpopup")->isEnabled() &&
           form.findChild<QAction*>("mnuPreviouspopup")->isEnabled();
}

} // namespace

class DifferenceListTest : public QObject {
    Q_OBJECT
private slots:
    void entriesAlternateOriginalFirstAndPairThroughThePrimaryKey() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(10), threeMoved());
        QVERIFY(compareTable(form, "people"));
        QCOMPARE(entries(form),
                 QStringList({entry("ORIGINAL", 2), entry("MODIFIED", 2), entry("ORIGINAL", 5),
                              entry("MODIFIED", 5), entry("ORIGINAL", 8), entry("MODIFIED", 8)}));
        // The first entry is shown: its record on top, the counterpart with the same id below.
        QCOMPARE(differenceList(form).currentIndex(), 0);
        FlexGrid& detail = grid(form, "MSFlexGridDataDiffDetail");
        QCOMPARE(detail.textMatrix(1, 0), QString("2"));
        QCOMPARE(detail.textMatrix(1, 3), QString("c2"));
        QCOMPARE(detail.textMatrix(2, 1), QString("2"));
        QCOMPARE(detail.textMatrix(2, 3), QString("x2"));
        QCOMPARE(form.getSelectedRelatedRecordNumber(), 2);
        QVERIFY(button(form, "cmdCopyRecorUp").isEnabled());

        // The parse of an entry gives its number and side.
        QCOMPARE(form.parseRecordNumberFromComboValue(entry("MODIFIED", 5).toStdString()), std::string("5"));
        QVERIFY(!form.getApplicationVariables().getIsOriginal());
        // A table name holding "=" leaves no number to read.
        QCOMPARE(form.parseRecordNumberFromComboValue("[a=b]  ORIGINAL ITEM NUMBER = 3 "), std::string("]"));
        QCOMPARE(form.parseRecordNumberFromComboValue("no number"), std::string());
    }

    void aCompositeKeyPairsTheRecordOfEveryKeyColumn() {
        // Both lines of order 7 changed: its first key column alone pairs line 2 with line 1.
        const std::string lines = "CREATE TABLE lines (order_id INTEGER, line_no INTEGER, item TEXT, PRIMARY "
                                  "KEY (order_id, line_no));\n"
                                  "INSERT INTO lines VALUES (7, 1, 'pen'), (7, 2, 'ink'), (8, 1, 'pad');\n";
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(
            sandbox, lines, lines + "UPDATE lines SET item = item || '!' WHERE order_id = 7;\n");
        QVERIFY(compareTable(form, "lines"));
        QCOMPARE(entries(form).size(), 4);
        differenceList(form).setCurrentIndex(2); // the Original's line 2
        form.cboDataDiffSummary_Click();
        QCOMPARE(form.getSelectedRelatedRecordNumber(), 2);
        FlexGrid& detail = grid(form, "MSFlexGridDataDiffDetail");
        QCOMPARE(detail.textMatrix(1, 3), QString("ink"));
        QCOMPARE(detail.textMatrix(2, 2), QString("2"));
        QCOMPARE(detail.textMatrix(2, 3), QString("ink!"));
    }

    void aRecordWithoutCounterpartLeavesRowTwoEmpty() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(4), peopleScript(3));
        QVERIFY(compareTable(form, "people"));
        QCOMPARE(entries(form), QStringList({entry("ORIGINAL", 4, "New Record")}));
        FlexGrid& detail = grid(form, "MSFlexGridDataDiffDetail");
        QCOMPARE(detail.textMatrix(1, 2), QString("n4"));
        QCOMPARE(form.getSelectedRelatedRecordNumber(), 0);
        for (int col = 0; col < detail.cols(); ++col)
            QCOMPARE(detail.textMatrix(2, col), QString());
        QVERIFY(!button(form, "cmdCopyRecorUp").isEnabled());
        QVERIFY(!form.findChild<QAction*>("mnuCopyOriginalpopup")->isEnabled());

        // One entry: Next keeps it and turns the forward controls off.
        button(form, "cmdNext").setEnabled(true);
        form.cmdNext_Click();
        QCOMPARE(differenceList(form).currentIndex(), 0);
        QVERIFY(!forwardEnabled(form));
    }

    void onlyModifiedDifferencesAreListed() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(3), peopleScript(5));
        QVERIFY(compareTable(form, "people"));
        QCOMPARE(entries(form),
                 QStringList({entry("MODIFIED", 4, "New Record"), entry("MODIFIED", 5, "New Record")}));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QCOMPARE(summary.textMatrix(0, 2), QString("name"));
        QCOMPARE(summary.textMatrix(1, 2), QString("n4"));
        QCOMPARE(summary.textMatrix(2, 2), QString("n5"));
        QCOMPARE(summary.textMatrix(3, 0), QString());
        QCOMPARE(grid(form, "MSFlexGridDataDiffDetail").textMatrix(1, 3), QString("c4"));
    }

    void swappedSidesAreComparedAgain() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(3), peopleScript(5));
        QVERIFY(compareTable(form, "people"));
        QCOMPARE(entries(form),
                 QStringList({entry("MODIFIED", 4, "New Record"), entry("MODIFIED", 5, "New Record")}));
        // Swap (F9) in the data view compares the shown table again with the sides crossed (with
        // "Show Structure" on, a swap shows the structure grids instead).
        form.getApplicationVariables().setShowStructure(false);
        form.tbSwap_Click();
        QCOMPARE(entries(form),
                 QStringList({entry("ORIGINAL", 4, "New Record"), entry("ORIGINAL", 5, "New Record")}));
        QCOMPARE(grid(form, "MSFlexGridDataDiffDetail").textMatrix(1, 2), QString("n4"));
        form.tbSwap_Click();
        QCOMPARE(entries(form),
                 QStringList({entry("MODIFIED", 4, "New Record"), entry("MODIFIED", 5, "New Record")}));
    }

    void navigationStopsAtBothEnds() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(10), threeMoved());
        QVERIFY(compareTable(form, "people"));
        QComboBox& list = differenceList(form);
        QVERIFY(forwardEnabled(form));
        QVERIFY(!backwardEnabled(form));

        form.cmdLast_Click();
        QCOMPARE(list.currentIndex(), 5);
        QVERIFY(!forwardEnabled(form));
        QVERIFY(backwardEnabled(form));
        QCOMPARE(grid(form, "MSFlexGridDataDiffDetail").textMatrix(1, 3), QString("x8"));
        form.cmdNext_Click(); // on the last entry: nothing moves, forward stays off
        QCOMPARE(list.currentIndex(), 5);
        QVERIFY(!forwardEnabled(form));

        form.cmdPrevious_Click();
        QCOMPARE(list.currentIndex(), 4);
        QVERIFY(forwardEnabled(form));
        form.cmdFirstDiff_Click();
        QCOMPARE(list.currentIndex(), 0);
        QVERIFY(!backwardEnabled(form));
        form.cmdNext_Click();
        form.cmdPrevious_Click(); // arriving at the first entry turns the backward controls off
        QCOMPARE(list.currentIndex(), 0);
        QVERIFY(!backwardEnabled(form));

        // The popup twins run the same steps.
        form.findChild<QAction*>("mnuNextpopup")->trigger();
        QCOMPARE(list.currentIndex(), 1);
        QCOMPARE(grid(form, "MSFlexGridDataDiffDetail").textMatrix(1, 3), QString("x2"));

        // Typing never changes the entry.
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_M);
        QCOMPARE(list.currentIndex(), 1);
    }

    void pagesListEveryRecordOnceAndGetPreviousShowsThePageBefore() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(100), peopleScript(100, "m"));
        QVERIFY(compareTable(form, "people"));
        // The drop-down lists the records the summary grid shows: 50 a page, the sides in turn.
        QStringList page = entries(form);
        QCOMPARE(page.size(), 50);
        QCOMPARE(page.first(), entry("ORIGINAL", 1));
        QCOMPARE(page.last(), entry("MODIFIED", 25));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QCOMPARE(summary.textMatrix(50, 0), QString("25"));
        QCOMPARE(summary.textMatrix(51, 0), QString());
        QVERIFY(!button(form, "cmdGetPrevious").isEnabled());

        button(form, "cmdGetMore").click();
        page = entries(form);
        QCOMPARE(page.size(), 100);
        QCOMPARE(page.at(50), entry("ORIGINAL", 26));
        QCOMPARE(summary.textMatrix(51, 0), QString("26"));
        QVERIFY(button(form, "cmdGetPrevious").isEnabled());

        // Back to the first page: listed once, from the top of the grid.
        button(form, "cmdGetPrevious").click();
        page = entries(form);
        QCOMPARE(page.size(), 50);
        QCOMPARE(page.first(), entry("ORIGINAL", 1));
        QCOMPARE(page.removeDuplicates(), 0);
        QCOMPARE(summary.textMatrix(1, 0), QString("1"));
        QCOMPARE(summary.textMatrix(51, 0), QString());
        QVERIFY(!button(form, "cmdGetPrevious").isEnabled());
    }

    void everyRecordReachesTheListWhateverThePageSize() {
        // 37 records a side, 7 a page: page after page, each record is listed exactly once.
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(37), peopleScript(37, "m"));
        form.getApplicationVariables().setNumberofRecords(7);
        QVERIFY(compareTable(form, "people"));
        while (button(form, "cmdGetMore").isEnabled())
            button(form, "cmdGetMore").click();
        QStringList listed = entries(form);
        QCOMPARE(listed.size(), 74);
        QCOMPARE(listed.removeDuplicates(), 0);
        for (int record = 1; record <= 37; ++record) {
            QVERIFY(listed.contains(entry("ORIGINAL", record)));
            QVERIFY(listed.contains(entry("MODIFIED", record)));
        }
    }

    void quotesBracketsAndAccentsInNamesAndValues() {
        AppSandbox sandbox;
        const std::string create =
            "CREATE TABLE \"Café Zoë\" (id INTEGER PRIMARY KEY, \"nämé\" VARCHAR(40));\n"
            "CREATE TABLE \"it's [a]b]\" (id INTEGER PRIMARY KEY);\n";
        frmMain& form = startOnTwoDatabases(sandbox,
                                            create + "INSERT INTO \"Café Zoë\" VALUES (1, 'Zoë ''Q'' ]');\n"
                                                     "INSERT INTO \"it's [a]b]\" VALUES (7);\n",
                                            create + "INSERT INTO \"Café Zoë\" VALUES (1, 'Zoé');\n");
        QVERIFY(compareTable(form, "Café Zoë"));
        QCOMPARE(
            entries(form),
            QStringList({QString::fromUtf8("[Café Zoë]  ORIGINAL ITEM NUMBER = 1  Different Data Value"),
                         QString::fromUtf8("[Café Zoë]  MODIFIED ITEM NUMBER = 1  Different Data Value")}));
        FlexGrid& detail = grid(form, "MSFlexGridDataDiffDetail");
        QCOMPARE(detail.textMatrix(0, 2), QString::fromUtf8("nämé"));
        QCOMPARE(detail.textMatrix(1, 2), QString::fromUtf8("Zoë 'Q' ]"));
        QCOMPARE(detail.textMatrix(2, 2), QString::fromUtf8("Zoé"));
        form.cmdNext_Click();
        QCOMPARE(detail.textMatrix(1, 2), QString::fromUtf8("Zoé"));
        QCOMPARE(detail.textMatrix(2, 2), QString::fromUtf8("Zoë 'Q' ]"));

        // Names holding "]" and quotes compare like any other.
        QVERIFY(sandbox.prompter().takeMessages().isEmpty());
        QVERIFY(compareTable(form, "it's [a]b]"));
        QCOMPARE(entries(form),
                 QStringList({QString::fromUtf8("[it's [a]b]]  ORIGINAL ITEM NUMBER = 1  New Record")}));
        QCOMPARE(detail.textMatrix(1, 1), QString("7"));
    }
};

DBSIFT_APP_TEST_MAIN(DifferenceListTest)
#include "DifferenceListTest.moc"
