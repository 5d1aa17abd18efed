// SPDX-License-Identifier: MIT
// Saved comparisons: File > Open Comparison, Save Comparison and the recent ones, the settings an
// opened comparison brings to the window's runs, and the export of its result as dbsift-compare
// writes it.
#include "Prompter.h"
#include "connect/ConnectionNames.h"
#include "data/EveryTableView.h"
#include "data/frmComparisonSettings.h"
#include "shell/RecentConnections.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include "ComparisonRun.h"

#include <sifkit/FieldList.h>
#include <sifkit/Sifcore.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>

namespace dbsift {

namespace {

constexpr const char* kRecentComparisonsSection = "RECENT_COMPARISONS";
constexpr int kRecentComparisonsKept = 8;

const char* const kComparisonFilter = QT_TRANSLATE_NOOP("dbsift::frmMain", "Comparisons|*.json|All Files|*");

const char* const kNeedsBothDatabases = QT_TRANSLATE_NOOP(
    "dbsift::frmMain", "Choose an Original and a Modified database first: a comparison names both.");

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

void frmMain::buildComparisonMenu(QMenu& file, QAction* before) {
    auto add = [this, &file, before](QAction*& action, const char* name, const QString& text) {
        action = new QAction(text, this);
        action->setObjectName(name);
        file.insertAction(before, action);
    };
    add(mnuOpenComparison_, "mnuOpenComparison", tr("&Open Comparison..."));
    mnuRecentComparisons_ = new QMenu(tr("Recent Co&mparisons"), &file);
    mnuRecentComparisons_->setObjectName("mnuRecentComparisons");
    mnuRecentComparisons_->setToolTipsVisible(true); // the whole path of each
    file.insertMenu(before, mnuRecentComparisons_);
    add(mnuSaveComparison_, "mnuSaveComparison", tr("Sa&ve Comparison..."));
    add(mnuExportJson_, "mnuExportJson", tr("&Export Result as JSON..."));
    file.insertSeparator(before);
    connect(mnuOpenComparison_, &QAction::triggered, this, &frmMain::openComparison);
    connect(mnuSaveComparison_, &QAction::triggered, this, &frmMain::saveComparison);
    connect(mnuExportJson_, &QAction::triggered, this, &frmMain::exportResultAsJson);
    mnuRecentComparisons_->setEnabled(false); // filled once the settings are read
}

void frmMain::fillRecentComparisons() {
    mnuRecentComparisons_->clear();
    for (const std::string& path : readIniSection(settings_, kRecentComparisonsSection)) {
        const QString file = QString::fromStdString(path);
        QAction* entry = mnuRecentComparisons_->addAction(QFileInfo(file).fileName());
        entry->setToolTip(QDir::toNativeSeparators(file));
        entry->setData(file);
        connect(entry, &QAction::triggered, this, [this, file] {
            if (!isBusy())
                openComparisonFile(file);
        });
    }
    mnuRecentComparisons_->setEnabled(!mnuRecentComparisons_->isEmpty());
}

void frmMain::rememberComparison(const QString& path) {
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    std::vector<std::string> paths = readIniSection(settings_, kRecentComparisonsSection);
    paths.erase(std::remove(paths.begin(), paths.end(), absolute), paths.end());
    paths.insert(paths.begin(), absolute);
    paths.resize(std::min<std::size_t>(paths.size(), kRecentComparisonsKept));
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < kRecentComparisonsKept; ++i)
        entries.emplace_back(kRecentComparisonsSection + std::to_string(i),
                             i < static_cast<int>(paths.size()) ? paths[static_cast<std::size_t>(i)] : "");
    if (const ProfileWrite written = settings_.writeStrings(kRecentComparisonsSection, entries); !written)
        frame_.setPanelText(
            2,
            tr("The recent comparisons could not be saved: %1").arg(QString::fromStdString(written.error)));
    fillRecentComparisons();
}

void frmMain::openComparison() {
    if (isBusy())
        return;
    FilePickRequest request;
    request.title = tr("Open Comparison");
    request.filter = tr(kComparisonFilter);
    request.defaultExtension = "json";
    request.initialFile = comparisonFile_;
    const QString path = prompter_.openFile(this, request);
    if (!path.isEmpty())
        openComparisonFile(path);
}

bool frmMain::openComparisonFile(const QString& path) {
    cli::SavedComparison comparison;
    try {
        comparison = cli::readComparisonFile(path.toStdString());
    } catch (const std::exception& failure) {
        showMessage(tr("The comparison could not be opened: %1").arg(QString::fromStdString(failure.what())));
        return false;
    }
    // Both sides are resolved before either changes: a comparison that cannot be opened leaves
    // the window's databases as they were.
    std::string connections[2];
    std::string passwords[2];
    for (const bool isMaster : {true, false}) {
        const std::string& named = isMaster ? comparison.original : comparison.modified;
        if (named.rfind(cli::dataSourcePrefix, 0) != 0 &&
            !QFileInfo(QString::fromStdString(named)).isFile()) {
            showMessage((isMaster ? tr("The Original database %1 does not exist.")
                                  : tr("The Modified database %1 does not exist."))
                            .arg(QString::fromStdString(named)));
            return false;
        }
        try {
            connections[isMaster ? 0 : 1] = cli::resolveTarget(Sifcore1(), named, {}).connectionString;
        } catch (const std::exception& failure) {
            showMessage((isMaster ? tr("The Original database %1 cannot be chosen: %2")
                                  : tr("The Modified database %1 cannot be chosen: %2"))
                            .arg(QString::fromStdString(named), QString::fromStdString(failure.what())));
            return false;
        }
        const std::string& user = isMaster ? comparison.originalUser : comparison.modifiedUser;
        std::string& connection = connections[isMaster ? 0 : 1];
        if (user.empty() || isFileConnection(connection))
            continue;
        Sifcore1().addUserIDToConnectionString(user, connection);
        // The file never holds a password: it is asked for, for this session only.
        const auto asked =
            prompter_.askPassword(this, tr("Password"),
                                  tr("The password of user %1 for %2:")
                                      .arg(QString::fromStdString(user), connectionDisplayName(connection)));
        if (!asked)
            return false;
        passwords[isMaster ? 0 : 1] = asked->toStdString();
    }
    setSideConnectionString(true, connections[0], true, false);
    setSideConnectionString(false, connections[1], true, false);
    if (!passwords[0].empty())
        appVar_.setMasterPassWord(passwords[0]);
    if (!passwords[1].empty())
        appVar_.setSourcePassWord(passwords[1]);
    heldComparison_ = comparison;
    Sifcore1().setTypesByFamily(comparison.typesByFamily);
    comparisonFile_ = QFileInfo(path).absoluteFilePath();
    rememberComparison(path);
    frame_.setWindowTitle(QApplication::applicationDisplayName() + QStringLiteral(" \u2014 ") +
                          QFileInfo(path).fileName());
    runHeldComparison();
    return true;
}

void frmMain::runHeldComparison() {
    const cli::SavedComparison& held = heldComparison_;
    switch (held.kind) {
    case cli::ComparisonKind::Structure:
        appVar_.setShowViews(held.views, *this);
        appVar_.setShowDifferencesOnly(held.differencesOnly);
        mnuRun_Click();
        return;
    case cli::ComparisonKind::EveryTable:
        compareEveryTable();
        return;
    case cli::ComparisonKind::Table:
        break;
    }
    listObjectsIntoTrees(true); // the comparison names its table: no hint on how to choose one
    std::vector<std::string> columns = held.data.columns;
    if (columns.empty()) {
        // Every column both sides can compare, as dbsift-compare takes them.
        {
            BusyScope busy(*this);
            Sifcore1().beginTablebaseCompare(getMasterConnectionString(), getSourceConnectionString(),
                                             held.table, "TABLE");
        }
        const sifkit::StructureResult& structure = Sifcore1().lastStructureResult();
        const sifkit::TableSchema* original = structure.original.catalogue.find(held.table);
        const sifkit::TableSchema* modified = structure.modified.catalogue.find(held.table);
        if (!original || !modified) {
            showMessage(tr("The table %1 of the comparison is not in both databases.")
                            .arg(QString::fromStdString(held.table)));
            return;
        }
        columns = sifkit::comparableColumns(*original, *modified, held.data.ignoreColumns);
    }
    if (columns.empty()) {
        showMessage(
            tr("There are no compatible fields to compare for %1").arg(QString::fromStdString(held.table)));
        return;
    }
    openedFieldList_ = withoutHeldIgnoredColumns(sifkit::writeFieldList(columns));
    setTableName(held.table);
    setCanRunReport(true);
    enableReportControls(true);
    compareTableOnCurrentDatabases(held.table, openedFieldList_);
}

std::string frmMain::withoutHeldIgnoredColumns(const std::string& fieldList) const {
    const std::vector<std::string>& ignored = heldComparison_.data.ignoreColumns;
    std::vector<std::string> columns = sifkit::parseFieldList(fieldList).value_or(std::vector<std::string>{});
    const auto kept = std::remove_if(columns.begin(), columns.end(), [&ignored](const std::string& column) {
        return contains(ignored, column);
    });
    if (ignored.empty() || kept == columns.begin() || kept == columns.end())
        return fieldList;
    columns.erase(kept, columns.end());
    return sifkit::writeFieldList(columns);
}

std::vector<std::string> frmMain::tableKey(const std::string& tableName, const std::string& fieldList) const {
    const std::vector<std::string> columns =
        sifkit::parseFieldList(fieldList).value_or(std::vector<std::string>{});
    const std::map<std::string, std::vector<std::string>>& held = heldComparison_.data.tableKeys;
    const auto chosen = chosenTableKeys_.find(tableName);
    const auto saved = held.find(tableName);
    const std::vector<std::string>& key = chosen != chosenTableKeys_.end() ? chosen->second
                                          : saved != held.end()            ? saved->second
                                                                           : heldComparison_.data.key;
    const bool compared = std::all_of(
        key.begin(), key.end(), [&columns](const std::string& column) { return contains(columns, column); });
    return compared ? key : std::vector<std::string>{};
}

void frmMain::chooseTableKey(const std::string& tableName, const std::vector<std::string>& key) {
    chosenTableKeys_[tableName] = key;
}

std::map<std::string, std::vector<std::string>> frmMain::tableKeys() const {
    std::map<std::string, std::vector<std::string>> keys = heldComparison_.data.tableKeys;
    for (const auto& [table, key] : chosenTableKeys_)
        keys[table] = key;
    return keys;
}

bool frmMain::heldFiltersApply(const std::string& tableName) const {
    return heldComparison_.kind == cli::ComparisonKind::Table && heldComparison_.table == tableName;
}

void frmMain::applyHeldSettings(const std::string& tableName, const std::string& fieldList,
                                sifkit::clsDBManager& master, sifkit::clsDBManager& source) {
    const cli::SavedComparison& held = heldComparison_;
    // The key pairs the records of any table that compares all of it, as a comparison of every
    // table does; the row filters are those of the comparison's own table.
    Sifcore1().setPairingKey(tableKey(tableName, fieldList));
    Sifcore1().setValueOptions(held.data.options);
    const bool filtered = heldFiltersApply(tableName);
    master.setRowFilter(filtered ? held.data.originalFilter : "");
    source.setRowFilter(filtered ? held.data.modifiedFilter : "");
}

void frmMain::showComparisonSettings() {
    if (isBusy())
        return;
    const bool dataShown = lowerFrames_->currentWidget() == frameDataGrids_;
    const bool everyTableShown = dataShown && tsDataDiff_->currentWidget() == everyTableView_ &&
                                 everyTableView_->table().rowCount() > 0;
    const std::string table = appVar_.getSelectedTableName();
    const bool tableShown = dataShown && !everyTableShown && !table.empty() && !getFieldList().empty();
    // The key shown is the one that pairs the table shown.
    cli::SavedComparison shown = heldComparison_;
    if (tableShown)
        shown.data.key = tableKey(table, getFieldList());
    frmComparisonSettings dialog(*this);
    dialog.load(shown, tableShown ? QString::fromStdString(table) : QString());
    if (dialog.exec() != QDialog::Accepted || dialog.settings() == shown)
        return;
    const std::vector<std::string> heldKey = heldComparison_.data.key;
    heldComparison_ = dialog.settings();
    // A key chosen here pairs every table, the tables' own keys forgotten; a key left as shown
    // stays the table's.
    if (heldComparison_.data.key != shown.data.key) {
        chosenTableKeys_.clear();
        heldComparison_.data.tableKeys.clear();
    } else
        heldComparison_.data.key = heldKey;
    Sifcore1().setTypesByFamily(heldComparison_.typesByFamily);
    // What is shown is compared again under the new settings.
    if (everyTableShown)
        compareEveryTable();
    else if (tableShown)
        compareTableOnCurrentDatabases(table, getFieldList());
    else if (lowerFrames_->currentWidget() == frameStructureGrids_)
        mnuRun_Click();
}

QString frmMain::heldSettingsNote(bool withFilters) const {
    const cli::SavedComparison& held = heldComparison_;
    QStringList notes;
    if (const std::string options = cli::describeOptions(held.data.options); !options.empty())
        notes << tr("Values compared with %1.").arg(QString::fromStdString(options));
    const sifkit::DataResult& result = Sifcore1().lastDataResult();
    const QString originalFilter = QString::fromStdString(result.originalFilter);
    const QString modifiedFilter = QString::fromStdString(result.modifiedFilter);
    if (withFilters && !originalFilter.isEmpty() && originalFilter == modifiedFilter)
        notes << tr("Records compared where %1.").arg(originalFilter);
    else if (withFilters) {
        if (!originalFilter.isEmpty())
            notes << tr("Original records compared where %1.").arg(originalFilter);
        if (!modifiedFilter.isEmpty())
            notes << tr("Modified records compared where %1.").arg(modifiedFilter);
    }
    return notes.join(QLatin1Char(' '));
}

sifkit::EveryTableSettings frmMain::heldEveryTableSettings() const {
    const cli::SavedComparison& held = heldComparison_;
    sifkit::EveryTableSettings settings;
    settings.views = held.kind == cli::ComparisonKind::EveryTable && held.views;
    settings.ignoreColumns = held.data.ignoreColumns;
    settings.key = held.data.key;
    settings.options = held.data.options;
    settings.tableKeys = tableKeys();
    return settings;
}

std::optional<cli::SavedComparison> frmMain::currentComparison() const {
    cli::SavedComparison comparison = heldComparison_;
    comparison.original = commandLineName(masterConnectionString_);
    comparison.modified = commandLineName(sourceConnectionString_);
    if (comparison.original.empty() || comparison.modified.empty())
        return std::nullopt;
    comparison.originalUser = splitUserID(masterConnectionString_).userID;
    comparison.modifiedUser = splitUserID(sourceConnectionString_).userID;
    const bool dataShown = lowerFrames_->currentWidget() == frameDataGrids_;
    if (dataShown && tsDataDiff_->currentWidget() == everyTableView_ &&
        everyTableView_->table().rowCount() > 0) {
        if (comparison.kind != cli::ComparisonKind::EveryTable)
            comparison.views = false;
        comparison.data.columns.clear();
        comparison.data.originalFilter.clear();
        comparison.data.modifiedFilter.clear();
        comparison.kind = cli::ComparisonKind::EveryTable;
        comparison.data.tableKeys = tableKeys();
        comparison.table.clear();
        comparison.fields = comparison.differencesOnly = comparison.typesByFamily = false;
    } else if (dataShown && !appVar_.getSelectedTableName().empty() && !getFieldList().empty()) {
        const std::string& table = appVar_.getSelectedTableName();
        const bool asOpened = comparison.kind == cli::ComparisonKind::Table && comparison.table == table &&
                              getFieldList() == openedFieldList_;
        if (!asOpened) {
            // Another table or other fields: the fields chosen are the comparison's columns, with
            // the key where it pairs them and the row filters of its own table only.
            const bool filtered = heldFiltersApply(table);
            comparison.data.columns =
                sifkit::parseFieldList(getFieldList()).value_or(std::vector<std::string>{});
            comparison.data.originalFilter = filtered ? comparison.data.originalFilter : "";
            comparison.data.modifiedFilter = filtered ? comparison.data.modifiedFilter : "";
        }
        comparison.data.key = tableKey(table, getFieldList());
        comparison.data.tableKeys.clear();
        comparison.kind = cli::ComparisonKind::Table;
        comparison.table = table;
        comparison.views = comparison.fields = comparison.differencesOnly = comparison.typesByFamily = false;
    } else {
        comparison.kind = cli::ComparisonKind::Structure;
        comparison.table.clear();
        comparison.fields = true;
        comparison.views = appVar_.getShowViews();
        comparison.differencesOnly = appVar_.getShowDifferencesOnly();
        comparison.data = {};
    }
    return comparison;
}

QString frmMain::askComparisonPath(const QString& title, const QString& initialFile) {
    if (isBusy())
        return {};
    if (!currentComparison()) {
        showMessage(tr(kNeedsBothDatabases));
        return {};
    }
    FilePickRequest request;
    request.title = title;
    request.filter = tr(kComparisonFilter);
    request.defaultExtension = "json";
    request.initialFile = initialFile;
    return prompter_.saveFile(this, request);
}

void frmMain::saveComparison() {
    if (const QString path = askComparisonPath(tr("Save Comparison"), comparisonFile_); !path.isEmpty())
        saveComparisonFile(path);
}

bool frmMain::saveComparisonFile(const QString& path) {
    const std::optional<cli::SavedComparison> comparison = currentComparison();
    if (!comparison) {
        showMessage(tr(kNeedsBothDatabases));
        return false;
    }
    try {
        cli::writeComparisonFile(path.toStdString(), *comparison);
    } catch (const std::exception& failure) {
        showMessage(tr("The comparison could not be saved: %1").arg(QString::fromStdString(failure.what())));
        return false;
    }
    comparisonFile_ = QFileInfo(path).absoluteFilePath();
    rememberComparison(path);
    frame_.setPanelText(2, tr("Comparison saved to %1").arg(QDir::toNativeSeparators(comparisonFile_)));
    return true;
}

void frmMain::exportResultAsJson() {
    if (const QString path = askComparisonPath(tr("Export Result as JSON"), QString()); !path.isEmpty())
        exportResultAsJsonFile(path);
}

bool frmMain::exportResultAsJsonFile(const QString& path) {
    const std::optional<cli::SavedComparison> comparison = currentComparison();
    if (!comparison) {
        showMessage(tr(kNeedsBothDatabases));
        return false;
    }
    // An engine of its own: the result the window shows, and acts on, stays as it is.
    sifkit::HostHooks hooks = engineHooks();
    hooks.messageBox = nullptr; // a failure ends the export with one message
    sifkit::Sifcore engine(std::move(hooks));
    cli::ComparisonOutput output;
    setProgressBar();
    try {
        BusyScope busy(*this);
        frame_.setPanelText(2, tr("Exporting the result..."));
        output = cli::runComparison(engine, *comparison, {comparison->original, getMasterConnectionString()},
                                    {comparison->modified, getSourceConnectionString()}, cli::Format::Json);
    } catch (const std::exception& failure) {
        resetProgressBar();
        frame_.setPanelText(2, wasCancelled() ? tr("Export cancelled.") : tr("Export failed."));
        if (!wasCancelled())
            showMessage(
                tr("The result could not be exported: %1").arg(QString::fromStdString(failure.what())));
        return false;
    }
    resetProgressBar();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(output.text.data(), static_cast<qint64>(output.text.size())) !=
            static_cast<qint64>(output.text.size()) ||
        !file.commit()) {
        showMessage(tr("The result could not be written to %1: %2").arg(path, file.errorString()));
        return false;
    }
    frame_.setPanelText(2, tr("Result exported to %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

} // namespace dbsift
