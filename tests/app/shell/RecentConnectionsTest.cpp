// SPDX-License-Identifier: MIT
// The recent-connection lists: what is recorded, what is read back, what is preselected, and
// that a password never reaches the settings file.
#include "shell/RecentConnections.h"
#include "AppTestMain.h"
#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QComboBox>
#include <QDir>
#include <sifkit/Credentials.h>

using namespace dbsift;
using dbsift::test::AppSandbox;

class RecentConnectionsTest : public QObject {
    Q_OBJECT
private slots:
    void containedTextIsNotAddedAgain() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        addRecentConnection(profile, "DSN=Sales;Extra=1", true);
        addRecentConnection(profile, "dsn=sales", true);
        addRecentConnection(profile, "DSN=Other", true);
        addRecentConnection(profile, "DSN=Sales;Extra=1", false);
        QCOMPARE(readIniSection(profile, kOriginalConnectionsSection),
                 (std::vector<std::string>{"DSN=Sales;Extra=1", "DSN=Other"}));
        QCOMPARE(readIniSection(profile, kModifiedConnectionsSection).size(), size_t(1));
    }

    void aKeyRemovedByHandHidesLaterEntries() {
        AppSandbox sandbox;
        sandbox.writeSettings("[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=a\nORIGINAL_CONNECTIONS2=c\n");
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(readIniSection(profile, kOriginalConnectionsSection), std::vector<std::string>{"a"});
        QVERIFY(!iniSectionContains(profile, "c", kOriginalConnectionsSection));
        addRecentConnection(profile, "new", true);
        QCOMPARE(profile.readString(kOriginalConnectionsSection, "ORIGINAL_CONNECTIONS1", "", kRecentBuffer),
                 std::string("new"));
    }

    void aLongEntryIsFoundAgain() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        const std::string longText = "DSN=" + std::string(140, 'x');
        addRecentConnection(profile, longText, true);
        addRecentConnection(profile, longText, true);
        QCOMPARE(findFreeIniIndex(profile, kOriginalConnectionsSection), 1);
        QCOMPARE(readIniSection(profile, kOriginalConnectionsSection), std::vector<std::string>{longText});
    }

    // A database file in a deep folder: its connection string comes back whole at the next start,
    // never cut to a shorter path that may name another file.
    void aLongPathSurvivesARestart() {
        AppSandbox sandbox;
        const std::string folder = std::string(90, 'd') + "/" + std::string(90, 'e');
        QVERIFY(QDir(sandbox.folder()).mkpath(QString::fromStdString(folder)));
        const std::string connection = AppSandbox::fileConnection(
            sandbox.createDatabase(folder + "/sales archive.db", "create table t(x);"));
        QVERIFY(connection.size() > 200);
        sandbox.start().mainForm().setMasterConnectionString(connection, true, false);
        sandbox.stop();
        ProfileFile(sandbox.paths().iniFilePath).writeString("frmMain", "lLastSelectedOrigConnIndex", "0");
        frmMain& form = sandbox.start().mainForm();
        QCOMPARE(form.findChild<QComboBox*>("cboMasterRecentConn")->itemData(0).toString().toStdString(),
                 connection);
        QCOMPARE(form.getMasterConnectionString(), connection);
    }

    void blanksAtTheEndOfAConnectionStringAreKept() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        addRecentConnection(profile, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/m.db ", false);
        QCOMPARE(readIniSection(profile, kModifiedConnectionsSection),
                 std::vector<std::string>{"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/m.db "});
    }

    void passwordsAreStrippedFromWhatIsStored_data() {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("stored");
        QTest::newRow("none") << "Provider=MSDASQL;Data Source=pg"
                              << "Provider=MSDASQL;Data Source=pg";
        QTest::newRow("appended") << "Provider=MSDASQL;Data Source=pg ;User ID=ann ;Password=s;e;cret"
                                  << "Provider=MSDASQL;Data Source=pg ;User ID=ann";
        QTest::newRow("odbc form") << "DSN=pg;UID=ann;PWD=secret"
                                   << "DSN=pg;UID=ann";
        QTest::newRow("odbc form, password first") << "PWD=secret;DSN=pg;UID=ann"
                                                   << "DSN=pg;UID=ann";
    }
    void passwordsAreStrippedFromWhatIsStored() {
        QFETCH(QString, connection);
        QFETCH(QString, stored);
        QCOMPARE(QString::fromStdString(sifkit::withoutPassword(connection.toStdString())), stored);
    }

    void theRememberedEntriesArePreselected() {
        AppSandbox sandbox;
        const std::string a =
            AppSandbox::fileConnection(sandbox.createDatabase("a.db", "create table t(x);"));
        const std::string b =
            AppSandbox::fileConnection(sandbox.createDatabase("b.db", "create table t(x);"));
        // Without a remembered index the second entry (index 1) is the one preselected.
        sandbox.writeSettings("[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + a +
                              "\nORIGINAL_CONNECTIONS1=" + b +
                              "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + a +
                              "\n[frmMain]\nlLastSelectedmodConnIndex=0\n");
        frmMain& form = sandbox.start().mainForm();
        QCOMPARE(form.recentListText(true).toStdString(), b);
        QCOMPARE(form.recentListText(false).toStdString(), a);
        QCOMPARE(form.getMasterConnectionString(), b);
        QCOMPARE(form.findChild<QComboBox*>("cboMasterRecentConn")->count(), 2);
    }

    void pickingAnEntryUsesItAndRemembersIt() {
        AppSandbox sandbox;
        const std::string a =
            AppSandbox::fileConnection(sandbox.createDatabase("a.db", "create table t(x);"));
        const std::string b =
            AppSandbox::fileConnection(sandbox.createDatabase("b.db", "create table u(x);"));
        sandbox.writeSettings("[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + a +
                              "\nORIGINAL_CONNECTIONS1=" + b + "\n[frmMain]\nlLastSelectedOrigConnIndex=0\n");
        frmMain& form = sandbox.start().mainForm();
        auto* list = form.findChild<QComboBox*>("cboMasterRecentConn");
        list->setCurrentIndex(1);
        form.cboMasterRecentConn_Click();
        QCOMPARE(form.getMasterConnectionString(), b);
        QCOMPARE(ProfileFile(sandbox.paths().iniFilePath)
                     .readString("frmMain", "lLastSelectedOrigConnIndex", "", kSettingsBuffer),
                 std::string("1"));
    }

    // The boxes name the database (a file's name, a data source's name); the tooltip holds the
    // whole string, which is what a pick uses, with the user ID it names and never a password.
    void theBoxesNameTheDatabaseAndTheTooltipHoldsTheWholeString() {
        AppSandbox sandbox;
        const std::string file = AppSandbox::fileConnection(
            sandbox.createDatabase("orders archive.db", "create table t(id integer primary key);"));
        const std::string staff =
            sandbox.createDatabase("staff.db", "create table t(id integer primary key);");
        test::writeSqliteDataSources({{"Staff", staff}});
        const std::string dsn = "Provider=MSDASQL;Persist Security Info=False;Data Source=Staff ;User ID=ann";
        sandbox.writeSettings("[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + file +
                              "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + dsn +
                              "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n");
        frmMain& form = sandbox.start().mainForm();
        auto* original = form.findChild<QComboBox*>("cboMasterRecentConn");
        auto* modified = form.findChild<QComboBox*>("cboSourceRecentConn");
        QCOMPARE(original->currentText(), QString("orders archive.db"));
        QCOMPARE(original->itemText(0), QString("orders archive.db"));
        QCOMPARE(original->toolTip().toStdString(), file);
        QCOMPARE(modified->currentText(), QString("Staff"));
        QCOMPARE(modified->itemData(0, Qt::ToolTipRole).toString().toStdString(), dsn);
        QCOMPARE(form.getSourceConnectionString(), dsn);

        form.getApplicationVariables().setSourcePassWord("pw-2");
        modified->setCurrentIndex(0);
        emit modified->activated(0);
        QCOMPARE(form.getSourceConnectionString(), dsn + " ;Password=pw-2");
        QCOMPARE(modified->toolTip().toStdString(), dsn);
        QCOMPARE(modified->currentText(), QString("Staff"));
        test::writeSqliteDataSources({});
    }

    // Two files of one name in two folders: each entry, and the box showing it, names its folder.
    void filesOfOneNameAreToldApartByTheirFolders() {
        AppSandbox sandbox;
        QVERIFY(QDir(sandbox.folder()).mkpath("2025") && QDir(sandbox.folder()).mkpath("2026"));
        std::string entries;
        int index = 0;
        for (const char* file : {"2025/sales.db", "2026/sales.db", "other.db"})
            entries += "ORIGINAL_CONNECTIONS" + std::to_string(index++) + "=" +
                       AppSandbox::fileConnection(sandbox.createDatabase(file, "create table t(x);")) + "\n";
        sandbox.writeSettings("[ORIGINAL_CONNECTIONS]\n" + entries +
                              "[frmMain]\nlLastSelectedOrigConnIndex=1\n");
        auto* original = sandbox.start().mainForm().findChild<QComboBox*>("cboMasterRecentConn");
        const QString folder = QDir::toNativeSeparators(sandbox.folder());
        QCOMPARE(original->itemText(0), "sales.db \u2014 " + folder + QDir::separator() + "2025");
        QCOMPARE(original->itemText(1), "sales.db \u2014 " + folder + QDir::separator() + "2026");
        QCOMPARE(original->itemText(2), QString("other.db"));
        QCOMPARE(original->currentText(), original->itemText(1));
    }

    void aSessionWithAPasswordLeavesNoneInTheSettingsFile() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        // As the dialog gives them: the database first, then the credentials typed for it.
        form.setMasterConnectionString(
            "Provider=MSDASQL;Persist Security Info=False;Data Source=pg ;User ID=ann", true, false);
        form.getApplicationVariables().setMasterPassWord("Sup3r-secret");
        QVERIFY(form.getMasterConnectionString().find(";Password=Sup3r-secret") != std::string::npos);
        // The getter appends the credentials once however often it runs.
        QCOMPARE(form.getMasterConnectionString(), form.getMasterConnectionString());
        QVERIFY(form.recentListText(true).indexOf("Sup3r") < 0);
        sandbox.stop();
        QVERIFY(sandbox.settingsText().find("Sup3r-secret") == std::string::npos);
        QVERIFY(sandbox.settingsText().find("Data Source=pg") != std::string::npos);
    }
};

DBSIFT_APP_TEST_MAIN(RecentConnectionsTest)
#include "RecentConnectionsTest.moc"
