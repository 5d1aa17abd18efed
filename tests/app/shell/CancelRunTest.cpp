// SPDX-License-Identifier: MIT
// The status bar's Cancel: shown while a comparison runs, it stops a data or structure run
// through the real button, no failure is reported for it, and nothing of the stopped run can be
// acted on.
#include "AppTestMain.h"
#include "DataViewFixture.h"
#include "data/PairedView.h"

#include <sifkit/DataAccess.h>

#include <QLabel>
#include <QListWidget>
#include <QTimer>

using namespace dbsift;
using namespace dbsift::test;

namespace {

/// Presses the status bar's Cancel as soon as a running comparison shows it and lets events
/// run; pressed tells whether it came to that.
class CancelWhenShown {
public:
    CancelWhenShown(frmMainMDI& frame, bool& pressed) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, &frame, &pressed] {
            QPushButton& cancel = frame.cancelRunButton();
            if (!cancel.isVisible())
                return;
            modalInFront_ = QApplication::activeModalWidget();
            QTest::mouseClick(&cancel, Qt::LeftButton);
            pressed = true;
            timer_.stop();
        });
        timer_.start();
    }
    /// The modal window that stood in front of the window when Cancel was pressed: at a real
    /// display it would have taken the click.
    QWidget* modalInFront() const { return modalInFront_; }

private:
    QTimer timer_;
    QWidget* modalInFront_ = nullptr;
};

/// The people table's field list with every field chosen, as a person leaves it before Compare.
bool chooseEveryFieldOfPeople(frmMain& form) {
    form.setTableName("people");
    frmFieldListForDataCompare& dialog = form.fieldListDialog();
    if (!dialog.compareTableFromName("people", form.Sifcore1().getMasterDataManager(),
                                     form.Sifcore1().getSourceDataManager()))
        return false;
    dialog.findChild<QListWidget*>("lstFields")->selectAll();
    return true;
}

} // namespace

class CancelRunTest : public QObject {
    Q_OBJECT
private slots:
    void aDataRunStopsAndLeavesNothingToWrite() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(3), peopleScript(3));
        QVERIFY(compareTable(form, "people")); // equal: nothing to show
        sandbox.createDatabase("modified.db", "UPDATE people SET city = 'x' WHERE id = 2;");
        frmMainMDI& frame = *sandbox.frame();
        QVERIFY(!frame.cancelRunButton().isVisible());

        const qsizetype messagesBefore = sandbox.prompter().messages().size();
        bool pressed = false;
        {
            CancelWhenShown cancel(frame, pressed);
            QVERIFY(compareTable(form, "people"));
        }
        QVERIFY(pressed);
        QCOMPARE(form.Sifcore1().lastDataResult().outcome, sifkit::DataOutcome::Cancelled);
        QCOMPARE(frame.panelText(2), QString("Compare cancelled."));
        QVERIFY(!frame.cancelRunButton().isVisible());
        QCOMPARE(sandbox.prompter().messages().size(), messagesBefore);
        QVERIFY(!button(form, "cmdCopyRecord").isEnabled());
        QCOMPARE(differenceList(form).count(), 0);
        QCOMPARE(form.findChild<PairedView*>("framePairedView")->model().rowCount(), 0);

        // The next run is not cancelled by the last one's request.
        QVERIFY(compareTable(form, "people"));
        QCOMPARE(form.Sifcore1().lastDataResult().outcome, sifkit::DataOutcome::Differences);
        QCOMPARE(differenceList(form).count(), 2);
    }

    void aCompareStartedFromTheModalFieldListLeavesCancelWithinReach() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(3), peopleScript(3, "m"));
        QVERIFY(chooseEveryFieldOfPeople(form));
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        bool pressed = false;
        CancelWhenShown cancel(*sandbox.frame(), pressed);
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::mouseClick(dialog.findChild<QPushButton*>("cmdCompare"), Qt::LeftButton);
        });
        dialog.exec();
        QVERIFY(pressed);
        QCOMPARE(cancel.modalInFront(), nullptr);
        QCOMPARE(sandbox.frame()->panelText(2), QString("Compare cancelled."));
    }

    void aLockedFileIsWaitedForWithTheStatusSayingSoAndCancelEndsTheWait() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(3), peopleScript(3, "m"));
        frmMainMDI& frame = *sandbox.frame();
        QVERIFY(chooseEveryFieldOfPeople(form));
        frmFieldListForDataCompare& dialog = form.fieldListDialog();
        // Another program holds the Modified file.
        sifkit::Connection holder;
        holder.open(AppSandbox::fileConnection((sandbox.folder() + "/modified.db").toStdString()));
        holder.execute("BEGIN EXCLUSIVE");

        QString status;
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!frame.panelText(2).contains("locked"))
                return;
            status = frame.panelText(2);
            QTest::mouseClick(&frame.cancelRunButton(), Qt::LeftButton);
            watch.stop();
        });
        watch.start();
        const qsizetype messagesBefore = sandbox.prompter().messages().size();
        dialog.cmdCompare_Click();
        QCOMPARE(status,
                 QString("A database file is locked by another program: waited 0 of 5 s. Cancel stops."));
        QCOMPARE(frame.panelText(2), QString("Compare cancelled."));
        QCOMPARE(sandbox.prompter().messages().size(), messagesBefore);
        QCOMPARE(differenceList(form).count(), 0);
        holder.execute("ROLLBACK");
    }

    void aStructureRunStopsWithoutAFailureMessage() {
        AppSandbox sandbox;
        frmMain& form = startOnTwoDatabases(sandbox, peopleScript(3), peopleScript(3));
        frmMainMDI& frame = *sandbox.frame();
        bool pressed = false;
        {
            CancelWhenShown cancel(frame, pressed);
            form.mnuRun_Click();
        }
        QVERIFY(pressed);
        QCOMPARE(frame.panelText(2), QString("Compare cancelled."));
        QVERIFY(sandbox.prompter().messages().isEmpty());
        QVERIFY(!frame.cancelRunButton().isVisible());
    }
};

DBSIFT_APP_TEST_MAIN(CancelRunTest)
#include "CancelRunTest.moc"
