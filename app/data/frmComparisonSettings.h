// SPDX-License-Identifier: MIT
#pragma once

#include "Comparison.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace dbsift {

class frmMain;

/// The settings of the window's comparisons: when values count as equal, the key records pair
/// by, the columns never compared, the row filters of the table shown, and whether field types
/// compare by family. It edits the
/// settings a saved comparison keeps; OK refuses, with a message, what a run would refuse.
class frmComparisonSettings final : public QDialog {
    Q_OBJECT
public:
    explicit frmComparisonSettings(frmMain& form);

    /// Shows the comparison's settings; the row filters are those of table, and can be set only
    /// with a table ("" for none).
    void load(const cli::SavedComparison& comparison, const QString& table);
    /// The comparison with the settings entered; valid once the dialog was accepted.
    cli::SavedComparison settings() const { return settings_; }

    void accept() override;

private:
    /// The comparison with the settings entered; false, with why, when they cannot be taken.
    bool readSettings(cli::SavedComparison& comparison, QString& why) const;

    frmMain& form_;
    QString table_;
    cli::SavedComparison settings_;
    QCheckBox* chkIgnoreCase_ = nullptr;
    QCheckBox* chkIgnoreBlanks_ = nullptr;
    QCheckBox* chkNullIsEmpty_ = nullptr;
    QLineEdit* txtTolerance_ = nullptr;
    QComboBox* cboTimePrecision_ = nullptr;
    QLineEdit* txtKey_ = nullptr;
    QLineEdit* txtIgnoreColumns_ = nullptr;
    QGroupBox* grpFilters_ = nullptr;
    QLineEdit* txtOriginalFilter_ = nullptr;
    QLineEdit* txtModifiedFilter_ = nullptr;
    QCheckBox* chkTypesByFamily_ = nullptr;
};

} // namespace dbsift
