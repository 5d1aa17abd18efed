// SPDX-License-Identifier: MIT
// The settings file: its profile-file semantics, the conversions of stored text, and what the
// comparison window reads at start and writes when it closes.
#include "AppTestMain.h"
#include "shell/FlexGrid.h"
#include "shell/ProfileFile.h"
#include "shell/SettingsText.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QComboBox>
#include <QDir>
#include <QProgressBar>
#include <QSettings>

using namespace dbsift;
using dbsift::test::AppSandbox;

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void profileLooksUpSectionsAndKeysIgnoringCase() {
        AppSandbox sandbox;
        sandbox.writeSettings("[FRMMAIN]\r\nWindowstate=2\r\n\r\n[Other]\r\nkey=other\r\n");
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "WINDOWSTATE", "0", kSettingsBuffer), std::string("2"));
        QCOMPARE(profile.readString("frmMain", "key", "none", kSettingsBuffer), std::string("none"));
        QCOMPARE(profile.readString("missing", "key", "dflt", kSettingsBuffer), std::string("dflt"));
    }

    void profileReplacesInPlaceAndCreatesWhatIsMissing() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QVERIFY(profile.writeString("frmMain", "Left", "1"));
        QVERIFY(profile.writeString("Other", "x", "y"));
        QVERIFY(profile.writeString("FRMMAIN", "left", "2"));
        QVERIFY(profile.writeString("frmMain", "Top", "3"));
        QCOMPARE(sandbox.settingsText(), std::string("[frmMain]\r\nleft=2\r\nTop=3\r\n[Other]\r\nx=y\r\n"));
        // Nothing is left behind beside the file.
        QCOMPARE(QDir(QString::fromStdString(sandbox.paths().iniFilePath.parent_path().string()))
                     .entryList(QDir::Files | QDir::Hidden)
                     .size(),
                 1);
    }

    void profileCutsValuesToTheReadersBuffers() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        const std::string longValue(600, 'v');
        profile.writeString("s", "k", longValue);
        QCOMPARE(profile.readString("s", "k", "", kSettingsBuffer).size(), size_t(499));
        QCOMPARE(profile.readString("s", "k", "", kRecentBuffer).size(), size_t(127));
    }

    void decimalTextTakesPointOrComma_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("point") << "0.5" << 0.5;
        QTest::newRow("comma") << "0,5" << 0.5;
        QTest::newRow("whole") << "1" << 1.0;
        QTest::newRow("garbage") << "half" << 0.35;
        QTest::newRow("empty") << "" << 0.35;
        QTest::newRow("two separators") << "0.5.5" << 0.35;
    }
    void decimalTextTakesPointOrComma() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(parseDecimalText(text.toStdString(), 0.35), expected);
    }

    void booleansAndNumbersFallBackToTheirDefaults() {
        QCOMPARE(textToBool("TRUE", false), true);
        QCOMPARE(textToBool("false", true), false);
        QCOMPARE(textToBool("0", true), false);
        QCOMPARE(textToBool("-1", false), true);
        QCOMPARE(textToBool("yes please", true), true);
        QCOMPARE(textToBool("yes please", false), false);
        QCOMPARE(textToWhole("1500px", 0), int64_t(1500));
        QCOMPARE(textToWhole("wide", 1700), int64_t(1700));
        QCOMPARE(textToWhole("99999", 1700, 0, INT16_MAX), int64_t(1700));
    }

    void firstStartShowsTheDefaultsAndWritesThem() {
        AppSandbox sandbox;
        frmMainMDI& frame = sandbox.start();
        frmMain& form = frame.mainForm();
        const clsAppVar& vars = form.getApplicationVariables();
        QCOMPARE(form.getdRatioTopEditor(), 0.35);
        QCOMPARE(vars.getNumberofRecords(), 50);
        QCOMPARE(vars.getGridCol0(), int16_t(1700));
        QCOMPARE(vars.getGridCol3(), int16_t(1400));
        QCOMPARE(vars.getOriginalColor(), uint32_t(0x80FF80));
        QCOMPARE(form.getOriginalColor(), uint32_t(0x80FF80));
        QCOMPARE(vars.getModifiedColor(), uint32_t(0xFFFFFF));
        QVERIFY(!form.timerRunning());
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "GRID1_COL0", "", kSettingsBuffer), std::string("1700"));
        QCOMPARE(profile.readString("frmMain", "ORIGINAL_COLOR", "", kSettingsBuffer),
                 std::string("8454016"));
        QCOMPARE(profile.readString("frmMain", "DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", "", kSettingsBuffer),
                 std::string("False"));
    }

    void storedValuesAreReadAndBadOnesFallBack() {
        AppSandbox sandbox;
        sandbox.writeSettings("[frmMain]\ndRatioTopEditor=0,5\nNUMBER_OF_RECORDS_TO_DISPLAY=many\n"
                              "SHOW_METADATA=0\nSHOW_QUERIES_ONLY=maybe\nGRID1_COL0=70000\nGRID1_COL1=900\n"
                              "REPORT_PATH=/tmp/report.html\n");
        frmMain& form = sandbox.start().mainForm();
        // With no Original connection the load's save reinitialises the view options for this
        // run; what was read shows in what the save did not reset.
        QCOMPARE(form.getdRatioTopEditor(), 0.5);
        QCOMPARE(form.getReportPath(), std::string("/tmp/report.html"));
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "SHOW_METADATA", "", kSettingsBuffer), std::string("0"));
    }

    void storedViewOptionsHoldWhenAnOriginalIsChosen() {
        AppSandbox sandbox;
        const std::string db = sandbox.createDatabase("a.db", "create table t(id integer primary key);");
        sandbox.writeSettings("[frmMain]\nNUMBER_OF_RECORDS_TO_DISPLAY=many\nSHOW_METADATA=0\n"
                              "SHOW_QUERIES_ONLY=maybe\nGRID1_COL0=70000\nGRID1_COL1=900\n"
                              "lLastSelectedOrigConnIndex=0\n[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" +
                              AppSandbox::fileConnection(db) + "\n");
        frmMain& form = sandbox.start().mainForm();
        const clsAppVar& vars = form.getApplicationVariables();
        QCOMPARE(vars.getNumberofRecords(), 50);
        QCOMPARE(vars.getShowStructure(), false);
        QCOMPARE(vars.getShowViews(), false);
        QCOMPARE(vars.getGridCol0(), int16_t(1700));
        QCOMPARE(vars.getGridCol1(), int16_t(900));
    }

    void closingMaximisedWritesOnlyTheState() {
        AppSandbox sandbox;
        frmMainMDI& frame = sandbox.start();
        frame.setGeometry(30, 40, 900, 600);
        frame.mainForm().SaveIniFile();
        const std::string before =
            ProfileFile(sandbox.paths().iniFilePath).readString("frmMain", "Width", "", kSettingsBuffer);
        QCOMPARE(before, std::string("13500"));
        frame.setWindowState(Qt::WindowMaximized);
        QCOMPARE(frame.windowStateCode(), 2);
        sandbox.stop();
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "WindowState", "", kSettingsBuffer), std::string("2"));
        QCOMPARE(profile.readString("frmMain", "Width", "", kSettingsBuffer), before);
        QCOMPARE(QSettings().value("frmMainMDISettings/WindowState").toInt(), 2);
    }

    void progressHandlerClampsAndIgnoresEmptyEvents() {
        AppSandbox sandbox;
        frmMainMDI& frame = sandbox.start();
        frmMain& form = frame.mainForm();
        QProgressBar& bar = frame.ProgressBar1();
        form.setProgressBar();
        QVERIFY(bar.isVisible());
        form.UpdateCount(10, 100, "Reading customers");
        QCOMPARE(bar.maximum(), 100);
        QCOMPARE(bar.value(), 10);
        QCOMPARE(frame.panelText(2), QString("Reading customers"));
        form.UpdateCount(250, 0, "");
        QCOMPARE(bar.value(), 100);
        form.UpdateCount(0, 0, "");
        QCOMPARE(bar.value(), 100);
        QCOMPARE(frame.panelText(2), QString("Reading customers"));
        form.resetProgressBar();
        QVERIFY(!bar.isVisible());
    }

    void colourToHtml_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<QString>("html");
        QTest::newRow("black") << 0u << "#000000";
        QTest::newRow("red") << 255u << "#FF0000";
        QTest::newRow("mixed") << 0x563412u << "#123456";
        QTest::newRow("white") << 0xFFFFFFu << "#FFFFFF";
    }
    void colourToHtml() {
        QFETCH(uint, colour);
        QFETCH(QString, html);
        QCOMPARE(QString::fromStdString(frmMain::ColorToHTML(colour)), html);
    }
};

DBSIFT_APP_TEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
