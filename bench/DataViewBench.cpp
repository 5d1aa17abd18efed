// Times the data view after a data comparison started through the window as a person starts it
// (the field list dialog's Compare button): the engine's run, and the time from the run's end
// until the first page of differences and the selected record's detail are on screen. The
// engine's run is the peer: the view's share is printed as a ratio of it.
//
// Usage: data_view_bench ORIGINAL.db MODIFIED.db TABLE ROWS
// The ODBC configuration (ODBCSYSINI) must register the SQLite driver as "SQLite3".

#include "Application.h"
#include "FlexGrid.h"
#include "ProfileFile.h"
#include "Prompter.h"
#include "frmFieldListForDataCompare.h"
#include "frmMain.h"
#include "frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <string>

namespace {

class SilentPrompter final : public dbsift::Prompter {
public:
    void message(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
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

} // namespace

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

    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath("data").toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir(home.path()).filePath("config"));
    const dbsift::AppPaths paths = dbsift::AppPaths::forUser(DBSIFT_APP_FOLDER);
    std::filesystem::create_directories(paths.iniFilePath.parent_path());
    {
        dbsift::ProfileFile settings(paths.iniFilePath);
        const std::string prefix = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
        settings.writeString("ORIGINAL_CONNECTIONS", "ORIGINAL_CONNECTIONS0", prefix + argv[1]);
        settings.writeString("MODIFIED_CONNECTIONS", "MODIFIED_CONNECTIONS0", prefix + argv[2]);
        settings.writeString("frmMain", "lLastSelectedOrigConnIndex", "0");
        settings.writeString("frmMain", "lLastSelectedmodConnIndex", "0");
        settings.writeString("frmMain", "DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", "False");
    }

    SilentPrompter prompter;
    dbsift::frmMainMDI frame(paths, prompter);
    frame.resize(1280, 800);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return 1;
    frame.MDIForm_Load();
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
    QObject::connect(&form, &dbsift::frmMain::dataRunFinished, [&] { runEnd = clock.nsecsElapsed(); });
    clock.start();
    dialog.cmdCompare_Click();
    auto* summary = form.findChild<dbsift::FlexGrid*>("msFlexGridDataDiff");
    auto* detail = form.findChild<dbsift::FlexGrid*>("MSFlexGridDataDiffDetail");
    QCoreApplication::processEvents();
    summary->viewport()->repaint();
    detail->viewport()->repaint();
    const qint64 shown = clock.nsecsElapsed();
    if (runEnd < 0)
        return 1;

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
    std::printf("data-view-first-page-%s: %.3f s\n", rows.c_str(), viewSeconds);
    return list->count() > 0 ? 0 : 1;
}
