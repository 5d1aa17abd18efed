// SPDX-License-Identifier: MIT
// The window without a mouse: Return on a table compares its data, the Data menu does the same
// for the table chosen in a tree, the data view's commands and tabs have keys, Tab leaves the
// grids, and leaving and help take the desktop's standard keys.
#include "AppTestMain.h"
#include "DataViewFixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTreeWidget>

using namespace dbsift;
using namespace dbsift::test;

namespace {

const std::string kTables =
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n"
    "CREATE TABLE towns (id INTEGER PRIMARY KEY, name VARCHAR(40));\n";
// Differences: Original 1 (Oslo) and 3, Modified 1 (Bergen).
const std::string kOriginal =
    kTables + "INSERT INTO people VALUES (1, 'Ann', 'Oslo'), (2, 'Bo', 'Rome'), (3, 'Cy', 'Lima');\n";
const std::string kModified =
    kTables + "INSERT INTO people VALUES (1, 'Ann', 'Bergen'), (2, 'Bo', 'Rome');\n";

QTreeWidgetItem* topLevel(QTreeWidget& tree, const QString& text) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (tree.topLevelItem(i)->text(0) == text)
            return tree.topLevelItem(i);
    return nullptr;
}

/// Presses a key where the keyboard is: on the widget with the focus.
void press(QWidget& window, QKeySequence key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
}

frmMain& startActive(AppSandbox& sandbox) {
    frmMain& form = startOnTwoDatabases(sandbox, kOriginal, kModified);
    sandbox.frame()->activateWindow();
    if (!QTest::qWaitForWindowActive(sandbox.frame()))
        qWarning("the frame never became the active window");
    return form;
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void returnOnATableComparesItsDataFromEitherTree() {
        AppSandbox sandbox;
        frmMain& form = startActive(sandbox);
        auto& tree = *form.findChild<QTreeWidget*>("TreeView2");
        QVERIFY(tree.isEnabled());
        QVERIFY(topLevel(tree, "people"));
        tree.setFocus();
        tree.setCurrentItem(topLevel(tree, "people"));

        QString title;
        whenShown("frmFieldListForDataCompare", [&title](QWidget& dialog) {
            title = dialog.windowTitle();
            // Every field, then Return.
            QWidget* list = dialog.findChild<QListWidget*>("lstFields");
            QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_Return);
        });
        QTest::keyClick(&tree, Qt::Key_Return);
        QCOMPARE(title, QString("Field List for people"));
        QTRY_VERIFY(form.findChild<QWidget*>("frameDataGrids")->isVisible());
        QCOMPARE(entries(form).size(), 3);
        // The keyboard goes on in the result once the window is back in front.
        QTRY_COMPARE(sandbox.frame()->focusWidget(), &grid(form, "msFlexGridDataDiff"));
    }

    void theDataMenuComparesTheTableChosenInATree() {
        AppSandbox sandbox;
        frmMain& form = startActive(sandbox);
        auto* data = sandbox.frame()->menuBar()->findChild<QMenu*>("mnuData");
        QVERIFY(data);
        QAction* compare = form.findChild<QAction*>("mnuDataCompare");
        QVERIFY(data->actions().contains(compare));

        // The Original tree points at towns, the Modified one, which has the keyboard, at people.
        auto& original = *form.findChild<QTreeWidget*>("TreeView1");
        auto& modified = *form.findChild<QTreeWidget*>("TreeView2");
        original.setCurrentItem(topLevel(original, "towns"));
        modified.setCurrentItem(topLevel(modified, "people"));
        modified.setFocus();
        QString title;
        whenShown("frmFieldListForDataCompare", [&title](QWidget& dialog) {
            title = dialog.windowTitle();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        compare->trigger();
        QCOMPARE(title, QString("Field List for people"));
        QTRY_VERIFY(!form.fieldListDialog().isVisible());
    }

    void theDataViewsCommandsAndTabsHaveKeys() {
        AppSandbox sandbox;
        frmMain& form = startActive(sandbox);
        QVERIFY(compareTable(form, "people"));
        QWidget& frame = *sandbox.frame();
        QComboBox& list = differenceList(form);
        QCOMPARE(list.count(), 3);

        press(frame, QKeySequence(Qt::CTRL | Qt::Key_End));
        QCOMPARE(list.currentIndex(), 2);
        QVERIFY(!button(form, "cmdLast").isEnabled());
        press(frame, QKeySequence(Qt::CTRL | Qt::Key_Home));
        QCOMPARE(list.currentIndex(), 0);
        press(frame, QKeySequence(Qt::CTRL | Qt::Key_Down));
        QCOMPARE(list.currentIndex(), 1);
        press(frame, QKeySequence(Qt::CTRL | Qt::Key_Up));
        QCOMPARE(list.currentIndex(), 0);

        auto& tabs = *form.findChild<QTabWidget*>("tsDataDiff");
        const int tab = tabs.currentIndex();
        for (int step = 1; step <= tabs.count(); ++step) {
            press(frame, QKeySequence(Qt::CTRL | Qt::Key_Tab));
            QCOMPARE(tabs.currentIndex(), (tab + step) % tabs.count());
        }

        // The first entry is Original record 1, whose counterpart is Modified record 1: copying it
        // top to bottom overwrites that one.
        press(frame, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
        QCOMPARE(sqliteQuery((sandbox.folder() + "/modified.db").toStdString(),
                             "select city from people where id = 1"),
                 std::string("Oslo\n"));
        press(frame, QKeySequence(QKeySequence::Undo));
        QTRY_VERIFY(form.findChild<QWidget*>("frmUndo") && form.findChild<QWidget*>("frmUndo")->isVisible());
    }

    void tabLeavesTheGrids() {
        AppSandbox sandbox;
        frmMain& form = startActive(sandbox);
        QVERIFY(compareTable(form, "people"));
        FlexGrid& summary = grid(form, "msFlexGridDataDiff");
        summary.setFocus();
        QTest::keyClick(&summary, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != &summary);
        QVERIFY(qobject_cast<QPushButton*>(QApplication::focusWidget()));
    }

    void helpAndQuitTakeTheDesktopsStandardKeys() {
        AppSandbox sandbox;
        frmMain& form = startActive(sandbox);
        QWidget& frame = *sandbox.frame();
        const QKeySequence help = form.findChild<QAction*>("mnuHelpFile")->shortcut();
        if (!QKeySequence::keyBindings(QKeySequence::HelpContents).isEmpty())
            QCOMPARE(help, QKeySequence::keyBindings(QKeySequence::HelpContents).first());
        QVERIFY(!help.isEmpty());
        press(frame, help);
        QCOMPARE(sandbox.prompter().openedUrls().size(), 1);
        QVERIFY(sandbox.prompter().openedUrls().first().toLocalFile().endsWith("dbsift_help.html"));

        const QKeySequence quit = form.findChild<QAction*>("mnuExit")->shortcut();
        if (!QKeySequence::keyBindings(QKeySequence::Quit).isEmpty())
            QCOMPARE(quit, QKeySequence::keyBindings(QKeySequence::Quit).first());
        QVERIFY(!quit.isEmpty());
        press(frame, quit);
        QTRY_VERIFY(!frame.isVisible());
    }
};

DBSIFT_APP_TEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
