// SPDX-License-Identifier: MIT
// The settings file: its profile-file semantics, the conversions of stored text, and what the
// comparison window reads at start and writes when it closes.
#include "AppTestMain.h"
#include "shell/FlexGrid.h"
#include "shell/ProfileFile.h"
#include "shell/SettingsText.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QComboBox>
#include <QDir>
#include <QSettings>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

namespace fs = std::filesystem;

fs::perms permissionsOf(const fs::path& file) {
    return fs::symlink_status(file).permissions() & fs::perms::mask;
}

/// The names in a folder, hidden ones included.
QStringList filesIn(const fs::path& folder) {
    return QDir(QString::fromStdString(folder.string())).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

/// Limits the size of every file this process writes to limit bytes while it lives, with SIGXFSZ
/// ignored so that a write past the limit fails with EFBIG instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void profileLooksUpSectionsAndKeysIgnoringCase() {
        AppSandbox sandbox;
        sandbox.writeSettings("[FRMMAIN]\r\nWindowstate=2\r\n\r\n[Other]\r\nkey=other\r\n");
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "WINDOWSTATE", "0", kSettingsBuffer), std::string("2"));
        QCOMPARE(profile.readString("frmMain", "key", "none", kSettingsBuffer), std::string("none"));
        QCOMPARE(profile.readString("missing", "key", "dflt", kSettingsBuffer), std::string("dflt"));
    }

    void profileReplacesInPlaceAndCreatesWhatIsMissing() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QVERIFY(profile.writeString("frmMain", "Left", "1"));
        QVERIFY(profile.writeString("Other", "x", "y"));
        QVERIFY(profile.writeString("FRMMAIN", "left", "2"));
        QVERIFY(profile.writeString("frmMain", "Top", "3"));
        QCOMPARE(sandbox.settingsText(), std::string("[frmMain]\r\nleft=2\r\nTop=3\r\n[Other]\r\nx=y\r\n"));
        // Nothing is left behind beside the file.
        QCOMPARE(QDir(QString::fromStdString(sandbox.paths().iniFilePath.parent_path().string()))
                     .entryList(QDir::Files | QDir::Hidden)
                     .size(),
                 1);
    }

    void profileCutsValuesToTheReadersBuffers() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        const std::string longValue(600, 'v');
        profile.writeString("s", "k", longValue);
        QCOMPARE(profile.readString("s", "k", "", kSettingsBuffer).size(), size_t(499));
        QCOMPARE(profile.readString("s", "k", "", kRecentBuffer).size(), size_t(127));
    }

    void profileKeepsEveryTextExactly_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("line");
        auto row = [](const char* name, std::string value, std::string line) {
            QTest::newRow(name) << QByteArray::fromStdString(value) << QByteArray::fromStdString("k=" + line);
        };
        row("plain", "Data Source=/data/m.db", "Data Source=/data/m.db");
        row("inner blanks and signs", "a = b ; [c] \"d\"", "a = b ; [c] \"d\"");
        row("windows path and like pattern", "C:\\data\\new.mdb LIKE 'a\\%'",
            "C:\\data\\new.mdb LIKE 'a\\%'");
        row("utf-8",
            "Gr\xC3\xB6\xC3\x9F"
            "e \xE2\x82\xAC",
            "Gr\xC3\xB6\xC3\x9F"
            "e \xE2\x82\xAC");
        row("trailing blank", "m.db ", "m.db\\x20");
        row("leading and trailing blanks", "  m.db  ", "\\x20 m.db \\x20");
        row("one blank", " ", "\\x20");
        row("two lines", "Main Street 1\r\nOslo", "Main Street 1\\x0D\\x0AOslo");
        row("tab", "a\tb", "a\\x09b");
        row("nul", std::string("a\0b", 3), "a\\x00b");
        row("invalid utf-8", "bad-\xFF", "bad-\\xFF");
        row("escape lookalike", "\\x41", "\\\\x41");
        row("backslash before a line break", "a\\\n", "a\\\\\\x0A");
        row("backslashes", "\\\\d\\", "\\\\\\d\\");
        row("long", std::string(4000, 'v'), std::string(4000, 'v'));
    }
    void profileKeepsEveryTextExactly() {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, line);
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QVERIFY(profile.writeString("s", "k", value.toStdString()));
        QVERIFY(profile.writeString("s", "after", "x"));
        // One line per value, so the file stays a profile file for any reader.
        QCOMPARE(QByteArray::fromStdString(sandbox.settingsText()), "[s]\r\n" + line + "\r\nafter=x\r\n");
        QCOMPARE(QByteArray::fromStdString(profile.readText("s", "k", "")), value);
        QCOMPARE(profile.readText("s", "after", ""), std::string("x"));
    }

    void aValueWrittenWithoutTheEncodingReadsBackAsWritten() {
        AppSandbox sandbox;
        sandbox.writeSettings("[s]\r\nblank=m.db \r\npath=C:\\new\\x.mdb\r\nspaced = 5\r\n");
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readText("s", "blank", ""), std::string("m.db "));
        QCOMPARE(profile.readText("s", "path", ""), std::string("C:\\new\\x.mdb"));
        QCOMPARE(textToWhole(profile.readString("s", "spaced", "", kSettingsBuffer), 0), int64_t(5));
    }

    void aNameThatCannotStandOnItsLineIsRefused() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QVERIFY(profile.writeString("s", "k", "v"));
        const std::string before = sandbox.settingsText();
        for (const auto& [section, key] : {std::pair<std::string, std::string>{"s", "a=b"},
                                           {"s", "two\nlines"},
                                           {"s", ""},
                                           {"a]b", "k"},
                                           {"s", "[k"}}) {
            const ProfileWrite written = profile.writeStrings(section, {{"fine", "1"}, {key, "v"}});
            QVERIFY(!written);
            QVERIFY2(written.error.find("cannot be stored") != std::string::npos, written.error.c_str());
        }
        QCOMPARE(sandbox.settingsText(), before);
    }

    // Two instances saving at once: each save reads, changes and replaces the file, and without a
    // lock one instance's replacement drops what the other wrote in between.
    void twoWritersAtOnceLoseNothing() {
        AppSandbox sandbox;
        const fs::path file = sandbox.paths().iniFilePath;
        constexpr int kWrites = 150;
        auto writer = [&file](const std::string& section) {
            ProfileFile profile(file);
            for (int i = 0; i < kWrites; ++i)
                profile.writeString(section, "key" + std::to_string(i), std::to_string(i));
        };
        std::thread first(writer, "first");
        std::thread second(writer, "second");
        first.join();
        second.join();
        const ProfileFile profile(file);
        int kept = 0;
        for (const char* section : {"first", "second"})
            for (int i = 0; i < kWrites; ++i)
                kept += profile.readText(section, "key" + std::to_string(i), "") == std::to_string(i);
        QCOMPARE(kept, 2 * kWrites);
        QCOMPARE(filesIn(file.parent_path()), QStringList{QString::fromStdString(file.filename().string())});
    }

    void aLinkedSettingsFileIsWrittenThroughItsLinkAndKeepsItsMode() {
        AppSandbox sandbox;
        const fs::path link = sandbox.paths().iniFilePath;
        const fs::path real = fs::path(sandbox.folder().toStdString()) / "dotfiles" / "dbsift.ini";
        fs::create_directories(real.parent_path());
        sandbox.writeSettings("");
        fs::rename(link, real);
        fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
        fs::create_symlink(fs::relative(real, link.parent_path()), link);
        ProfileFile profile(link);
        QVERIFY(profile.writeString("frmMain", "Left", "15"));
        QVERIFY(fs::is_symlink(link));
        QCOMPARE(profile.readText("frmMain", "Left", ""), std::string("15"));
        QCOMPARE(ProfileFile(real).readText("frmMain", "Left", ""), std::string("15"));
        QCOMPARE(permissionsOf(real), fs::perms::owner_read | fs::perms::owner_write);
        // Neither folder keeps a staging or lock file.
        QCOMPARE(filesIn(real.parent_path()), QStringList{"dbsift.ini"});
        QCOMPARE(filesIn(link.parent_path()), QStringList{QString::fromStdString(link.filename().string())});

        // A plain file keeps its mode too.
        fs::remove(link);
        fs::copy_file(real, link);
        fs::permissions(link, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        QVERIFY(profile.writeString("frmMain", "Top", "30"));
        QCOMPARE(permissionsOf(link), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }

    void aWriteThatRunsOutOfSpaceSaysWhyAndKeepsTheFile() {
        AppSandbox sandbox;
        ProfileFile profile(sandbox.paths().iniFilePath);
        QVERIFY(profile.writeString("frmMain", "REPORT_PATH", "/tmp/report.html"));
        const std::string before = sandbox.settingsText();
        ProfileWrite written;
        {
            const FileSizeLimit limit(before.size() + 16);
            written = profile.writeString("ROLLBACK_NUMBER_1", "ROLLBACK_SQL", std::string(200, 'x'));
        }
        QVERIFY(!written);
        // The system's own reason for the failed write, not a generic one.
        QCOMPARE(written.error, std::generic_category().message(EFBIG));
        QCOMPARE(sandbox.settingsText(), before);
        QCOMPARE(filesIn(sandbox.paths().iniFilePath.parent_path()).size(), 1);

        // The bytes are written by one routine, which passes on what a full device says.
        const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        QVERIFY(full >= 0);
        QCOMPARE(writeAllBytes(full, "[frmMain]\r\n"), std::string("No space left on device"));
        ::close(full);
    }

    void stagingFilesLeftByAKilledWriterAreRemovedAtTheNextWrite() {
        AppSandbox sandbox;
        const fs::path file = sandbox.paths().iniFilePath;
        sandbox.writeSettings("[frmMain]\r\nLeft=1\r\n");
        const fs::path folder = file.parent_path();
        for (const std::string& name :
             {"." + file.filename().string() + ".tmp-4242", "." + file.filename().string() + ".tmp-4243-7",
              std::string("notes.txt")})
            std::ofstream(folder / name) << "[frmMain]\r\nLeft=";
        QVERIFY(ProfileFile(file).writeString("frmMain", "Top", "2"));
        QCOMPARE(filesIn(folder),
                 (QStringList{"notes.txt", QString::fromStdString(file.filename().string())}));
    }

    void decimalTextTakesPointOrComma_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("point") << "0.5" << 0.5;
        QTest::newRow("comma") << "0,5" << 0.5;
        QTest::newRow("whole") << "1" << 1.0;
        QTest::newRow("garbage") << "half" << 0.35;
        QTest::newRow("empty") << "" << 0.35;
        QTest::newRow("two separators") << "0.5.5" << 0.35;
    }
    void decimalTextTakesPointOrComma() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(parseDecimalText(text.toStdString(), 0.35), expected);
    }

    void booleansAndNumbersFallBackToTheirDefaults() {
        QCOMPARE(textToBool("TRUE", false), true);
        QCOMPARE(textToBool("false", true), false);
        QCOMPARE(textToBool("0", true), false);
        QCOMPARE(textToBool("-1", false), true);
        QCOMPARE(textToBool("yes please", true), true);
        QCOMPARE(textToBool("yes please", false), false);
        QCOMPARE(textToWhole("1500px", 0), int64_t(1500));
        QCOMPARE(textToWhole("wide", 1700), int64_t(1700));
        QCOMPARE(textToWhole("99999", 1700, 0, INT16_MAX), int64_t(1700));
    }

    void firstStartShowsTheDefaultsAndWritesThem() {
        AppSandbox sandbox;
        frmMainMDI& frame = sandbox.start();
        frmMain& form = frame.mainForm();
        const clsAppVar& vars = form.getApplicationVariables();
        QCOMPARE(form.getdRatioTopEditor(), 0.35);
        QCOMPARE(vars.getNumberofRecords(), 50);
        QCOMPARE(vars.getGridCol0(), int16_t(1700));
        QCOMPARE(vars.getGridCol3(), int16_t(1400));
        QCOMPARE(vars.getOriginalColor(), uint32_t(0x80FF80));
        QCOMPARE(form.getOriginalColor(), uint32_t(0x80FF80));
        QCOMPARE(vars.getModifiedColor(), uint32_t(0xFFFFFF));
        QVERIFY(!form.timerRunning());
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "GRID1_COL0", "", kSettingsBuffer), std::string("1700"));
        QCOMPARE(profile.readString("frmMain", "ORIGINAL_COLOR", "", kSettingsBuffer),
                 std::string("8454016"));
        QCOMPARE(profile.readString("frmMain", "DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", "", kSettingsBuffer),
                 std::string("False"));
    }

    void storedValuesAreReadAndBadOnesFallBack() {
        AppSandbox sandbox;
        sandbox.writeSettings("[frmMain]\ndRatioTopEditor=0,5\nNUMBER_OF_RECORDS_TO_DISPLAY=many\n"
                              "SHOW_METADATA=0\nSHOW_QUERIES_ONLY=maybe\nGRID1_COL0=70000\nGRID1_COL1=900\n"
                              "REPORT_PATH=/tmp/report.html\n");
        frmMain& form = sandbox.start().mainForm();
        // With no Original connection the load's save reinitialises the view options for this
        // run; what was read shows in what the save did not reset.
        QCOMPARE(form.getdRatioTopEditor(), 0.5);
        QCOMPARE(form.getReportPath(), std::string("/tmp/report.html"));
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "SHOW_METADATA", "", kSettingsBuffer), std::string("0"));
    }

    void storedViewOptionsHoldWhenAnOriginalIsChosen() {
        AppSandbox sandbox;
        const std::string db = sandbox.createDatabase("a.db", "create table t(id integer primary key);");
        sandbox.writeSettings("[frmMain]\nNUMBER_OF_RECORDS_TO_DISPLAY=many\nSHOW_METADATA=0\n"
                              "SHOW_QUERIES_ONLY=maybe\nGRID1_COL0=70000\nGRID1_COL1=900\n"
                              "lLastSelectedOrigConnIndex=0\n[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" +
                              AppSandbox::fileConnection(db) + "\n");
        frmMain& form = sandbox.start().mainForm();
        const clsAppVar& vars = form.getApplicationVariables();
        QCOMPARE(vars.getNumberofRecords(), 50);
        QCOMPARE(vars.getShowStructure(), false);
        QCOMPARE(vars.getShowViews(), false);
        QCOMPARE(vars.getGridCol0(), int16_t(1700));
        QCOMPARE(vars.getGridCol1(), int16_t(900));
    }

    void storedGridWidthsSurviveAStart_data() {
        QTest::addColumn<bool>("withOriginal");
        QTest::newRow("no Original chosen") << false;
        QTest::newRow("an Original chosen") << true;
    }

    void storedGridWidthsSurviveAStart() {
        QFETCH(bool, withOriginal);
        AppSandbox sandbox;
        std::string settings =
            "[frmMain]\nGRID1_COL0=1100\nGRID1_COL1=1200\nGRID1_COL2=2600\nGRID1_COL3=900\n";
        if (withOriginal)
            settings += "lLastSelectedOrigConnIndex=0\n[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" +
                        AppSandbox::fileConnection(sandbox.createDatabase("a.db", "create table t(x);")) +
                        "\n";
        sandbox.writeSettings(settings);
        for (int start = 1; start <= 2; ++start) {
            frmMain& form = sandbox.start().mainForm();
            const FlexGrid& grid = *form.findChild<FlexGrid*>("MSFlexGrid1");
            QCOMPARE(grid.colWidth(0), 1100);
            QCOMPARE(grid.colWidth(2), 2600);
            QCOMPARE(grid.colWidth(3), 900);
            sandbox.stop();
            ProfileFile profile(sandbox.paths().iniFilePath);
            QCOMPARE(profile.readString("frmMain", "GRID1_COL2", "", kSettingsBuffer), std::string("2600"));
            QCOMPARE(profile.readString("frmMain", "GRID1_COL3", "", kSettingsBuffer), std::string("900"));
        }
    }

    void closingMaximisedWritesOnlyTheState() {
        AppSandbox sandbox;
        frmMainMDI& frame = sandbox.start();
        frame.setGeometry(30, 40, 900, 600);
        frame.mainForm().SaveIniFile();
        const std::string before =
            ProfileFile(sandbox.paths().iniFilePath).readString("frmMain", "Width", "", kSettingsBuffer);
        QCOMPARE(before, std::string("13500"));
        frame.setWindowState(Qt::WindowMaximized);
        QCOMPARE(frame.windowStateCode(), 2);
        sandbox.stop();
        ProfileFile profile(sandbox.paths().iniFilePath);
        QCOMPARE(profile.readString("frmMain", "WindowState", "", kSettingsBuffer), std::string("2"));
        QCOMPARE(profile.readString("frmMain", "Width", "", kSettingsBuffer), before);
        QCOMPARE(QSettings().value("frmMainMDISettings/WindowState").toInt(), 2);
    }

    void colourToHtml_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<QString>("html");
        QTest::newRow("black") << 0u << "#000000";
        QTest::newRow("red") << 255u << "#FF0000";
        QTest::newRow("mixed") << 0x563412u << "#123456";
        QTest::newRow("white") << 0xFFFFFFu << "#FFFFFF";
    }
    void colourToHtml() {
        QFETCH(uint, colour);
        QFETCH(QString, html);
        QCOMPARE(QString::fromStdString(frmMain::ColorToHTML(colour)), html);
    }
};

DBSIFT_APP_TEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
