// SPDX-License-Identifier: MIT
// The connection dialog: a data source from the machine's ODBC configuration, a database file
// through the picker, each side's own credentials, the user ID appended once, Cancel and Escape.
#include "AppTestMain.h"
#include "connect/frmOleDB.h"
#include "connect/frmSelectConn.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

/// Opens the dialog as the button does and lets act() work in it while it is shown.
template <typename Act> void withDialog(frmMain& form, bool original, Act act) {
    QTimer::singleShot(0, [&form, act] {
        auto* dialog = form.findChild<frmSelectConn*>("frmSelectConn");
        QVERIFY(dialog && dialog->isVisible());
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    original ? form.cmdSelConn_Click() : form.cmdSourceSelConn_Click();
}

/// Picks entry index of the data source list as a user does.
void chooseDataSource(frmSelectConn& dialog, int index) {
    auto* list = dialog.findChild<QComboBox*>("cboCompare2");
    QVERIFY(list->isEnabled());
    list->setCurrentIndex(index);
    emit list->activated(index);
}

} // namespace

class ConnectionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void aDataSourceIsChosenFromTheList() {
        AppSandbox sandbox;
        const std::string path =
            sandbox.createDatabase("sales.db", "create table orders(id integer primary key);");
        test::writeSqliteDataSources({{"Sales", path}});
        frmMain& form = sandbox.start().mainForm();
        withDialog(form, true, [](frmSelectConn& dialog) {
            auto* list = dialog.findChild<QComboBox*>("cboCompare2");
            QVERIFY(!list->isEnabled());
            QCOMPARE(list->count(), 1);
            QVERIFY(list->itemText(0).startsWith("DSN=Sales | "));
            dialog.findChild<QRadioButton*>("optDsn")->click();
            QVERIFY(list->isEnabled());
            QVERIFY(!dialog.findChild<QPushButton*>("cmdOldDB1")->isEnabled());
            list->setCurrentIndex(0);
            dialog.cboCompare2_Click();
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        QCOMPARE(form.getMasterConnectionString(),
                 std::string("Provider=MSDASQL;Persist Security Info=False;Data Source=Sales"));
        QVERIFY(form.validConnections(true));
        QVERIFY(sandbox.settingsText().find(
                    "ORIGINAL_CONNECTIONS0=Provider=MSDASQL;Persist Security Info=False;Data Source=Sales") !=
                std::string::npos);
    }

    void aFileIsChosenWithThePickerAndBothTreesFill() {
        AppSandbox sandbox;
        const std::string original = sandbox.createDatabase("o.db", "create table a(x); create table b(y);");
        const std::string modified = sandbox.createDatabase("m.db", "create table a(x);");
        frmMain& form = sandbox.start().mainForm();
        sandbox.prompter().queueFile(QString::fromStdString(original));
        withDialog(form, true, [](frmSelectConn& dialog) {
            dialog.findChild<QPushButton*>("cmdOldDB1")->click();
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        QCOMPARE(sandbox.prompter().lastFileRequest()->title, QString("Select Database"));
        QVERIFY(sandbox.prompter().lastFileRequest()->filter.startsWith("SQLite (*.db *.sqlite *.sqlite3)|"));
        QVERIFY(sandbox.prompter().lastFileRequest()->filter.endsWith(
            "MDB(*.MDB)|*.MDB|DBC (*.dbc)|*.dbc|All (*.*)|*.*"));
        QCOMPARE(form.getMasterConnectionString(), AppSandbox::fileConnection(original));
        QCOMPARE(form.getLastFileUsed(), original);

        sandbox.prompter().queueFile(QString::fromStdString(modified));
        withDialog(form, false, [](frmSelectConn& dialog) {
            QCOMPARE(dialog.findChild<QLabel*>("lblSide")->text(), QString("Modified database"));
            dialog.findChild<QPushButton*>("cmdOldDB1")->click();
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        QCOMPARE(form.findChild<QTreeWidget*>("TreeView1")->topLevelItemCount(), 2);
        QCOMPARE(form.findChild<QTreeWidget*>("TreeView2")->topLevelItemCount(), 1);
        QVERIFY(sandbox.prompter().messages().isEmpty());
        // The same file chosen again is not recorded twice.
        sandbox.prompter().queueFile(QString::fromStdString(original));
        withDialog(form, true, [](frmSelectConn& dialog) {
            dialog.findChild<QPushButton*>("cmdOldDB1")->click();
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        const std::string settings = sandbox.settingsText();
        QVERIFY(settings.find("ORIGINAL_CONNECTIONS1=") == std::string::npos);
    }

    void aCancelledPickerChangesNothing() {
        AppSandbox sandbox;
        frmMain& form = sandbox.start().mainForm();
        sandbox.prompter().queueFile("");
        withDialog(form, true, [](frmSelectConn& dialog) {
            dialog.findChild<QPushButton*>("cmdOldDB1")->click();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(form.getMasterConnectionString(), std::string());
    }

    void theUserIdIsAppendedToItsSideOnlyAndOnce() {
        AppSandbox sandbox;
        const std::string path = sandbox.createDatabase("u.db", "create table t(x);");
        test::writeSqliteDataSources({{"Sales", path}});
        frmMain& form = sandbox.start().mainForm();
        withDialog(form, false, [](frmSelectConn& dialog) {
            dialog.findChild<QLineEdit*>("txtMasterDBUserID")->setText("ann");
            dialog.findChild<QRadioButton*>("optDsn")->click();
            chooseDataSource(dialog, 0);
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        const std::string sales = "Provider=MSDASQL;Persist Security Info=False;Data Source=Sales";
        QCOMPARE(form.getSourceConnectionString(), sales + " ;User ID=ann");
        QCOMPARE(form.getSourceConnectionString(), sales + " ;User ID=ann");
        QCOMPARE(form.getApplicationVariables().getMasterUserID(), std::string());
        // The recent entry keeps the user ID.
        QVERIFY(sandbox.settingsText().find("MODIFIED_CONNECTIONS0=" + sales + " ;User ID=ann") !=
                std::string::npos);
        test::writeSqliteDataSources({});
    }

    // The user ID and password typed for the Original data source stay with it: the Modified
    // dialog starts empty, and a file chosen there, or a file chosen later for the Original with
    // the boxes still filled, is opened without them.
    void eachSideKeepsItsOwnCredentials() {
        AppSandbox sandbox;
        const std::string server = sandbox.createDatabase("server.db", "create table t(x);");
        const std::string file = sandbox.createDatabase("file.db", "create table t(x);");
        test::writeSqliteDataSources({{"Server", server}});
        frmMain& form = sandbox.start().mainForm();
        withDialog(form, true, [](frmSelectConn& dialog) {
            dialog.findChild<QLineEdit*>("txtMasterDBUserID")->setText("ann");
            dialog.findChild<QLineEdit*>("txtSourcePassword")->setText("s3cret");
            dialog.findChild<QRadioButton*>("optDsn")->click();
            chooseDataSource(dialog, 0);
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        QCOMPARE(form.getMasterConnectionString(),
                 std::string("Provider=MSDASQL;Persist Security Info=False;Data Source=Server ;User ID=ann "
                             ";Password=s3cret"));

        sandbox.prompter().queueFile(QString::fromStdString(file));
        withDialog(form, false, [](frmSelectConn& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>("txtMasterDBUserID")->text(), QString());
            QCOMPARE(dialog.findChild<QLineEdit*>("txtSourcePassword")->text(), QString());
            dialog.findChild<QRadioButton*>("optFile")->click();
            dialog.findChild<QPushButton*>("cmdOldDB1")->click();
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        QCOMPARE(form.getSourceConnectionString(), AppSandbox::fileConnection(file));

        // Back on the Original side the dialog shows that side's own user ID.
        sandbox.prompter().queueFile(QString::fromStdString(file));
        withDialog(form, true, [](frmSelectConn& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>("txtMasterDBUserID")->text(), QString("ann"));
            dialog.findChild<QRadioButton*>("optFile")->click();
            dialog.findChild<QPushButton*>("cmdOldDB1")->click();
            dialog.findChild<QPushButton*>("cmdDone")->click();
        });
        QCOMPARE(form.getMasterConnectionString(), AppSandbox::fileConnection(file));
        QCOMPARE(form.getApplicationVariables().getMasterPassWord(), std::string());
        QVERIFY(sandbox.settingsText().find("s3cret") == std::string::npos);
        test::writeSqliteDataSources({});
    }
};

DBSIFT_APP_TEST_MAIN(ConnectionDialogTest)
#include "ConnectionDialogTest.moc"
