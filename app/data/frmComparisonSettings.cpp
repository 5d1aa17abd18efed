// SPDX-License-Identifier: MIT
#include "data/frmComparisonSettings.h"

#include "shell/frmMain.h"

#include <sifkit/RowFilter.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>
#include <set>

namespace dbsift {

namespace {

constexpr sifkit::TimePrecision kPrecisions[] = {sifkit::TimePrecision::Exact, sifkit::TimePrecision::Seconds,
                                                 sifkit::TimePrecision::Milliseconds,
                                                 sifkit::TimePrecision::Microseconds};

QString joined(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names)
        list << QString::fromStdString(name);
    return list.join(QStringLiteral(", "));
}

/// The column names of a comma-separated list; false when one is empty or named twice.
bool columnNames(const QString& text, std::vector<std::string>& names) {
    names.clear();
    if (text.trimmed().isEmpty())
        return true;
    std::set<std::string> seen;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const std::string name = part.trimmed().toStdString();
        if (name.empty() || !seen.insert(name).second)
            return false;
        names.push_back(name);
    }
    return true;
}

} // namespace

frmComparisonSettings::frmComparisonSettings(frmMain& form) : QDialog(&form), form_(form) {
    setObjectName("frmComparisonSettings");
    setWindowTitle(tr("Comparison Settings"));
    auto* values = new QGroupBox(tr("When values are equal"), this);
    chkIgnoreCase_ = new QCheckBox(tr("Ignore letter case"), values);
    chkIgnoreCase_->setObjectName("chkIgnoreCase");
    chkIgnoreBlanks_ = new QCheckBox(tr("Ignore blanks at the start and end of texts"), values);
    chkIgnoreBlanks_->setObjectName("chkIgnoreBlanks");
    chkNullIsEmpty_ = new QCheckBox(tr("A Null equals the empty text"), values);
    chkNullIsEmpty_->setObjectName("chkNullIsEmpty");
    txtTolerance_ = new QLineEdit(values);
    txtTolerance_->setObjectName("txtTolerance");
    txtTolerance_->setPlaceholderText(tr("0: numbers compared exactly"));
    cboTimePrecision_ = new QComboBox(values);
    cboTimePrecision_->setObjectName("cboTimePrecision");
    cboTimePrecision_->addItems(
        {tr("Exactly as written"), tr("Whole seconds"), tr("Milliseconds"), tr("Microseconds")});
    auto* valuesLayout = new QFormLayout(values);
    valuesLayout->addRow(chkIgnoreCase_);
    valuesLayout->addRow(chkIgnoreBlanks_);
    valuesLayout->addRow(chkNullIsEmpty_);
    valuesLayout->addRow(tr("Reals and decimals equal within:"), txtTolerance_);
    valuesLayout->addRow(tr("Compare times to:"), cboTimePrecision_);

    auto* records = new QGroupBox(tr("Records"), this);
    txtKey_ = new QLineEdit(records);
    txtKey_->setObjectName("txtKey");
    txtKey_->setPlaceholderText(tr("each table's own key"));
    txtIgnoreColumns_ = new QLineEdit(records);
    txtIgnoreColumns_->setObjectName("txtIgnoreColumns");
    txtIgnoreColumns_->setPlaceholderText(tr("none; for example updated_at, created_by"));
    auto* recordsLayout = new QFormLayout(records);
    recordsLayout->addRow(tr("Pair records by the columns:"), txtKey_);
    recordsLayout->addRow(tr("Never compare the columns:"), txtIgnoreColumns_);

    grpFilters_ = new QGroupBox(this);
    txtOriginalFilter_ = new QLineEdit(grpFilters_);
    txtOriginalFilter_->setObjectName("txtOriginalFilter");
    txtModifiedFilter_ = new QLineEdit(grpFilters_);
    txtModifiedFilter_->setObjectName("txtModifiedFilter");
    auto* filtersLayout = new QFormLayout(grpFilters_);
    filtersLayout->addRow(tr("Original records where:"), txtOriginalFilter_);
    filtersLayout->addRow(tr("Modified records where:"), txtModifiedFilter_);

    auto* structure = new QGroupBox(tr("Structure"), this);
    chkTypesByFamily_ = new QCheckBox(tr("Field types of one family are the same"), structure);
    chkTypesByFamily_->setToolTip(
        tr("Integers of any width, texts of any kind and length, ...: SQLite INTEGER "
           "and PostgreSQL bigint, TEXT and varchar(40)"));
    chkTypesByFamily_->setObjectName("chkTypesByFamily");
    (new QVBoxLayout(structure))->addWidget(chkTypesByFamily_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &frmComparisonSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(values);
    layout->addWidget(records);
    layout->addWidget(grpFilters_);
    layout->addWidget(structure);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

void frmComparisonSettings::load(const cli::SavedComparison& comparison, const QString& table) {
    settings_ = comparison;
    table_ = table;
    const sifkit::ValueOptions& options = comparison.data.options;
    chkIgnoreCase_->setChecked(options.ignoreCase);
    chkIgnoreBlanks_->setChecked(options.ignoreBlanks);
    chkNullIsEmpty_->setChecked(options.nullIsEmpty);
    txtTolerance_->setText(options.tolerance > 0
                               ? QString::number(options.tolerance, 'g', QLocale::FloatingPointShortest)
                               : QString());
    for (int i = 0; i < static_cast<int>(std::size(kPrecisions)); ++i)
        if (kPrecisions[i] == options.timePrecision)
            cboTimePrecision_->setCurrentIndex(i);
    chkTypesByFamily_->setChecked(comparison.typesByFamily);
    txtKey_->setText(joined(comparison.data.key));
    txtIgnoreColumns_->setText(joined(comparison.data.ignoreColumns));
    const bool filtersOfTable =
        comparison.kind == cli::ComparisonKind::Table && QString::fromStdString(comparison.table) == table;
    txtOriginalFilter_->setText(filtersOfTable ? QString::fromStdString(comparison.data.originalFilter) : "");
    txtModifiedFilter_->setText(filtersOfTable ? QString::fromStdString(comparison.data.modifiedFilter) : "");
    grpFilters_->setTitle(table.isEmpty() ? tr("Row filters (show a table's records first)")
                                          : tr("Row filters of table %1").arg(table));
    grpFilters_->setEnabled(!table.isEmpty());
}

bool frmComparisonSettings::readSettings(cli::SavedComparison& comparison, QString& why) const {
    comparison = settings_;
    sifkit::ValueOptions& options = comparison.data.options;
    comparison.typesByFamily = chkTypesByFamily_->isChecked();
    options.ignoreCase = chkIgnoreCase_->isChecked();
    options.ignoreBlanks = chkIgnoreBlanks_->isChecked();
    options.nullIsEmpty = chkNullIsEmpty_->isChecked();
    options.timePrecision = kPrecisions[std::max(0, cboTimePrecision_->currentIndex())];
    const QString tolerance = txtTolerance_->text().trimmed();
    bool isNumber = tolerance.isEmpty();
    options.tolerance = isNumber ? 0 : tolerance.toDouble(&isNumber);
    if (!isNumber)
        options.tolerance = locale().toDouble(tolerance, &isNumber);
    if (!isNumber || !(options.tolerance >= 0) || !std::isfinite(options.tolerance)) {
        why = tr("The tolerance must be a number of 0 or more, such as 0.005.");
        return false;
    }
    if (!columnNames(txtKey_->text(), comparison.data.key) ||
        !columnNames(txtIgnoreColumns_->text(), comparison.data.ignoreColumns)) {
        why = tr("Write the columns' names separated by commas, each once.");
        return false;
    }
    if (table_.isEmpty())
        return true;
    const std::string filters[2] = {txtOriginalFilter_->text().trimmed().toStdString(),
                                    txtModifiedFilter_->text().trimmed().toStdString()};
    for (int side = 0; side < 2; ++side)
        if (const std::string refused = sifkit::whyNotARowFilter(filters[side]);
            !filters[side].empty() && !refused.empty()) {
            why = (side == 0 ? tr("The Original's row filter cannot be used: %1")
                             : tr("The Modified's row filter cannot be used: %1"))
                      .arg(QString::fromStdString(refused));
            return false;
        }
    const bool filtersOfTable =
        comparison.kind == cli::ComparisonKind::Table && QString::fromStdString(comparison.table) == table_;
    if (filtersOfTable || !filters[0].empty() || !filters[1].empty()) {
        // Filters belong to one table: the comparison becomes that table's.
        if (!filtersOfTable)
            comparison.data.columns.clear();
        comparison.kind = cli::ComparisonKind::Table;
        comparison.table = table_.toStdString();
        comparison.views = comparison.fields = comparison.differencesOnly = false;
        comparison.data.originalFilter = filters[0];
        comparison.data.modifiedFilter = filters[1];
    }
    return true;
}

void frmComparisonSettings::accept() {
    cli::SavedComparison comparison;
    QString why;
    if (!readSettings(comparison, why)) {
        form_.showMessage(why);
        return;
    }
    settings_ = comparison;
    QDialog::accept();
}

} // namespace dbsift
