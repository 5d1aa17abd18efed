// SPDX-License-Identifier: MIT
// The HTML data difference report: its exact lines, escaping, the walk over both sides, and the
// stored report path.
#include "reports/HtmlReport.h"
#include "AppTestMain.h"
#include "data/EveryTableView.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QFile>
#include <QPushButton>

using namespace dbsift;
using dbsift::test::AppSandbox;

namespace {

std::string startOn(AppSandbox& sandbox, const std::string& original, const std::string& modified) {
    const std::string o = sandbox.createDatabase("o.db", original);
    const std::string m = sandbox.createDatabase("m.db", modified);
    sandbox.writeSettings("[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + AppSandbox::fileConnection(o) +
                          "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + AppSandbox::fileConnection(m) +
                          "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n");
    sandbox.start();
    return o;
}

} // namespace

class HtmlReportTest : public QObject {
    Q_OBJECT
private slots:
    void theLinesOfATwoFieldTable() {
        AppSandbox sandbox;
        startOn(sandbox,
                "create table people(ID integer primary key, Name text); insert into people values(1,'Ann');"
                "insert into people values(7,'Bob');",
                "create table people(ID integer primary key, Name text); insert into people values(1,'Ann');"
                "insert into people values(8,'Cy <script>');");
        frmMain& form = sandbox.form();
        test::compareDataQuietly(form, "people", "[ID],[Name]");
        const std::vector<std::string> lines = htmlReportLines(form.Sifcore1(), "people", 0x80FF80, 0xFFFFFF);
        QCOMPARE(lines.size(), size_t(23)); // the listing, then where it comes from and the counts
        QCOMPARE(lines[2], std::string("<meta charset=\"utf-8\">"));
        QCOMPARE(lines[3], std::string("<TITLE> Data Difference report for people</title>"));
        QCOMPARE(lines[10], std::string("<font size=6><b><u>Data Differences for people</U></b></font>"));
        QCOMPARE(lines[13], std::string("<tr bgcolor=#80FF80><td>Original</td></tr>"));
        QCOMPARE(lines[14], std::string("<tr bgcolor=#FFFFFF><td>Modified</td></tr>"));
        QCOMPARE(lines[17],
                 std::string("<tr><td><b><u>Item#</u></b></td><td>&nbsp</td><td><b><u>ID</u></b></td>"
                             "<td>&nbsp</td><td><b><u>Name</u></b></td><td>&nbsp</td></tr>"));
        QCOMPARE(lines[18], std::string("<tr bgcolor=#80FF80><td>2</td><td>&nbsp</td><td>7</td><td>&nbsp</td>"
                                        "<td>Bob</td><td>&nbsp</td></tr>"
                                        "<tr bgcolor=#FFFFFF><td>2</td><td>&nbsp</td><td>8</td><td>&nbsp</td>"
                                        "<td>Cy &lt;script&gt;</td><td>&nbsp</td></tr>"));
        QCOMPARE(lines.back(), std::string("</html>"));
    }

