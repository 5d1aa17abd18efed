// SPDX-License-Identifier: MIT
// Times one "Run Compare" of the comparison window on two database files, offscreen: the
// engine's compare calls, and the window's own work around them (filling the object trees and
// the structure grids, and the first paint of the result).
//
// Usage: structure_view_bench ORIGINAL MODIFIED (database files). The ODBC configuration
// (ODBCSYSINI, ODBCINI) comes from the environment; the settings live in a temporary folder.

#include "shell/AppPaths.h"
#include "shell/Application.h"
#include "shell/FirstStart.h"
#include "shell/FlexGrid.h"
#include "screenshots/OffscreenSession.h"
#include "SilentPrompter.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    dbsift::configureApplication(application);
    QApplication::setFont(QFont("DejaVu Sans", 9));
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ORIGINAL MODIFIED\n", argv[0]);
        return 2;
    }

    dbsift::OffscreenHome home;
    const dbsift::AppPaths& paths = home.paths();
    dbsift::chooseStartingDatabases(paths, argv[1], argv[2]);
    dbsift::turnOffDataCompareHint(paths);

    dbsift::SilentPrompter prompter;
    dbsift::frmMainMDI frame(paths, prompter);
    if (!dbsift::loadOffscreen(frame))
        return 1;

    dbsift::frmMain& form = frame.mainForm();
    // A timer that would tick every 10 ms measures how long the window goes without handling
    // its events during the run.
    QTimer ticker;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    ticker.start(10);
    sinceTick.start();
    const auto start = std::chrono::steady_clock::now();
    form.mnuRun_Click();
    QCoreApplication::processEvents();
    form.repaint();
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    longestGap = std::max(longestGap, sinceTick.elapsed());
    ticker.stop();

    const dbsift::frmMain::StructureRunTiming& timing = form.lastStructureRunTiming();
    auto* original = form.findChild<QTreeWidget*>("TreeView1");
    auto* modified = form.findChild<QTreeWidget*>("TreeView2");
    auto* grid1 = form.findChild<dbsift::FlexGrid*>("MSFlexGrid1");
    auto* grid2 = form.findChild<dbsift::FlexGrid*>("MSFlexGrid2");
    std::printf("trees %d + %d objects, grids %d + %d rows, %s\n", original->topLevelItemCount(),
                modified->topLevelItemCount(), grid1->rows(), grid2->rows(), qPrintable(frame.panelText(4)));
    if (original->topLevelItemCount() == 0 || grid1->rows() == 0)
        return 1;
    const double window = total - timing.engineSeconds;
    std::printf("engine (object listing and structure compare) %.3f s\n", timing.engineSeconds);
    std::printf("filling trees %.3f s, grids %.3f s\n", timing.treeSeconds, timing.gridSeconds);
    std::printf("window besides the engine, to the first paint %.3f s\n", window);
    std::printf("longest time without handling window events %.3f s\n",
                static_cast<double>(longestGap) / 1000);
    std::printf("window / engine %.2f\n", timing.engineSeconds > 0 ? window / timing.engineSeconds : 0.0);
    std::printf("structure-view-fill-2000x20: %.3f s\n", window);
    return 0;
}
