// SPDX-License-Identifier: MIT
// Saved comparisons in the window: opened from a file and run with its key, ignored columns, value
// options and row filters; saved from what the window shows; remembered in the recent list; and
// exported as the JSON dbsift-compare prints for the same file, byte for byte.
#include "AppTestMain.h"
#include "DataViewFixture.h"

#include "Comparison.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>

using namespace dbsift;
using namespace dbsift::test;

namespace {

/// Lines of orders under a composite key and no primary key. Line 1/1 differs only in letter
/// case and in updated_at, line 1/2 in its quantity; the lines of order 2 differ but are outside
/// the row filter.
const char* const kLines[2] = {
    "CREATE TABLE lines (order_id INTEGER, line_no INTEGER, item TEXT, qty INTEGER, updated_at TEXT);\n"
    "INSERT INTO lines VALUES (1, 1, 'Pen', 2, 'mon'), (1, 2, 'Ink', 1, 'mon'), (2, 1, 'Pad', 5, 'mon');\n"
    "CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT);\nINSERT INTO notes VALUES (1, 'a');\n",
    "CREATE TABLE lines (order_id INTEGER, line_no INTEGER, item TEXT, qty INTEGER, updated_at TEXT);\n"
    "INSERT INTO lines VALUES (1, 1, 'PEN', 2, 'tue'), (1, 2, 'Ink', 3, 'tue'), (2, 2, 'Cap', 1, 'tue');\n"
    "CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT);\nINSERT INTO notes VALUES (1, 'b');\n"};

const char* const kLinesComparison =
    R"({"format": "dbsift-comparison", "version": 1, "original": "original.db", "modified": "modified.db",
 "compare": "table", "table": "lines", "key": ["order_id", "line_no"], "ignoreColumns": ["updated_at"],
 "valueOptions": {"ignoreCase": true}, "filters": {"original": "order_id = 1", "modified": "order_id = 1"}})";

