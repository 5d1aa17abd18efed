// SPDX-License-Identifier: MIT
// The program's command line: --help and --version answered without a display, and the
// databases it names (files or dsn:NAME) chosen and compared when the window loads.
#include "shell/CommandLine.h"
#include "AppTestMain.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QStackedWidget>
#include <QTreeWidget>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

using Action = CommandLineRequest::Action;

const std::string kOriginal = "create table people(id integer primary key, name varchar(10), age integer);"
                              "create table orders(id integer primary key, total real);";
const std::string kModified = "create table people(id integer primary key, name text, city text);";

QStringList topLevelTexts(frmMain& form, const char* treeName) {
    QTreeWidget& tree = *form.findChild<QTreeWidget*>(treeName);
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts << tree.topLevelItem(i)->text(0);
    texts.sort();
    return texts;
}

/// The whole connection string a recent-connection box holds (its tooltip; the box shows the name).
QString listText(frmMain& form, const char* listName) {
    return form.findChild<QComboBox*>(listName)->toolTip();
}

QString connection(const std::string& path) {
    return QString::fromStdString(AppSandbox::fileConnection(path));
}

/// Settings that preselect two database files as the remembered Original and Modified.
std::string rememberedPair(const std::string& original, const std::string& modified) {
    return "[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n"
           "[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" +
           AppSandbox::fileConnection(original) +
           "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + AppSandbox::fileConnection(modified) + "\n";
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("modified");
        QTest::addColumn<QString>("text");
        const QString here = QDir::currentPath();
        QTest::newRow("nothing") << QStringList{} << int(Action::OpenWindow) << ""
                                 << ""
                                 << "";
        QTest::newRow("the Original only, made absolute")
            << QStringList{"a.db"} << int(Action::OpenWindow) << here + "/a.db"
            << ""
            << "";
        QTest::newRow("a file and a data source")
            << QStringList{"/data/a.db", "dsn:Sales"} << int(Action::OpenWindow) << "/data/a.db"
            << "dsn:Sales"
            << "";
        QTest::newRow("a relative folder is kept in the path")
            << QStringList{"sub/../b.db", "./dsn:x.db"} << int(Action::OpenWindow) << here + "/b.db"
            << here + "/dsn:x.db"
            << "";
        QTest::newRow("three databases")
            << QStringList{"a", "b", "c"} << int(Action::UsageError) << ""
            << ""
            << "Dbsift: at most two databases are taken, ORIGINAL and MODIFIED (see Dbsift --help)\n";
        QTest::newRow("an unknown option") << QStringList{"--colour"} << int(Action::UsageError) << ""
                                           << ""
                                           << "Dbsift: Unknown option 'colour'. (see Dbsift --help)\n";
        QTest::newRow("help, whatever else is there")
            << QStringList{"a", "b", "c", "--colour", "-h"} << int(Action::ShowHelp) << ""
            << ""
            << "";
        QTest::newRow("version") << QStringList{"--version"} << int(Action::ShowVersion) << ""
                                 << "" << QString("Dbsift %1\n").arg(DBSIFT_VERSION);
    }

    void readsTheArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, original);
        QFETCH(QString, modified);
        QFETCH(QString, text);
        const CommandLineRequest request = readCommandLine(QStringList{"Dbsift"} + arguments);
        QCOMPARE(int(request.action), action);
        QCOMPARE(request.databases.original, original);
        QCOMPARE(request.databases.modified, modified);
        if (request.action == Action::ShowHelp) {
            QVERIFY(request.text.contains("[options] [ORIGINAL [MODIFIED]]"));
            QVERIFY(request.text.contains("dsn:NAME"));
        } else {
            QCOMPARE(request.text, text);
        }
    }

    // The real program, in an environment without any display: --help and --version must not
    // need one.
    void programAnswersWithoutADisplay() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        const auto run = [&](const QStringList& arguments) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(DBSIFT_PROGRAM, arguments);
            program.closeWriteChannel();
            if (!program.waitForFinished(30000))
                return std::pair{-1, QString("did not finish")};
            const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
            return std::pair{program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, out};
        };
        const auto [versionStatus, version] = run({"--version"});
        QCOMPARE(versionStatus, 0);
        QCOMPARE(version, QString("Dbsift %1\n").arg(DBSIFT_VERSION));
        const auto [helpStatus, help] = run({"--help"});
        QCOMPARE(helpStatus, 0);
        QVERIFY2(help.contains("[ORIGINAL [MODIFIED]]") && help.contains("--version"), qPrintable(help));
        // Qt's own options come before the program's and change nothing.
        const auto [withQtOption, sameHelp] = run({"-platform", "offscreen", "-h"});
        QCOMPARE(withQtOption, 0);
        QCOMPARE(sameHelp, help);
    }

    void namedPairIsChosenAndComparedOverTheRememberedOne() {
        AppSandbox sandbox;
        const std::string original = sandbox.createDatabase("named-original.db", kOriginal);
        const std::string modified = sandbox.createDatabase("named-modified.db", kModified);
        const std::string rememberedOriginal = sandbox.createDatabase("remembered-original.db", kModified);
        const std::string rememberedModified = sandbox.createDatabase("remembered-modified.db", kModified);
        sandbox.writeSettings(rememberedPair(rememberedOriginal, rememberedModified));

        frmMain& form =
            sandbox.start(false, {QString::fromStdString(original), QString::fromStdString(modified)})
                .mainForm();
        QCOMPARE(listText(form, "cboMasterRecentConn"), connection(original));
        QCOMPARE(listText(form, "cboSourceRecentConn"), connection(modified));
        QCOMPARE(topLevelTexts(form, "TreeView1"), (QStringList{"orders", "people"}));
        QCOMPARE(topLevelTexts(form, "TreeView2"), QStringList{"people"});
        // Compared as "Run Compare" compares: the structure grids are in front, the changes counted.
        auto* lower = form.findChild<QStackedWidget*>();
        QCOMPARE(lower->currentWidget()->objectName(), QString("frameStructureGrids"));
        QVERIFY(form.findChild<FlexGrid*>("MSFlexGrid1")->rows() > 1);
        QVERIFY2(form.frame().panelText(4).endsWith("structural changes found."),
                 qPrintable(form.frame().panelText(4)));
        QCOMPARE(sandbox.prompter().messages(), QStringList{});

        // The named pair joins the recent lists; the remembered choice stays the one preselected.
        const std::string settings = sandbox.settingsText();
        QVERIFY(settings.find("ORIGINAL_CONNECTIONS1=" + AppSandbox::fileConnection(original)) !=
                std::string::npos);
        QVERIFY(settings.find("MODIFIED_CONNECTIONS1=" + AppSandbox::fileConnection(modified)) !=
                std::string::npos);
        sandbox.stop();
        frmMain& again = sandbox.start().mainForm();
        QCOMPARE(listText(again, "cboMasterRecentConn"), connection(rememberedOriginal));
    }

    void theOriginalAloneIsComparedWithTheRememberedModified() {
        AppSandbox sandbox;
        const std::string original = sandbox.createDatabase("named.db", kOriginal);
        const std::string remembered = sandbox.createDatabase("remembered.db", kModified);
        sandbox.writeSettings(rememberedPair(remembered, remembered));
        frmMain& form = sandbox.start(false, {QString::fromStdString(original), {}}).mainForm();
        QCOMPARE(listText(form, "cboMasterRecentConn"), connection(original));
        QCOMPARE(listText(form, "cboSourceRecentConn"), connection(remembered));
        QCOMPARE(topLevelTexts(form, "TreeView1"), (QStringList{"orders", "people"}));
        QCOMPARE(form.findChild<QStackedWidget*>()->currentWidget()->objectName(),
                 QString("frameStructureGrids"));
    }

    void dataSourcesAreNamedAsDbsiftCompareNamesThem() {
        AppSandbox sandbox;
        const std::string original = sandbox.createDatabase("dsn-original.db", kOriginal);
        const std::string modified = sandbox.createDatabase("dsn-modified.db", kModified);
        test::writeSqliteDataSources({{"Sales", original}, {"Sales Copy", modified}});
        frmMain& form = sandbox.start(false, {"dsn:Sales", "dsn:Sales Copy"}).mainForm();
        QVERIFY2(listText(form, "cboMasterRecentConn").contains("Data Source=Sales"),
                 qPrintable(listText(form, "cboMasterRecentConn")));
        QCOMPARE(topLevelTexts(form, "TreeView1"), (QStringList{"orders", "people"}));
        QCOMPARE(topLevelTexts(form, "TreeView2"), QStringList{"people"});
        QCOMPARE(sandbox.prompter().messages(), QStringList{});
        test::writeSqliteDataSources({});
    }

    void aDatabaseThatCannotBeChosenIsToldAndItsSideKeepsTheRememberedOne() {
        AppSandbox sandbox;
        const std::string rememberedOriginal = sandbox.createDatabase("remembered-original.db", kOriginal);
        const std::string rememberedModified = sandbox.createDatabase("remembered-modified.db", kModified);
        sandbox.writeSettings(rememberedPair(rememberedOriginal, rememberedModified));
        const QString missing = sandbox.folder() + "/missing.db";
        frmMain& form = sandbox.start(false, {missing, "dsn:Nowhere"}).mainForm();
        QCOMPARE(sandbox.prompter().messages(),
                 (QStringList{"The Original database " + missing + " does not exist.",
                              "The Modified database dsn:Nowhere cannot be chosen: there is no ODBC data "
                              "source named \"Nowhere\""}));
        // Nothing was chosen: the window loads the remembered pair as usual, and the missing file
        // has not joined the recent list.
        QCOMPARE(listText(form, "cboMasterRecentConn"), connection(rememberedOriginal));
        QCOMPARE(listText(form, "cboSourceRecentConn"), connection(rememberedModified));
        QCOMPARE(topLevelTexts(form, "TreeView1"), (QStringList{"orders", "people"}));
        QVERIFY(sandbox.settingsText().find("missing.db") == std::string::npos);
    }
};

DBSIFT_APP_TEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
