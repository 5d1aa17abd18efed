// SPDX-License-Identifier: MIT
// The comparison of every table's records, and the step from its counts to one table's records.
#include "data/EveryTableView.h"
#include "data/PairedView.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/FieldList.h>
#include <sifkit/Sifcore.h>

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace dbsift {

void frmMain::compareEveryTable() {
    if (isBusy())
        return;
    const std::string master = getMasterConnectionString();
    const std::string source = getSourceConnectionString();
    if (master.empty() || source.empty()) {
        showMessage(tr("Choose an Original and a Modified database first."));
        return;
    }
    // The result shown belongs to one table; nothing of it stays to be acted on.
    clearDataResult();
    appVar_.setSelectedTableName("");
    cmdViewReport_->setEnabled(false);
    cmdCreateHTMLReport_->setEnabled(false);
    mnuCreateDataReport_->setEnabled(false);
    mnuCreateReportpopup_->setEnabled(false);
    everyTableView_->clear();
    setProgressBar();
    sifkit::DataSummary summary;
    std::vector<sifkit::DataResult> results; // what brings the tables into line
    {
        BusyScope busy(*this);
        summary = Sifcore1().compareEveryTable(
            master, source, heldEveryTableSettings(),
            [this](std::size_t number, std::size_t count, const std::string& table) {
                frame_.setPanelText(2, tr("Comparing the records of %1 (table %2 of %3)")
                                           .arg(QString::fromStdString(table))
                                           .arg(number)
                                           .arg(count));
            },
            [&results](const sifkit::DataResult& result) { results.push_back(result); });
    }
    emit dataRunFinished();
    resetProgressBar();
    if (summary.failed) {
        showMessage(tr("The tables of the two databases could not be listed.") + "\n\n" + engineFailures());
        frame_.setPanelText(2, tr("Compare failed."));
        return;
    }
    // A cancelled run's tables are not all there: none of it is brought into line.
    everyTableView_->showSummary(summary,
                                 summary.cancelled ? std::vector<sifkit::DataResult>{} : std::move(results));
    showLowerFrame(frameDataGrids_);
    tsDataDiff_->setCurrentWidget(everyTableView_);
    everyTableView_->table().setFocus();
    if (everyTableView_->table().rowCount() > 0)
        everyTableView_->table().selectRow(0);
    frame_.setPanelText(2, summary.cancelled ? tr("Compare cancelled.") : tr("Done"));
    frame_.setPanelText(3, heldSettingsNote(false));
}

void frmMain::compareChosenTable(const QString& table, const QStringList& columns) {
    if (isBusy())
        return;
    std::vector<std::string> names;
    for (const QString& column : columns)
        names.push_back(column.toStdString());
    const std::string tableName = table.toStdString();
    setTableName(tableName);
    // The summary compared these columns: the table's report can be made of them.
    setCanRunReport(!names.empty());
    enableReportControls(!names.empty());
    compareTableOnCurrentDatabases(tableName, sifkit::writeFieldList(names));
    if (Sifcore1().lastDataResult().outcome == sifkit::DataOutcome::Differences)
        tsDataDiff_->setCurrentWidget(pairedView_);
}

} // namespace dbsift