QString writeFile(const AppSandbox& sandbox, const QString& name, const QByteArray& text) {
    const QString path = sandbox.folder() + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// What dbsift-compare --comparison FILE --format json prints, run from another folder.
QByteArray cliJson(const QString& comparison) {
    QProcess cli;
    cli.setWorkingDirectory("/");
    cli.start(DBSIFT_CLI_PROGRAM, {"--comparison", comparison, "--format", "json"});
    if (!cli.waitForFinished(60000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() == 2)
        qWarning() << "dbsift-compare:" << cli.readAllStandardError();
    return cli.readAllStandardOutput();
}

QByteArray exported(AppSandbox& sandbox, frmMain& form, const QString& name) {
    const QString path = sandbox.folder() + "/" + name;
    sandbox.prompter().queueFile(path);
    form.findChild<QAction*>("mnuExportJson")->trigger();
    return readFile(path);
}

} // namespace

class SavedComparisonTest : public QObject {
    Q_OBJECT
private slots:
    void aSavedComparisonRunsWithItsSettingsAndExportsWhatTheCommandLinePrints() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kLines[0], kLines[1]);
        const QString linesFile = writeFile(sandbox, "lines.json", kLinesComparison);
        sandbox.prompter().queueFile(linesFile);
        form.findChild<QAction*>("mnuOpenComparison")->trigger();

        // Only line 1/2 differs: letter case, updated_at and order 2 are left out as the file says,
        // and it is paired with its counterpart through both key columns.
        const sifkit::DataResult& result = form.Sifcore1().lastDataResult();
        QCOMPARE(result.original.size(), std::size_t(1));
        QCOMPARE(result.modified.size(), std::size_t(1));
        QCOMPARE(result.keyColumns, std::vector<std::string>({"order_id", "line_no"}));
        QCOMPARE(result.original.front().counterpart, result.modified.front().number);
        QVERIFY(sandbox.frame()->windowTitle().endsWith("lines.json"));
        QCOMPARE(sandbox.frame()->panelText(3),
                 QString("Values compared with letter case ignored. Records compared where order_id = 1."));
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList());

        const QByteArray tableJson = exported(sandbox, form, "lines-result.json");
        QVERIFY(tableJson.contains("\"ignoreCase\": true"));
        QCOMPARE(tableJson, cliJson(linesFile));

        // Every table, saved from the window, keeps the value options and the key, which paired
        // its tables; the row filters were the one table's. Run again by both front ends it gives
        // the same document.
        form.findChild<QAction*>("mnuCompareEveryTable")->trigger();
        const QString everyFile = sandbox.folder() + "/every.json";
        sandbox.prompter().queueFile(everyFile);
        form.findChild<QAction*>("mnuSaveComparison")->trigger();
        const cli::SavedComparison saved = cli::readComparisonFile(everyFile.toStdString());
        QVERIFY(saved.kind == cli::ComparisonKind::EveryTable);
        QVERIFY(saved.data.options.ignoreCase);
        QCOMPARE(saved.data.key, std::vector<std::string>({"order_id", "line_no"}));
        QVERIFY(saved.data.originalFilter.empty() && saved.data.columns.empty());
        const QByteArray everyJson = exported(sandbox, form, "every-result.json");
        QVERIFY(everyJson.contains("\"mode\": \"data-summary\""));
        QCOMPARE(everyJson, cliJson(everyFile));

        // The recent list holds both, the last saved first; choosing the other opens it again.
        QMenu& recent = form.recentComparisonsMenu();
        QCOMPARE(recent.actions().size(), 2);
        QCOMPARE(recent.actions().at(0)->data().toString(), everyFile);
        recent.actions().at(1)->trigger();
        QVERIFY(form.heldComparison().kind == cli::ComparisonKind::Table);
        QCOMPARE(form.Sifcore1().lastDataResult().original.size(), std::size_t(1));
        QVERIFY(sandbox.prompter().allAnswersUsed());
    }

    // A key chosen for one table in its field list pairs it in the comparison of every table too,
    // and the comparison saved from the window holds it for the command line.
    void aKeyChosenForATablePairsItWhenEveryTableIsCompared() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kLines[0], kLines[1]);
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        QVERIFY(dialog.compareTableFromName("lines", form.Sifcore1().getMasterDataManager(),
                                            form.Sifcore1().getSourceDataManager()));
        button(dialog, "cmdSelectAll").click();
        dialog.findChild<QComboBox*>("cboKey")->setCurrentText("order_id, line_no");
        dialog.cmdCompare_Click();
        form.findChild<QAction*>("mnuCompareEveryTable")->trigger();
        const QString everyFile = sandbox.folder() + "/every.json";
        sandbox.prompter().queueFile(everyFile);
        form.findChild<QAction*>("mnuSaveComparison")->trigger();
        const cli::SavedComparison saved = cli::readComparisonFile(everyFile.toStdString());
        QVERIFY(saved.data.key.empty());
        QCOMPARE(saved.data.tableKeys.at("lines"), std::vector<std::string>({"order_id", "line_no"}));
        const QByteArray everyJson = exported(sandbox, form, "every-result.json");
        QVERIFY2(everyJson.contains("\"key\": [\n        \"order_id\",\n        \"line_no\"\n      ]"),
                 everyJson.constData());
        QCOMPARE(everyJson, cliJson(everyFile));
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList());
    }

    // The settings dialog edits what the window compares: the table shown is compared again, and
    // the comparison saved from it gives the command line the same result.
    void theSettingsDialogChangesWhatTheTableShownCompares() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kLines[0], kLines[1]);
        QVERIFY(compareTable(form, "lines"));
        QCOMPARE(form.Sifcore1().lastDataResult().original.size(), std::size_t(3));
        bool refused = false;
        whenShown("frmComparisonSettings", [&](QWidget& dialog) {
            dialog.findChild<QCheckBox*>("chkIgnoreCase")->setChecked(true);
            dialog.findChild<QLineEdit*>("txtKey")->setText("order_id, line_no");
            dialog.findChild<QLineEdit*>("txtIgnoreColumns")->setText("updated_at");
            dialog.findChild<QLineEdit*>("txtOriginalFilter")->setText("order_id = 1");
            dialog.findChild<QLineEdit*>("txtModifiedFilter")->setText("order_id = 1; DELETE FROM lines");
            auto* ok = dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok);
            ok->click(); // refused: the dialog stays, with everything typed
            refused = dialog.isVisible() && sandbox.prompter().takeMessages().size() == 1;
            dialog.findChild<QLineEdit*>("txtModifiedFilter")->setText("order_id = 1");
            ok->click();
        });
        form.findChild<QAction*>("mnuComparisonSettings")->trigger();
        QVERIFY(refused);
        const sifkit::DataResult& result = form.Sifcore1().lastDataResult();
        QCOMPARE(result.original.size(), std::size_t(1));
        QCOMPARE(result.keyColumns, std::vector<std::string>({"order_id", "line_no"}));
        QCOMPARE(form.getFieldList(), std::string("[order_id],[line_no],[item],[qty]"));

        const QString file = sandbox.folder() + "/lines.json";
        sandbox.prompter().queueFile(file);
        form.findChild<QAction*>("mnuSaveComparison")->trigger();
        const cli::SavedComparison saved = cli::readComparisonFile(file.toStdString());
        QCOMPARE(saved.table, std::string("lines"));
        QCOMPARE(saved.data.ignoreColumns, std::vector<std::string>({"updated_at"}));
        QCOMPARE(saved.data.modifiedFilter, std::string("order_id = 1"));
        QCOMPARE(exported(sandbox, form, "lines-result.json"), cliJson(file));
        QCOMPARE(sandbox.prompter().takeMessages(), QStringList());
    }

    // A structure comparison by type family: bigint against INTEGER is no difference, in the
    // window and in the document both front ends write.
    void aStructureComparisonByTypeFamilyIsRunAndExported() {
        AppSandbox sandbox;
        frmMain& form =
            startOnTwoDatabases(sandbox, "CREATE TABLE t (id INTEGER PRIMARY KEY, s TEXT, b BLOB);",
                                "CREATE TABLE t (id BIGINT PRIMARY KEY, s VARCHAR(9), b TEXT);");
        const QString file =
            writeFile(sandbox, "structure.json",
                      R"({"format": "dbsift-comparison", "version": 1, "original": "original.db",
 "modified": "modified.db", "fields": true, "typesByFamily": true})");
        QVERIFY(form.openComparisonFile(file));
        const sifkit::StructureResult& result = form.Sifcore1().lastStructureResult();
        QVERIFY(result.typesByFamily);
        int typeDifferences = 0;
        for (const sifkit::StructureEntry& entry : result.original.entries)
            typeDifferences += entry.change == sifkit::ChangeCode::DifferentDatatype ? 1 : 0;
        QCOMPARE(typeDifferences, 1); // b: binary against text
        const QByteArray json = exported(sandbox, form, "structure-result.json");
        QVERIFY(json.contains("\"typesByFamily\": true"));
        QCOMPARE(json, cliJson(file));
    }

    // The file names the user of a data source, never a password: that is asked for each time.
    void aDataSourceWithAUserIsOpenedWithThePasswordAskedFor() {
        AppSandbox sandbox;
        test::writeSqliteDataSources({{"Lines", sandbox.folder().toStdString() + "/original.db"}});
        frmMain& form = startOnTwoDatabases(sandbox, kLines[0], kLines[1]);
        const QString before = form.recentListText(true);
        const QString file =
            writeFile(sandbox, "server.json",
                      R"({"format": "dbsift-comparison", "version": 1, "original": "dsn:Lines",
 "originalUser": "ann", "modified": "modified.db"})");
        sandbox.prompter().queuePassword(QString()); // Cancel: nothing changes
        QVERIFY(!form.openComparisonFile(file));
        QCOMPARE(form.recentListText(true), before);
        sandbox.prompter().queuePassword("s3cret");
        QVERIFY(form.openComparisonFile(file));
        QCOMPARE(sandbox.prompter().takeMessages().first(), QString("The password of user ann for Lines:"));
        const std::string connection = form.getMasterConnectionString();
        QVERIFY2(connection.find("ann") != std::string::npos &&
                     connection.find("s3cret") != std::string::npos,
                 connection.c_str());
        QVERIFY(!form.recentListText(true).contains("s3cret"));
        test::writeSqliteDataSources({});
    }

    void aComparisonThatCannotBeOpenedChangesNothing() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, kLines[0], kLines[1]);
        const QString original = form.recentListText(true);
        const QString misspelt =
            writeFile(sandbox, "misspelt.json",
                      R"({"format": "dbsift-comparison", "version": 1, "original": "original.db",
                "modified": "modified.db", "compare": "every-table", "ignoreColums": ["updated_at"]})");
        const QString missing = writeFile(
            sandbox, "missing.json",
            R"({"format": "dbsift-comparison", "version": 1, "original": "gone.db", "modified": "modified.db"})");
        QVERIFY(!form.openComparisonFile(misspelt));
        QVERIFY(!form.openComparisonFile(missing));
        const QStringList messages = sandbox.prompter().takeMessages();
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[0].contains("\"ignoreColums\", which is not a comparison setting"),
                 qPrintable(messages[0]));
        QVERIFY2(messages[1].contains("gone.db does not exist"), qPrintable(messages[1]));
        QCOMPARE(form.recentListText(true), original);
        QVERIFY(form.recentComparisonsMenu().actions().isEmpty());
        QVERIFY(form.heldComparison() == cli::SavedComparison{});
    }
};

DBSIFT_APP_TEST_MAIN(SavedComparisonTest)
#include "SavedComparisonTest.moc"
