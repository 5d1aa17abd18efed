// SPDX-License-Identifier: MIT
#pragma once

#include "data/DifferenceModel.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace dbsift {

/// The paired view of a data result: one row per difference, with a filter by kind, a search
/// box, sorting by any column, a switch that leaves only the columns that changed, copy of the
/// selected rows and export of the rows shown to CSV. Rows are chosen by their check boxes (or
/// all those shown at once) to be brought into line, as a script or applied.
class PairedView : public QWidget {
    Q_OBJECT
public:
    explicit PairedView(QWidget* parent = nullptr);

    /// Shows a result in the colours of the Original's and the Modified's records and of a
    /// changed value.
    void showResult(const sifkit::DataResult& result, const QColor& originalColour,
                    const QColor& modifiedColour, const QColor& changedColour);
    void clear();

    const DifferenceModel& model() const { return *model_; }
    QTableView& table() const { return *table_; }
    /// The selected rows as the view shows them (its visible columns, its order), tab-separated
    /// under a line of the column names; "" when no row is selected.
    QString selectedRowsText() const;
    /// Writes the rows the view shows as CSV (UTF-8, quoted where needed); false, with the reason
    /// in error, when the file cannot be written.
    bool exportCsv(const QString& path, QString& error) const;

    /// Which database bringing the chosen rows into line changes.
    sifkit::SyncDirection syncDirection() const;
    /// The changes that bring the chosen rows into line in that direction.
    sifkit::SyncPlan chosenPlan() const;

signals:
    /// Script... and Apply... were clicked, with rows chosen.
    void syncScriptRequested();
    void applySyncRequested();

private:
    void chooseShown();
    void showChosen();
    void copySelection() const;
    void exportToChosenFile();
    void enableControls(bool enabled);
    void showColumns();
    void fitColumns();
    void showCounts();
    /// The rows (view order) and visible columns as lines of cells.
    QList<QStringList> lines(const QList<int>& viewRows) const;

    DifferenceModel* model_;
    DifferenceFilter* filter_;
    QTableView* table_;
    QComboBox* kind_;
    QLineEdit* search_;
    QCheckBox* changedColumnsOnly_;
    QPushButton* copy_;
    QPushButton* export_;
    QLabel* counts_;
    QLabel* chosen_;
    QPushButton* chooseShown_;
    QPushButton* chooseNone_;
    QComboBox* direction_;
    QPushButton* script_;
    QPushButton* apply_;
};

} // namespace dbsift
