// SPDX-License-Identifier: MIT
// With a pseudo-translation loaded (every text of the catalogue translated as itself behind
// "⟦"), every text the windows and dialogs show, and every message, carries the mark: a text
// without it never went through tr(), or went through it in a context the catalogue does not
// know. The difference list still reads its own translated entries back.
#include "../data/DataViewFixture.h"
#include "AppTestMain.h"
#include "connect/frmSelectConn.h"
#include "data/frmDispMessage.h"
#include "shell/frmOptions.h"
#include "sync/frmUndo.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

const QString kMark = QString::fromUtf8("⟦");

const std::string kTable =
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n";
const std::string kOriginal = kTable + "INSERT INTO people VALUES (1, 'Ann', 'Oslo'), (2, 'Bo', 'Rome');\n";
const std::string kModified = kTable + "INSERT INTO people VALUES (1, 'Ann', 'Bergen');\n";

/// Texts that are not the application's words: the product's name, a bare ellipsis, numbers.
bool isNoWords(const QString& text) {
    static const QRegularExpression noLetters("^[^\\p{L}]*$");
    return text == QLatin1String("Dbsift") || noLetters.match(text).hasMatch();
}

/// What a widget tree shows in words without the mark, each as "object: text". Data the
/// windows show (connection strings, table and field names, values) is left out: lists, trees,
/// grids' cells and the labels and tips that repeat a connection string.
QStringList unmarkedTexts(QWidget& root) {
    QStringList found;
    const auto check = [&](const QObject* owner, const QString& text) {
        const QString shown = text.trimmed();
        if (!shown.isEmpty() && !shown.startsWith(kMark) && !isNoWords(shown))
            found << owner->objectName() + ": " + text;
    };
    check(&root, root.windowTitle());
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (widget->objectName() == "lblSelectedConnection" || qobject_cast<QComboBox*>(widget))
            continue;
        check(widget, widget->toolTip());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            check(button, button->text());
        else if (auto* label = qobject_cast<QLabel*>(widget))
            check(label, label->text());
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            check(group, group->title());
        else if (auto* menu = qobject_cast<QMenu*>(widget))
            check(menu, menu->title());
        else if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                check(tabs, tabs->tabText(i));
    }
    for (QAction* action : root.findChildren<QAction*>()) {
        check(action, action->text());
        check(action, action->toolTip());
    }
    return found;
}

QStringList headerTexts(FlexGrid& grid) {
    QStringList texts;
    for (int col = 0; col < grid.cols(); ++col)
        texts << grid.textMatrix(0, col);
    return texts;
}

} // namespace

class TranslationTest : public QObject {
    Q_OBJECT

    QTranslator pseudo_;

private slots:
    void initTestCase() {
        QVERIFY(pseudo_.load(DBSIFT_PSEUDO_CATALOGUE));
        QVERIFY(QCoreApplication::installTranslator(&pseudo_));
    }

    void everyTextOfTheWindowsIsTranslated() {
        AppSandbox sandbox;
        const std::string original = sandbox.createDatabase("original.db", kOriginal);
        const std::string modified = sandbox.createDatabase("modified.db", kModified);
        sandbox.writeSettings(
            "[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + AppSandbox::fileConnection(original) +
            "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + AppSandbox::fileConnection(modified) +
            "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n");
        // With the hint of the data-compare mode, which comes over the window.
        frmMainMDI& frame = sandbox.start(true);
        frmMain& form = frame.mainForm();
        auto* hint = form.findChild<frmDispMessage*>("frmDispMessage");
        QVERIFY(hint && hint->isVisible());
        QCOMPARE(unmarkedTexts(*hint), QStringList{});
        hint->accept();
        QCOMPARE(unmarkedTexts(frame), QStringList{});

        frmSelectConn& connection = form.connectionDialog();
        connection.setFormControl("use_master", form);
        QCOMPARE(unmarkedTexts(connection), QStringList{});
        frmOptions& options = form.optionsDialog();
        options.setFormToUse(form);
        QCOMPARE(unmarkedTexts(options), QStringList{});

        form.mnuRun_Click();
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2"})
            for (const QString& header : headerTexts(test::grid(form, name)))
                QVERIFY2(header.startsWith(kMark), qPrintable(header));
        QVERIFY2(frame.panelText(4).startsWith(kMark), qPrintable(frame.panelText(4)));

        QVERIFY(test::compareTable(form, "people"));
        QCOMPARE(unmarkedTexts(form.fieldListDialog()), QStringList{});
        QCOMPARE(unmarkedTexts(frame), QStringList{});
        QVERIFY(frame.panelText(1).startsWith(kMark));
        QVERIFY(test::grid(form, "msFlexGridDataDiff").textMatrix(0, 0).startsWith(kMark));
        // The entries carry the translated marker, and the view still reads their record and side.
        const QStringList entries = test::entries(form);
        QVERIFY2(!entries.isEmpty() && entries.first().contains(kMark + " ORIGINAL ITEM NUMBER = 1"),
                 qPrintable(entries.join(" | ")));
        form.cmdLast_Click();
        QCOMPARE(form.getSelectedRecordNumber(), 2);
        QVERIFY(form.getApplicationVariables().getIsOriginal());

        form.cmdFirstDiff_Click();
        test::button(form, "cmdCopyRecord").click();
        QVERIFY2(frame.panelText(2).startsWith(kMark), qPrintable(frame.panelText(2)));
        form.cmdUndo_Click();
        QCOMPARE(unmarkedTexts(form.undoDialog()), QStringList{});
    }

    void everyMessageIsTranslated() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        form.mnuRun_Click();
        form.requestReport();
        form.cmdCopyRecord_Click();
        QCOMPARE(sandbox.prompter().messages().size(), 3);
        for (const QString& message : sandbox.prompter().messages())
            QVERIFY2(message.startsWith(kMark), qPrintable(message));
    }
};

DBSIFT_APP_TEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
