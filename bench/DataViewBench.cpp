// SPDX-License-Identifier: MIT
// Times the data view after a data comparison started through the window as a person starts it
// (the field list dialog's Compare button): the engine's run, and the time from the run's end
// until the first page of differences and the selected record's detail are on screen. The
// engine's run is the peer: the view's share is printed as a ratio of it. Also printed: the
// longest the window went without handling its events, from Compare until that first page.
//
// Usage: data_view_bench ORIGINAL.db MODIFIED.db TABLE ROWS
// The ODBC configuration (ODBCSYSINI) must register the SQLite driver as "SQLite3".

#include "SilentPrompter.h"
#include "data/frmFieldListForDataCompare.h"
#include "screenshots/OffscreenSession.h"
#include "shell/Application.h"
#include "shell/FirstStart.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    dbsift::configureApplication(application);
    if (argc < 5) {
        std::fprintf(stderr, "usage: data_view_bench ORIGINAL.db MODIFIED.db TABLE ROWS\n");
        return 2;
    }
    const std::string table = argv[3];
    const std::string rows = argv[4];

    dbsift::OffscreenHome home;
    const dbsift::AppPaths& paths = home.paths();
    dbsift::chooseStartingDatabases(paths, argv[1], argv[2]);
    dbsift::turnOffDataCompareHint(paths);

    dbsift::SilentPrompter prompter;
    dbsift::frmMainMDI frame(paths, prompter);
    if (!dbsift::loadOffscreen(frame))
        return 1;
    dbsift::frmMain& form = frame.mainForm();

    // The person's clicks: the table, every field, Compare.
    form.setTableName(table);
    dbsift::frmFieldListForDataCompare& dialog = form.fieldListDialog();
    sifkit::Sifcore& engine = form.Sifcore1();
    if (!dialog.compareTableFromName(table, engine.getMasterDataManager(), engine.getSourceDataManager()))
        return 1;
    dialog.findChild<QListWidget*>("lstFields")->selectAll();

    QElapsedTimer clock;
    qint64 runEnd = -1;
    // A short timer fires whenever the run lets window events through: the longest gap between
    // two of its ticks is the longest the window went without handling a click or a repaint.
    QTimer tick;
    tick.setInterval(2);
    qint64 lastTick = 0;
    qint64 longestPause = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestPause = std::max(longestPause, now - lastTick);
        lastTick = now;
    });
    QObject::connect(&form, &dbsift::frmMain::dataRunFinished, [&] { runEnd = clock.nsecsElapsed(); });
    clock.start();
    tick.start();
    dialog.cmdCompare_Click();
    auto* summary = form.findChild<dbsift::FlexGrid*>("msFlexGridDataDiff");
    auto* detail = form.findChild<dbsift::FlexGrid*>("MSFlexGridDataDiffDetail");
    QCoreApplication::processEvents();
    summary->viewport()->repaint();
    detail->viewport()->repaint();
    const qint64 shown = clock.nsecsElapsed();
    longestPause = std::max(longestPause, shown - lastTick);
    tick.stop();
    if (runEnd < 0)
        return 1;
    // The paired view of the same result: filled with the grids, its first page painted here.
    form.findChild<QTabWidget*>("tsDataDiff")->setCurrentIndex(2);
    auto* paired = form.findChild<QTableView*>("tblPairedView");
    QCoreApplication::processEvents();
    paired->viewport()->repaint();
    const qint64 pairedShown = clock.nsecsElapsed();

    const double runSeconds = runEnd / 1e9;
    const double viewSeconds = (shown - runEnd) / 1e9;
    auto* list = form.findChild<QComboBox*>("cboDataDiffSummary");
    std::printf("rows per side: %s, differing records listed on the first page: %d\n", rows.c_str(),
                list->count());
    std::printf("selected: %s\n", qPrintable(list->currentText()));
    std::printf("detail: record %s above its counterpart %d (0: none)\n",
                qPrintable(detail->textMatrix(1, 0)), form.getSelectedRelatedRecordNumber());
    std::printf("engine data run: %.3f s\n", runSeconds);
    std::printf("first page and detail after the run: %.3f s (%.4f of the run)\n", viewSeconds,
                runSeconds > 0 ? viewSeconds / runSeconds : 0.0);
    std::printf("paired view: %d rows, its first page painted %.3f s after the run\n",
                paired->model()->rowCount(), (pairedShown - runEnd) / 1e9);
    std::printf("longest pause without window events from Compare until the first page is shown: %.3f s\n",
                longestPause / 1e9);
    std::printf("data-view-first-page-%s: %.3f s\n", rows.c_str(), viewSeconds);
    return list->count() > 0 ? 0 : 1;
}
