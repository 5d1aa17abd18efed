// Writes a picture of each state of the application, as a person sees it, on the sample
// databases: dbsift-screenshots OUTDIR. Runs offscreen with a fixed style, font and size so the
// pictures are stable. Uses fresh settings and data folders of its own.
#include "Application.h"
#include "FirstStart.h"
#include "ProfileFile.h"
#include "Prompter.h"
#include "frmFieldListForDataCompare.h"
#include "frmMain.h"
#include "frmMainMDI.h"
#include "frmOptions.h"
#include "frmSelectConn.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QListWidget>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sifkit/Sifcore.h>

#include <cstdio>

namespace {

/// Answers nothing: a screenshot run never waits for a person.
class SilentPrompter final : public dbsift::Prompter {
public:
    void message(QWidget*, const QString& title, const QString& text) override {
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    bool confirm(QWidget*, const QString&, const QString&) override { return false; }
    QString openFile(QWidget*, const dbsift::FilePickRequest&) override { return {}; }
    QString saveFile(QWidget*, const dbsift::FilePickRequest&) override { return {}; }
    std::optional<uint32_t> pickColour(QWidget*, uint32_t) override { return std::nullopt; }
    std::optional<QString> askPassword(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool openWithDefaultHandler(const QUrl&) override { return true; }
};

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
    QApplication::setFont(QFont("DejaVu Sans", 9));
    if (argc < 2) {
        std::fprintf(stderr, "usage: dbsift-screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath("data").toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir(home.path()).filePath("config"));
    const dbsift::AppPaths paths = dbsift::AppPaths::forUser(DBSIFT_APP_FOLDER);
    if (const std::string problem = dbsift::prepareFirstStart(paths); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    // The data-compare hint is a modal dialog at start-up; the pictures show the window behind it.
    dbsift::ProfileFile(paths.iniFilePath)
        .writeString("frmMain", "DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", "False");

    SilentPrompter prompter;
    dbsift::frmMainMDI frame(paths, prompter);
    frame.setWindowState(Qt::WindowNoState);
    frame.resize(1280, 800);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return 1;
    frame.MDIForm_Load();
    frame.setWindowState(Qt::WindowNoState);
    frame.resize(1280, 800);
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
    return ok ? 0 : 1;
}
