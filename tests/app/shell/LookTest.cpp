// SPDX-License-Identifier: MIT
// How the window reads: every text on its background under a dark palette as under a light
// one, the user's colours kept over the palette's, and the grids' columns as wide as their
// texts with every structure column in view on small screens.
#include "AppTestMain.h"
#include "DataViewFixture.h"
#include "screenshots/OffscreenSession.h"
#include "shell/frmOptions.h"

#include <QApplication>
#include <QPalette>
#include <QTreeWidget>

#include <cmath>

using namespace dbsift;
using namespace dbsift::test;

namespace {

double luminance(const QColor& colour) {
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

/// Light text on dark grey, as dark desktop themes have it; the application's palette while
/// the object lives.
class DarkDesktop {
public:
    DarkDesktop() : before_(QApplication::palette()) { QApplication::setPalette(darkDesktopPalette()); }
    ~DarkDesktop() { QApplication::setPalette(before_); }
    DarkDesktop(const DarkDesktop&) = delete;
    DarkDesktop& operator=(const DarkDesktop&) = delete;

private:
    QPalette before_;
};

/// The lowest contrast of a text on its background over a grid's non-empty cells, as the view
/// paints them: the model's colours where it gives them, the view's palette elsewhere.
double lowestContrast(FlexGrid& grid) {
    double lowest = 21;
    QAbstractItemModel& model = grid.gridModel();
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int col = 0; col < model.columnCount(); ++col) {
            const QModelIndex index = model.index(row, col);
            if (model.data(index, Qt::DisplayRole).toString().isEmpty())
                continue;
            const QVariant fore = model.data(index, Qt::ForegroundRole);
            const QVariant back = model.data(index, Qt::BackgroundRole);
            const QColor text = fore.isValid() ? fore.value<QColor>() : grid.palette().color(QPalette::Text);
            const QColor base = back.isValid() ? back.value<QColor>() : grid.palette().color(QPalette::Base);
            lowest = std::min(lowest, contrast(text, base));
        }
    }
    return lowest;
}

double listContrast(QComboBox& list) {
    return contrast(list.palette().color(QPalette::Text), list.palette().color(QPalette::Base));
}

const std::string kPeople =
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n";

} // namespace

class LookTest : public QObject {
    Q_OBJECT
private slots:
    void everyTextReadsUnderADarkPalette() {
        DarkDesktop dark;
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(
            sandbox, kPeople + "INSERT INTO people VALUES (1, 'Ann', 'Oslo'), (2, 'Bo', 'Rome');\n",
            "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city TEXT, email TEXT);\n"
            "INSERT INTO people VALUES (1, 'Ann', 'Bergen', 'a@b');\n");
        form.mnuRun_Click();
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2"})
            QVERIFY2(lowestContrast(grid(form, name)) >= 3, name);
        for (const char* name : {"TreeView1", "TreeView2"}) {
            auto& tree = *form.findChild<QTreeWidget*>(name);
            const QColor base = tree.palette().color(QPalette::Base);
            for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
                const QBrush brush = (*it)->foreground(0);
                const QColor text =
                    brush.style() == Qt::NoBrush ? tree.palette().color(QPalette::Text) : brush.color();
                QVERIFY2(contrast(text, base) >= 3, qPrintable((*it)->text(0)));
            }
        }

