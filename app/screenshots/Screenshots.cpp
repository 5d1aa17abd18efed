// SPDX-License-Identifier: MIT
// Writes a picture of each state of the application, as a person sees it, on the sample
// databases: dbsift-screenshots OUTDIR. Runs offscreen with a fixed style, font and size so the
// pictures are stable. Uses fresh settings and data folders of its own.
#include "SilentPrompter.h"
#include "connect/frmSelectConn.h"
#include "data/PairedView.h"
#include "data/frmComparisonSettings.h"
#include "data/frmFieldListForDataCompare.h"
#include "screenshots/OffscreenSession.h"
#include "shell/Application.h"
#include "shell/FirstStart.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "shell/frmOptions.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>

#include <sifkit/DataAccess.h>
#include <sifkit/Sifcore.h>

#include <cstdio>

namespace {

bool save(QWidget& widget, const QString& folder, const char* name) {
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    dbsift::configureApplication(application);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(QFont("DejaVu Sans", 9));
    if (argc < 2) {
        std::fprintf(stderr, "usage: dbsift-screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    dbsift::OffscreenHome home;
    const dbsift::AppPaths& paths = home.paths();
    if (const std::string problem = dbsift::prepareFirstStart(paths); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    // The pictures show the window, not the hint that comes over it at the first start.
    dbsift::turnOffDataCompareHint(paths);

    dbsift::SilentPrompter prompter;
    dbsift::frmMainMDI frame(paths, prompter);
    if (!dbsift::loadOffscreen(frame))
        return 1;
    bool ok = save(frame, out, "start.png");

    dbsift::frmMain& form = frame.mainForm();
    dbsift::frmSelectConn& connection = form.connectionDialog();
    connection.setFormControl("use_master", form);
    connection.show();
    ok = save(connection, out, "connection-dialog.png") && ok;
    connection.hide();

    dbsift::frmOptions& options = form.optionsDialog();
    options.setFormToUse(form);
    options.show();
    ok = save(options, out, "options.png") && ok;
    options.hide();

    // The structure view after "Run Compare": both trees and both grids.
    form.mnuRun_Click();
    ok = save(frame, out, "structure.png") && ok;
    // The field list of the customers table with every field selected, then the data view on
    // its details tab: the first difference that has a counterpart, above it.
    form.setTableName("customers");
    dbsift::frmFieldListForDataCompare& fields = form.fieldListDialog();
    sifkit::Sifcore& engine = form.Sifcore1();
    ok = fields.compareTableFromName("customers", engine.getMasterDataManager(),
                                     engine.getSourceDataManager()) &&
         ok;
    fields.findChild<QListWidget*>("lstFields")->selectAll();
    fields.show();
    ok = save(fields, out, "field-list.png") && ok;
    fields.cmdCompare_Click();
    form.findChild<QTabWidget*>("tsDataDiff")->setCurrentIndex(1);
    for (int step = 0; step < 10 && form.getSelectedRelatedRecordNumber() < 1; ++step)
        form.cmdNext_Click();
    ok = save(frame, out, "data.png") && ok;
    // Every difference of the same result beside its counterpart, in the paired view.
    form.findChild<QTabWidget*>("tsDataDiff")->setCurrentIndex(2);
    ok = save(frame, out, "paired-view.png") && ok;
    // Rows chosen to bring the Modified into line, and the script that would do it.
    if (auto* paired = form.findChild<dbsift::PairedView*>("framePairedView")) {
        QAbstractItemModel& rows = *paired->table().model();
        for (int row = 0; row < rows.rowCount() && row < 3; ++row)
            rows.setData(rows.index(row, 0), Qt::Checked, Qt::CheckStateRole);
        ok = save(frame, out, "paired-view-chosen.png") && ok;
        paired->findChild<QPushButton*>("cmdSyncScript")->click();
        if (auto* script = form.findChild<QDialog*>("frmSyncScript")) {
            ok = save(*script, out, "sync-script.png") && ok;
            script->hide();
        } else {
            ok = false;
        }
        paired->findChild<QPushButton*>("cmdChooseNone")->click();
    } else {
        ok = false;
    }
    // The data of every table, counted per table; then customers again, from there.
    form.findChild<QAction*>("mnuCompareEveryTable")->trigger();
    ok = save(frame, out, "every-table.png") && ok;
    // The settings that remove false differences, as a comparison of customers might set them.
    {
        dbsift::cli::SavedComparison settings;
        settings.kind = dbsift::cli::ComparisonKind::Table;
        settings.table = "customers";
        settings.data.options = {true, true, false, 0.005, sifkit::TimePrecision::Seconds};
        settings.data.ignoreColumns = {"email"};
        settings.data.originalFilter = settings.data.modifiedFilter = "city <> 'Oslo'";
        dbsift::frmComparisonSettings dialog(form);
        dialog.load(settings, "customers");
        dialog.show();
        ok = save(dialog, out, "comparison-settings.png") && ok;
    }
    form.compareChosenTable("customers", {"id", "name", "city", "email"});
    form.findChild<QTabWidget*>("tsDataDiff")->setCurrentIndex(1);
    for (int step = 0; step < 10 && form.getSelectedRelatedRecordNumber() < 1; ++step)
        form.cmdNext_Click();

    // The report of the same table, as a browser shows it (Qt's own HTML rendering here).
    const QString reportPath = QDir(home.folder()).filePath("customers-report.html");
    form.setReportPath(reportPath.toStdString());
    form.createHTMLReport();
    QFile reportFile(reportPath);
    if (reportFile.open(QIODevice::ReadOnly)) {
        QTextBrowser browser;
        browser.setWindowTitle("Data Difference report for customers");
        // Browsers read the report's "&nbsp" without its semicolon as a blank; Qt's renderer
        // wants the semicolon.
        browser.setHtml(QString::fromUtf8(reportFile.readAll()).replace("&nbsp<", "&nbsp;<"));
        browser.resize(1000, 420);
        browser.show();
        ok = save(browser, out, "report.png") && ok;
    } else {
        ok = false;
    }

    // "Copy Record" overwrites the Modified record with the Original one; the undo list then
    // offers the update back.
    form.findChild<QPushButton*>("cmdCopyRecord")->click();
    form.cmdUndo_Click();
    if (auto* undo = form.findChild<QDialog*>("frmUndo")) {
        undo->findChild<QComboBox*>("cboRollBackNumber")->setCurrentIndex(0);
        undo->adjustSize();
        ok = save(*undo, out, "undo.png") && ok;
    } else {
        ok = false;
    }
    // A run held up by a database file another program has locked: the status says how long it
    // has waited, and the status bar's Cancel ends the wait.
    {
        sifkit::Connection holder;
        holder.open(form.getSourceConnectionString());
        holder.execute("BEGIN EXCLUSIVE");
        bool pictured = false;
        QElapsedTimer waiting;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!frame.panelText(2).contains("locked") || waiting.elapsed() < 1200)
                return;
            watch.stop();
            pictured = save(frame, out, "run-cancel.png");
            frame.cancelRunButton().click();
        });
        waiting.start();
        watch.start();
        fields.cmdCompare_Click();
        holder.execute("ROLLBACK");
        ok = pictured && ok;
    }
    // The structure view on a small screen: every column in view.
    frame.resize(1024, 768);
    form.mnuRun_Click();
    ok = save(frame, out, "structure-1024x768.png") && ok;
    frame.close();

    // The same comparison on a dark desktop: the window and its colours follow the palette.
    QApplication::setPalette(dbsift::darkDesktopPalette());
    dbsift::frmMainMDI dark(paths, prompter);
    if (!dbsift::loadOffscreen(dark))
        return 1;
    dbsift::frmMain& darkForm = dark.mainForm();
    darkForm.mnuRun_Click();
    ok = save(dark, out, "structure-dark.png") && ok;
    dbsift::frmFieldListForDataCompare& darkFields = darkForm.fieldListDialog();
    darkForm.setTableName("customers");
    ok = darkFields.compareTableFromName("customers", darkForm.Sifcore1().getMasterDataManager(),
                                         darkForm.Sifcore1().getSourceDataManager()) &&
         ok;
    darkFields.findChild<QListWidget*>("lstFields")->selectAll();
    darkFields.cmdCompare_Click();
    ok = save(dark, out, "data-summary-dark.png") && ok;
    darkForm.findChild<QTabWidget*>("tsDataDiff")->setCurrentIndex(1);
    for (int step = 0; step < 10 && darkForm.getSelectedRelatedRecordNumber() < 1; ++step)
        darkForm.cmdNext_Click();
    ok = save(dark, out, "data-dark.png") && ok;
    darkForm.findChild<QTabWidget*>("tsDataDiff")->setCurrentIndex(2);
    ok = save(dark, out, "paired-view-dark.png") && ok;
    return ok ? 0 : 1;
}
