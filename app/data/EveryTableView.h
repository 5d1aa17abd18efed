// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataSummary.h>

#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace dbsift {

/// The data of every table at a glance: one row per table with the counts of its records only
/// in the Original, only in the Modified, changed and identical, or why it was not compared. A
/// double click (or Return) on a compared table asks for its own comparison.
class EveryTableView : public QWidget {
    Q_OBJECT
public:
    explicit EveryTableView(QWidget* parent = nullptr);

    void showSummary(const sifkit::DataSummary& summary);
    void clear();
    QTableWidget& table() const { return *table_; }
    const sifkit::DataSummary& summary() const { return summary_; }

signals:
    /// A compared table chosen, with the columns its comparison compared.
    void tableChosen(const QString& table, const QStringList& columns);
    /// "Create Report" clicked, with a summary shown.
    void reportRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int row);

    QTableWidget* table_;
    QLabel* totals_;
    QPushButton* report_;
    sifkit::DataSummary summary_;
};

} // namespace dbsift