    void besideTheListingTheDatabasesTheCountsAndTheChangedValues() {
        AppSandbox sandbox;
        startOn(sandbox,
                "create table people(ID integer primary key, Name text, City text);"
                "insert into people values(1,'Ann','Oslo'); insert into people values(2,'Bo','Rome');",
                "create table people(ID integer primary key, Name text, City text);"
                "insert into people values(1,'Ann','<Rio>'); insert into people values(3,'Cy',NULL);");
        frmMain& form = sandbox.form();
        test::compareDataQuietly(form, "people", "[ID],[Name],[City]");
        const std::vector<std::string> lines =
            htmlReportLines(form.Sifcore1(), "people", 0x80FF80, 0xFFFFFF,
                            {"o.db", "dsn:pg ;User ID=ann", "2026-12-11 12:00 UTC"});
        QCOMPARE(lines[19], std::string("</table>")); // the listing's lines stay where they are
        QCOMPARE(lines[20], std::string("<p>Original: o.db<br>Modified: dsn:pg ;User ID=ann<br>"
                                        "Written: 2026-12-11 12:00 UTC</p>"));
        QCOMPARE(lines[21], std::string("<p>Changed: 1, only in Original: 1, only in Modified: 1</p>"));
        QCOMPARE(lines[23],
                 std::string("<table border=1 cellspacing=0 cellpadding=3><tr><th>Original #</th>"
                             "<th>Modified #</th><th>Column</th><th>Original</th><th>Modified</th></tr>"
                             "<tr><td>1</td><td>1</td><td>City</td><td>Oslo</td>"
                             "<td><mark>&lt;Rio&gt;</mark></td></tr></table>"));

        // The whole database: one row per table, its differences marked.
        form.compareEveryTable();
        const std::vector<std::string> summary = htmlSummaryReportLines(
            form.findChild<EveryTableView*>("EveryTableView")->summary(), {"o", "m", "now"});
        QCOMPARE(summary[5], std::string("<p>Tables compared: 1, with differences: 1, not compared: 0</p>"));
        QVERIFY(
            summary[6].find("<tr><td>people</td><td>2</td><td>2</td><td><mark>1</mark></td><td><mark>1</mark>"
                            "</td><td><mark>1</mark></td><td>0</td><td>ID</td></tr>") != std::string::npos);
        sandbox.prompter().queueFile(sandbox.folder() + "/summary.html");
        form.findChild<QPushButton*>("cmdEveryTableReport")->click();
        QFile written(sandbox.folder() + "/summary.html");
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("Data differences of every table"));
    }

    void aStoredPathIsOverwrittenWithoutADialogAndOpened() {
        AppSandbox sandbox;
        startOn(sandbox, "create table t(id integer primary key, v text); insert into t values(1,'a');",
                "create table t(id integer primary key, v text); insert into t values(1,'b');");
        frmMain& form = sandbox.form();
        test::compareDataQuietly(form, "t", "[id],[v]");
        const QString path = sandbox.folder() + "/report.html";
        sandbox.prompter().queueFile(path);
        form.createHTMLReport();
        QCOMPARE(sandbox.prompter().lastFileRequest()->filterIndex, 3);
        QCOMPARE(form.getReportPath(), path.toStdString());
        QFile first(path);
        QVERIFY(first.open(QIODevice::ReadOnly));
        QVERIFY(first.readAll().startsWith("<html>\r\n<HEAD>\r\n"));
        first.close();
        QCOMPARE(sandbox.prompter().openedUrls().back().toLocalFile(), path);
        form.getApplicationVariables().setSelectedTableName("other");
        form.createHTMLReport();
        QVERIFY(sandbox.prompter().allAnswersUsed());
        QFile second(path);
        QVERIFY(second.open(QIODevice::ReadOnly));
        QVERIFY(second.readAll().contains("Data Differences for other"));
    }

    // The report declares UTF-8: bytes that are not UTF-8 are shown as their values, so two
    // values that differ in one such byte stay apart; well-formed text is kept as it is.
    void bytesThatAreNotUtf8AreShownAsTheirValues() {
        QCOMPARE(escapeHtml("bad-\xFE"),
                 std::string("bad-<code title=\"bytes that are not UTF-8\">\\xFE</code>"));
        QCOMPARE(escapeHtml("\xC3\x28<\xE2\x82"),
                 std::string("<code title=\"bytes that are not UTF-8\">\\xC3</code>(&lt;"
                             "<code title=\"bytes that are not UTF-8\">\\xE2\\x82</code>"));
        const std::string valid = "Gr\xC3\xB6\xC3\x9F"
                                  "e \xE2\x82\xAC \xF0\x9F\x98\x80 \\xFF";
        QCOMPARE(escapeHtml(valid), valid);
        // An overlong form and a surrogate are not UTF-8 either.
        QCOMPARE(escapeHtml("\xC0\xAF"),
                 std::string("<code title=\"bytes that are not UTF-8\">\\xC0\\xAF</code>"));
        QCOMPARE(escapeHtml("\xED\xA0\x80"),
                 std::string("<code title=\"bytes that are not UTF-8\">\\xED\\xA0\\x80</code>"));

        AppSandbox sandbox;
        startOn(sandbox,
                "create table t(id integer primary key, v text); insert into t values(1, cast(x'6261642dfe' "
                "as text));",
                "create table t(id integer primary key, v text); insert into t values(1, cast(x'6261642dff' "
                "as text));");
        frmMain& form = sandbox.form();
        test::compareDataQuietly(form, "t", "[id],[v]");
        const std::vector<std::string> lines = htmlReportLines(form.Sifcore1(), "t", 0x80FF80, 0xFFFFFF);
        QCOMPARE(lines[18], std::string("<tr bgcolor=#80FF80><td>1</td><td>&nbsp</td><td>1</td><td>&nbsp</td>"
                                        "<td>bad-<code title=\"bytes that are not UTF-8\">\\xFE</code></td>"
                                        "<td>&nbsp</td></tr>"
                                        "<tr bgcolor=#FFFFFF><td>1</td><td>&nbsp</td><td>1</td><td>&nbsp</td>"
                                        "<td>bad-<code title=\"bytes that are not UTF-8\">\\xFF</code></td>"
                                        "<td>&nbsp</td></tr>"));
    }
};

DBSIFT_APP_TEST_MAIN(HtmlReportTest)
#include "HtmlReportTest.moc"
