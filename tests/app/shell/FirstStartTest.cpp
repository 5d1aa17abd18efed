// SPDX-License-Identifier: MIT
// The first start on a machine: the sample databases made and chosen, both trees filled, the
// settings file written with its defaults; help and about.
#include "shell/FirstStart.h"
#include "AppTestMain.h"
#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace dbsift;
using dbsift::test::AppSandbox;

class FirstStartTest : public QObject {
    Q_OBJECT
private slots:
    void aNewcomerSeesTheSamplesCompared() {
        AppSandbox sandbox;
        QCOMPARE(prepareFirstStart(sandbox.paths()), std::string());
        // The first start shows the data-compare hint; "Never Show this Message Again" saves at once.
        test::whenShown("frmDispMessage", [](QWidget& hint) {
            hint.findChild<QCheckBox*>("chkNeverShowAgain")->click();
            hint.findChild<QPushButton*>("cmdOkay")->click();
        });
        frmMain& form = sandbox.start(true).mainForm();
        const auto data = sandbox.paths().dataFolder;
        QCOMPARE(form.getMasterConnectionString(),
                 AppSandbox::fileConnection((data / "original.db").string()));
        QCOMPARE(form.getSourceConnectionString(),
                 AppSandbox::fileConnection((data / "modified.db").string()));
        QVERIFY(form.findChild<QTreeWidget*>("TreeView1")->topLevelItemCount() > 0);
        QVERIFY(form.findChild<QTreeWidget*>("TreeView2")->topLevelItemCount() > 0);
        QVERIFY(sandbox.prompter().messages().isEmpty());
        ProfileFile settings(sandbox.paths().iniFilePath);
        QCOMPARE(settings.readString("frmMain", "DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", "", kSettingsBuffer),
                 std::string("False"));
        for (const char* key :
             {"WindowState", "GRID1_COL0", "GRID1_COL1", "GRID2_COL0", "ORIGINAL_COLOR", "MODIFIED_COLOR"})
            QVERIFY2(!settings.readString("frmMain", key, "", kSettingsBuffer).empty(), key);
        // A second start leaves the samples and the recent lists as they are.
        QCOMPARE(prepareFirstStart(sandbox.paths()), std::string());
        sandbox.stop();
        QVERIFY(sandbox.settingsText().find("ORIGINAL_CONNECTIONS1") == std::string::npos);
    }

    void helpOpensTheProjectsPageAndAboutNamesTheVersion() {
        AppSandbox sandbox;
        frmMainMDI& frame = sandbox.start();
        QTest::keyClick(&frame.mainForm(), Qt::Key_F1);
        QCOMPARE(sandbox.prompter().openedUrls().size(), 1);
        QVERIFY(sandbox.prompter().openedUrls().front().toLocalFile().endsWith("dbsift_help.html"));
        QVERIFY(QFile::exists(sandbox.prompter().openedUrls().front().toLocalFile()));
        frame.mainForm().findChild<QAction*>("mnuAbout")->trigger();
        QVERIFY(sandbox.prompter().takeMessages().join("").contains(QApplication::applicationVersion()));
        QTest::keyClick(&frame.mainForm(), Qt::Key_F2);
        QCOMPARE(sandbox.prompter().takeMessages(),
                 QStringList{"Please select a table and do a data compare."});
    }

    void aMissingDatabaseIsReportedAndTheWindowStaysUsable() {
        AppSandbox sandbox;
        const std::string good =
            AppSandbox::fileConnection(sandbox.createDatabase("g.db", "create table t(x);"));
        const std::string gone = AppSandbox::fileConnection(sandbox.folder().toStdString() + "/gone.db");
        sandbox.writeSettings("[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + good +
                              "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + gone +
                              "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n");
        frmMain& form = sandbox.start().mainForm();
        QVERIFY(form.isEnabled());
        QVERIFY(!form.isBusy());
        QCOMPARE(form.findChild<QTreeWidget*>("TreeView2")->topLevelItemCount(), 0);
        const QStringList messages = sandbox.prompter().takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.front().contains("Modified database:") && messages.front().contains("gone.db"),
                 qPrintable(messages.front()));
        QVERIFY(!messages.front().contains("Original database"));
    }
};

DBSIFT_APP_TEST_MAIN(FirstStartTest)
#include "FirstStartTest.moc"
