// SPDX-License-Identifier: MIT
// Dbsift: compares two relational databases and helps bring them into line.
#include "QtPrompter.h"
#include "shell/Application.h"
#include "shell/CommandLine.h"
#include "shell/FirstStart.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

int main(int argc, char* argv[]) {
    // --help and --version are answered before there is a window, so they work without a display.
    if (const std::optional<int> status = dbsift::answerWithoutWindow(argc, argv))
        return *status;

    QApplication application(argc, argv);
    dbsift::configureApplication(application);
    const std::filesystem::path resources =
        dbsift::AppPaths::findResourceFolder(QCoreApplication::applicationDirPath().toStdString());
    dbsift::installTranslations(resources);
    const dbsift::CommandLineRequest request = dbsift::readCommandLine(QCoreApplication::arguments());
    if (request.action == dbsift::CommandLineRequest::Action::UsageError) {
        std::fputs(request.text.toLocal8Bit().constData(), stderr);
        return 2;
    }

    // The settings file's path and the help page's are fixed before any window loads.
    const dbsift::AppPaths paths = dbsift::AppPaths::forUser(resources);
    dbsift::installApplicationIcon(paths);
    if (const std::string problem = dbsift::prepareFirstStart(paths); !problem.empty())
        QMessageBox::warning(nullptr, QApplication::applicationDisplayName(),
                             QCoreApplication::translate("dbsift::main", "The sample databases could not be "
                                                                         "created: %1")
                                 .arg(QString::fromStdString(problem)));

    dbsift::QtPrompter prompter;
    dbsift::frmMainMDI frame(paths, prompter);
    frame.mainForm().setStartingDatabases(request.databases);
    frame.show();
    frame.MDIForm_Load();
    return application.exec();
}