        QVERIFY(compareTable(form, "people"));
        for (const char* name : {"msFlexGridDataDiff", "MSFlexGridDataDiffDetail"})
            QVERIFY2(lowestContrast(grid(form, name)) >= 4.5, name);
        for (const char* name : {"cboMasterRecentConn", "cboSourceRecentConn"})
            QVERIFY2(listContrast(*form.findChild<QComboBox*>(name)) >= 4.5, name);
        // The Modified records are not a white band across a dark window.
        QVERIFY(contrast(toQColor(form.getModifiedColor()), QApplication::palette().color(QPalette::Base)) <
                1.5);
    }

    void theUsersColoursWinOverThePalette() {
        DarkDesktop dark;
        AppSandbox sandbox;
        frmMain& form =
            startOnTwoDatabases(sandbox, kPeople + "INSERT INTO people VALUES (1, 'Ann', 'Oslo');\n",
                                kPeople + "INSERT INTO people VALUES (1, 'Ann', 'Rome');\n");
        // Yellow for the Original side and white for the Modified one, picked in Options.
        constexpr uint32_t yellow = 0x00FFFF, white = 0xFFFFFF;
        sandbox.prompter().queueColour(yellow);
        sandbox.prompter().queueColour(white);
        frmOptions& options = form.optionsDialog();
        options.setFormToUse(form);
        button(options, "txtOriginalColor").click();
        button(options, "txtModifiedColor").click();
        QVERIFY(sandbox.prompter().allAnswersUsed());

        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QCOMPARE(summary.cellBackColour(1, 1), int64_t(yellow));
        QCOMPARE(summary.cellBackColour(2, 1), int64_t(white));
        QCOMPARE(
            summary.gridModel().data(summary.gridModel().index(2, 1), Qt::BackgroundRole).value<QColor>(),
            QColor(Qt::white));
        QVERIFY(lowestContrast(summary) >= 4.5);
        QVERIFY(listContrast(*form.findChild<QComboBox*>("cboSourceRecentConn")) >= 4.5);
        QVERIFY(listContrast(*form.findChild<QComboBox*>("cboMasterRecentConn")) >= 4.5);
    }

    void aValueIsShownWholeWhereverItWasWritten() {
        AppSandbox sandbox;
        // The long name is written first; the short one written after it must not cut it.
        frmMain& form = startOnTwoDatabases(
            sandbox, kPeople + "INSERT INTO people VALUES (1, 'Farid Haddad-Montgomery', 'Oslo');\n",
            kPeople + "INSERT INTO people VALUES (1, 'Al', 'Oslo');\n");
        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        QCOMPARE(summary.textMatrix(1, 2), QString("Farid Haddad-Montgomery"));
        QFont bold = summary.font();
        bold.setBold(true);
        QVERIFY(summary.columnWidth(2) > QFontMetrics(bold).horizontalAdvance(summary.textMatrix(1, 2)));
        QCOMPARE(summary.gridModel().data(summary.gridModel().index(1, 2), Qt::ToolTipRole).toString(),
                 QString("Farid Haddad-Montgomery"));
    }

    void everyStructureColumnStaysInView_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("whole");
        QTest::newRow("1024x768") << QSize(1024, 768) << true;
        QTest::newRow("960x540 (1920x1080 at scale factor 2)") << QSize(960, 540) << true;
        QTest::newRow("640x400 (1280x800 at scale factor 2)") << QSize(640, 400) << false;
    }
    void everyStructureColumnStaysInView() {
        QFETCH(QSize, size);
        QFETCH(bool, whole);
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(
            sandbox, "CREATE TABLE orders (id INTEGER PRIMARY KEY, amount VARCHAR(40), placed_on DATE);\n",
            "CREATE TABLE orders (id INTEGER PRIMARY KEY, amount DOUBLE PRECISION, placed_on DATE, note "
            "TEXT);\n");
        sandbox.frame()->resize(size);
        QCoreApplication::processEvents();
        form.mnuRun_Click();
        QCoreApplication::processEvents();
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2"}) {
            FlexGrid& g = grid(form, name);
            QCOMPARE(g.textMatrix(0, 3), QString("Change Type"));
            // The Change Type column ends inside the grid: nothing to scroll to.
            QVERIFY2(g.columnViewportPosition(3) + g.columnWidth(3) <= g.viewport()->width(), name);
            QVERIFY2(g.columnWidth(3) > 0 && g.columnViewportPosition(3) >= 0, name);
            if (!whole)
                continue;
            QFont bold = g.font();
            bold.setBold(true);
            const QFontMetrics metrics(bold);
            // The field and what changed read whole; a long type name may give way, and reads
            // whole in its tooltip.
            for (int row = 1; row < g.rows(); ++row) {
                for (int col : {1, 3})
                    QVERIFY2(
                        metrics.horizontalAdvance(g.textMatrix(row, col)) < g.columnWidth(col),
                        qPrintable(QString("%1 row %2: %3").arg(name).arg(row).arg(g.textMatrix(row, col))));
                const QModelIndex type = g.gridModel().index(row, 2);
                QCOMPARE(g.gridModel().data(type, Qt::ToolTipRole).toString(), g.textMatrix(row, 2));
            }
        }
    }
};

DBSIFT_APP_TEST_MAIN(LookTest)
#include "LookTest.moc"
