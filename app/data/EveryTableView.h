// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataSummary.h>
#include <sifkit/SyncPlan.h>

#include <QStringList>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace dbsift {

/// The data of every table at a glance: one row per table with the counts of its records only
/// in the Original, only in the Modified, changed and identical, or why it was not compared. A
/// double click (or Return) on a compared table asks for its own comparison; Script... and
/// Apply... bring every compared table into line at once.
class EveryTableView : public QWidget {
    Q_OBJECT
public:
    explicit EveryTableView(QWidget* parent = nullptr);

    /// Shows the counts of a comparison of every table, and keeps each compared table's result
    /// (results) to bring the databases into line.
    void showSummary(const sifkit::DataSummary& summary, std::vector<sifkit::DataResult> results = {});
    void clear();
    QTableWidget& table() const { return *table_; }
    const sifkit::DataSummary& summary() const { return summary_; }
    /// The changes that bring every compared table into line in the direction chosen.
    sifkit::SyncPlan plan() const;

signals:
    /// A compared table chosen, with the columns its comparison compared.
    void tableChosen(const QString& table, const QStringList& columns);
    /// "Create Report" clicked, with a summary shown.
    void reportRequested();
    /// "Script..." and "Apply..." clicked, with differences shown.
    void syncScriptRequested();
    void applySyncRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int row);
    void enableSync(bool enabled);

    QTableWidget* table_;
    QLabel* totals_;
    QPushButton* report_;
    QComboBox* direction_;
    QPushButton* script_;
    QPushButton* apply_;
    std::vector<sifkit::DataResult> results_;
    sifkit::DataSummary summary_;
};

} // namespace dbsift
