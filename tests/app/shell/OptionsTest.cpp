// SPDX-License-Identifier: MIT
// The options dialog: immediate effects, Done writing the keys, Cancel writing nothing.
#include "AppTestMain.h"
#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "shell/frmOptions.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <sifkit/Sifcore.h>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

std::string stored(const AppSandbox& sandbox, const char* key) {
    return ProfileFile(sandbox.paths().iniFilePath).readString("frmMain", key, "<missing>", kSettingsBuffer);
}

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void clicksTakeEffectAtOnceAndCancelWritesNothing() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        frmOptions& dialog = form.optionsDialog();
        dialog.setFormToUse(form);
        dialog.show();
        dialog.findChild<QCheckBox*>("chkShowViews")->click();
        dialog.findChild<QCheckBox*>("chkShowDifferencesOnly")->click();
        dialog.findChild<QRadioButton*>("optShowRecordStructureOnlyifDifferent")->click();
        const clsAppVar& vars = form.getApplicationVariables();
        QVERIFY(vars.getShowViews());
        QVERIFY(form.Sifcore1().getMasterDataManager()->getShowViews());
        QVERIFY(form.Sifcore1().getSourceDataManager()->getShowViews());
        QVERIFY(vars.getShowDifferencesOnly());
        QVERIFY(vars.getShowRecordMetadataIfDifferent());
        QVERIFY(!vars.getNoShowRecordMetadata());
        QVERIFY(!vars.getShowRecordMetadata());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(vars.getShowViews());
        QCOMPARE(stored(sandbox, "SHOW_QUERIES_ONLY"), std::string("<missing>"));
        QCOMPARE(stored(sandbox, "SHOW_METADATA_WITH_RECORD_IF_DIFFERENT"), std::string("<missing>"));
    }

    void doneWritesEveryOptionFromTheLiveValues() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        frmOptions& dialog = form.optionsDialog();
        dialog.setFormToUse(form);
        dialog.show();
        dialog.findChild<QCheckBox*>("chkshowStructure")->click();
        dialog.findChild<QRadioButton*>("optShowRecordStructure")->click();
        dialog.findChild<QLineEdit*>("txtDspLimit")->setText("120");
        sandbox.prompter().queueFile("/tmp/reports/diff.html");
        dialog.findChild<QPushButton*>("cmdSelectReportFolderDefaultDOC")->click();
        QCOMPARE(sandbox.prompter().lastFileRequest()->title, QString("Report File HTM"));
        QCOMPARE(sandbox.prompter().lastFileRequest()->filter, QString("All files|*.*"));
        dialog.findChild<QPushButton*>("cmdDone")->click();
        QCOMPARE(stored(sandbox, "SHOW_METADATA"), std::string("False"));
        QCOMPARE(stored(sandbox, "SHOW_METADATA_WITH_RECORD_ALWAYS"), std::string("True"));
        QCOMPARE(stored(sandbox, "SHOW_METADATA_WITH_RECORD_NEVER"), std::string("False"));
        QCOMPARE(stored(sandbox, "SHOW_QUERIES_ONLY"), std::string("False"));
        QCOMPARE(stored(sandbox, "NUMBER_OF_RECORDS_TO_DISPLAY"), std::string("120"));
        QCOMPARE(stored(sandbox, "REPORT_PATH"), std::string("/tmp/reports/diff.html"));
        QCOMPARE(form.getReportPath(), std::string("/tmp/reports/diff.html"));
        QCOMPARE(form.getApplicationVariables().getNumberofRecords(), 120);
    }

    void aChosenColourPaintsTheListButIsNotReadBack() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        // Saving without an Original database starts from the initial values; choose one.
        form.setMasterConnectionString(
            AppSandbox::fileConnection(sandbox.createDatabase("a.db", "create table t(x);")), true, true);
        frmOptions& dialog = form.optionsDialog();
        dialog.setFormToUse(form);
        dialog.show();
        sandbox.prompter().queueColour(0x0000FFu);
        dialog.findChild<QPushButton*>("txtOriginalColor")->click();
        sandbox.prompter().queueColour(std::nullopt);
        dialog.findChild<QPushButton*>("txtModifiedColor")->click();
        QCOMPARE(form.getOriginalColor(), uint32_t(0x0000FF));
        QCOMPARE(form.getModifiedColor(), uint32_t(0xFFFFFF));
        dialog.findChild<QPushButton*>("cmdDone")->click();
        sandbox.stop();
        QCOMPARE(stored(sandbox, "ORIGINAL_COLOR"), std::string("255"));
        QCOMPARE(sandbox.start().mainForm().getOriginalColor(), uint32_t(0x80FF80));
    }
};

DBSIFT_APP_TEST_MAIN(OptionsTest)
#include "OptionsTest.moc"
