// Dbsift: compares two relational databases and helps bring them into line.
#include "shell/Application.h"
#include "shell/FirstStart.h"
#include "QtPrompter.h"
#include "shell/frmMainMDI.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    dbsift::configureApplication(application);

    // The settings file's path and the help page's are fixed before any window loads.
    const dbsift::AppPaths paths =
        dbsift::AppPaths::forUser(QCoreApplication::applicationDirPath().toStdString());
    if (const std::string problem = dbsift::prepareFirstStart(paths); !problem.empty())
        QMessageBox::warning(nullptr, "Dbsift",
                             QString::fromStdString("The sample databases could not be created: " + problem));

    dbsift::QtPrompter prompter;
    dbsift::frmMainMDI frame(paths, prompter);
    frame.show();
    frame.MDIForm_Load();
    return application.exec();
}
