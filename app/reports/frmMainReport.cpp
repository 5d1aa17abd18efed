// SPDX-License-Identifier: MIT
// The data difference report: written as an HTML file and handed to the desktop to show.
#include "Prompter.h"
#include "connect/ConnectionNames.h"
#include "data/EveryTableView.h"
#include "reports/HtmlReport.h"
#include "reports/frmCreateFile.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QApplication>
#include <QDateTime>
#include <QUrl>

#include <fstream>

#include <unistd.h>

namespace dbsift {

ReportContext frmMain::reportContext() {
    return {connectionDisplayName(getMasterConnectionString()).toStdString(),
            connectionDisplayName(getSourceConnectionString()).toStdString(),
            QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd HH:mm 'UTC'").toStdString()};
}

void frmMain::createHTMLReport() {
    writeReport(htmlReportLines(Sifcore1(), appVar_.getSelectedTableName(), appVar_.getOriginalColor(),
                                appVar_.getModifiedColor(), reportContext()));
}

void frmMain::createSummaryReport() {
    writeReport(htmlSummaryReportLines(everyTableView_->summary(), reportContext()));
}

void frmMain::writeReport(const std::vector<std::string>& lines) {
    std::string path = getReportPath();
    if (path.empty()) {
        path = frmCreateFile::createHTML(*this);
        setReportPath(path);
    }
    if (path.empty())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Written beside its final name and moved into place, so a failure never leaves half a report.
    const std::filesystem::path target(path);
    const std::filesystem::path partial =
        target.parent_path() / ("." + target.filename().string() + ".partial-" + std::to_string(getpid()));
    bool written = false;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            out << line << "\r\n";
        out.flush();
        written = static_cast<bool>(out);
    }
    std::error_code error;
    if (written)
        std::filesystem::rename(partial, target, error);
    if (!written || error)
        std::filesystem::remove(partial, error);
    QApplication::restoreOverrideCursor();
    if (!written || error) {
        showMessage(tr("The report could not be written to %1.").arg(QString::fromStdString(path)));
        return;
    }
    frame_.setPanelText(2, tr("Report written to %1").arg(QString::fromStdString(path)));
    if (!prompter_.openWithDefaultHandler(QUrl::fromLocalFile(QString::fromStdString(path))))
        showMessage(
            tr("The report was written to %1 but could not be opened.").arg(QString::fromStdString(path)));
}

void frmMain::requestReport() {
    if (!getCanRunReport()) {
        showMessage(tr("There are no differences to report."));
        return;
    }
    createHTMLReport();
}

} // namespace dbsift
