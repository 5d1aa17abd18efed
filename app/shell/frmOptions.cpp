// SPDX-License-Identifier: MIT
#include "shell/frmOptions.h"

#include "Prompter.h"
#include "shell/Colours.h"
#include "shell/FlexGrid.h"
#include "shell/SettingsText.h"
#include "shell/frmMain.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dbsift {

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace

frmOptions::frmOptions(frmMain& form) : QDialog(&form), form_(&form) {
    setObjectName("frmOptions");
    setWindowTitle(tr("Options"));
    setModal(true);

    auto* view = new QGroupBox(tr("View Options"), this);
    chkShowViews_ = named(new QCheckBox(tr("Show Views/Queries"), view), "chkShowViews");
    chkshowStructure_ = named(new QCheckBox(tr("Show Structure"), view), "chkshowStructure");
    chkShowDifferencesOnly_ =
        named(new QCheckBox(tr("Show Differences Only"), view), "chkShowDifferencesOnly");
    optDonotShowRecordStructure_ =
        named(new QRadioButton(tr("Do not show record structure when doing a data compare"), view),
              "optDonotShowRecordStructure");
    optShowRecordStructureOnlyifDifferent_ =
        named(new QRadioButton(tr("Show Record Structure Only if Different"), view),
              "optShowRecordStructureOnlyifDifferent");
    optShowRecordStructure_ =
        named(new QRadioButton(tr("Always Show Record Structure"), view), "optShowRecordStructure");
    txtDspLimit_ = named(new QLineEdit(view), "txtDspLimit");
    txtDspLimit_->setValidator(new QIntValidator(1, 1000000, txtDspLimit_));
    txtDspLimit_->setMaximumWidth(100);
    txtOriginalColor_ = named(new QPushButton(tr("Select Original Color"), view), "txtOriginalColor");
    txtModifiedColor_ = named(new QPushButton(tr("Select Modified Color"), view), "txtModifiedColor");
    auto* viewLayout = new QVBoxLayout(view);
    for (QWidget* widget : std::initializer_list<QWidget*>{
             chkShowViews_, chkshowStructure_, chkShowDifferencesOnly_, optDonotShowRecordStructure_,
             optShowRecordStructureOnlyifDifferent_, optShowRecordStructure_})
        viewLayout->addWidget(widget);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(new QLabel(tr("Number of Records to display"), view));
    limitRow->addWidget(txtDspLimit_);
    limitRow->addStretch(1);
    viewLayout->addLayout(limitRow);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(txtOriginalColor_);
    colourRow->addWidget(txtModifiedColor_);
    viewLayout->addLayout(colourRow);

    auto* report = new QGroupBox(tr("Report Options"), this);
    txtDefaultReportPathHTML_ = named(new QLineEdit(report), "txtDefaultReportPathHTML");
    txtDefaultReportPathHTML_->setToolTip(
        tr("Type the name of the file or click the \"...\" button to choose an existing one."));
    cmdSelectReportFolderDefaultDOC_ =
        named(new QPushButton("...", report), "cmdSelectReportFolderDefaultDOC");
    cmdSelectReportFolderDefaultDOC_->setToolTip(tr("Click On Me to browse for a file."));
    cmdSelectReportFolderDefaultDOC_->setMaximumWidth(40);
    auto* reportLayout = new QVBoxLayout(report);
    reportLayout->addWidget(new QLabel(tr("Default Report Path and Name"), report));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(txtDefaultReportPathHTML_, 1);
    pathRow->addWidget(cmdSelectReportFolderDefaultDOC_);
    reportLayout->addLayout(pathRow);

    auto* cmdDone = named(new QPushButton(tr("Done"), this), "cmdDone");
    cmdDone->setDefault(true);
    auto* cmdCancel = named(new QPushButton(tr("Cancel"), this), "cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDone);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view);
    layout->addWidget(report);
    layout->addLayout(buttons);

    // Immediate effects: each click changes the live setting before Done.
    connect(chkShowDifferencesOnly_, &QCheckBox::clicked, this,
            [this](bool on) { form_->getApplicationVariables().setShowDifferencesOnly(on); });
    connect(chkshowStructure_, &QCheckBox::clicked, this,
            [this](bool on) { form_->getApplicationVariables().setShowStructure(on); });
    connect(chkShowViews_, &QCheckBox::clicked, this,
            [this](bool on) { form_->getApplicationVariables().setShowViews(on, *form_); });
    auto setRecordFlags = [this](bool never, bool ifDifferent, bool always) {
        clsAppVar& vars = form_->getApplicationVariables();
        vars.setNoShowRecordMetadata(never);
        vars.setShowRecordMetadataIfDifferent(ifDifferent);
        vars.setShowRecordMetadata(always);
    };
    connect(optDonotShowRecordStructure_, &QRadioButton::clicked, this,
            [setRecordFlags] { setRecordFlags(true, false, false); });
    connect(optShowRecordStructureOnlyifDifferent_, &QRadioButton::clicked, this,
            [setRecordFlags] { setRecordFlags(false, true, false); });
    connect(optShowRecordStructure_, &QRadioButton::clicked, this,
            [setRecordFlags] { setRecordFlags(false, false, true); });
    connect(txtOriginalColor_, &QPushButton::clicked, this, &frmOptions::txtOriginalColor_Click);
    connect(txtModifiedColor_, &QPushButton::clicked, this, &frmOptions::txtModifiedColor_Click);
    connect(cmdSelectReportFolderDefaultDOC_, &QPushButton::clicked, this,
            &frmOptions::cmdSelectReportFolderDefaultDOC_Click);
    connect(cmdDone, &QPushButton::clicked, this, &frmOptions::cmdDone_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);

    setCheckBoxes();
}

void frmOptions::setFormToUse(frmMain& form) {
    form_ = &form;
    showDisplayLimit();
    paintColourBoxes();
}

// Runs once, when the dialog is created: later openings show the controls as they were left.
void frmOptions::setCheckBoxes() {
    const clsAppVar& vars = form_->getApplicationVariables();
    if (vars.getShowViews())
        chkShowViews_->setChecked(true);
    if (vars.getShowStructure())
        chkshowStructure_->setChecked(true);
    if (vars.getShowDifferencesOnly())
        chkShowDifferencesOnly_->setChecked(true);
    if (vars.getShowRecordMetadataIfDifferent())
        optShowRecordStructureOnlyifDifferent_->setChecked(true);
    if (vars.getShowRecordMetadata())
        optShowRecordStructure_->setChecked(true);
    if (vars.getNoShowRecordMetadata())
        optDonotShowRecordStructure_->setChecked(true);
    showDisplayLimit();
    txtDefaultReportPathHTML_->setText(QString::fromStdString(form_->getReportPath()));
}

void frmOptions::showDisplayLimit() {
    const int32_t records = form_->getApplicationVariables().getNumberofRecords();
    txtDspLimit_->setText(records > 0 ? QString::number(records) : QStringLiteral("50"));
}

void frmOptions::paintColourBoxes() {
    const clsAppVar& vars = form_->getApplicationVariables();
    const auto style = [this](uint32_t colour) {
        // The caption reads on the colour whatever the desktop's text colour is.
        return QStringLiteral("background-color: %1; color: %2;")
            .arg(QString::fromStdString(frmMain::ColorToHTML(colour)),
                 readableTextOn(toQColor(colour), palette()).name());
    };
    txtOriginalColor_->setStyleSheet(style(vars.getOriginalColor()));
    txtModifiedColor_->setStyleSheet(style(vars.getModifiedColor()));
}

void frmOptions::txtOriginalColor_Click() {
    if (auto colour = form_->prompter().pickColour(this, lastPickedColour_)) {
        lastPickedColour_ = *colour;
        form_->getApplicationVariables().setOriginalColor(*colour);
        paintColourBoxes();
        form_->setDropDownBoxColors();
    }
}

void frmOptions::txtModifiedColor_Click() {
    if (auto colour = form_->prompter().pickColour(this, lastPickedColour_)) {
        lastPickedColour_ = *colour;
        form_->getApplicationVariables().setModifiedColor(*colour);
        paintColourBoxes();
        form_->setDropDownBoxColors();
    }
}

void frmOptions::cmdSelectReportFolderDefaultDOC_Click() {
    FilePickRequest request;
    request.title = tr("Report File HTM");
    request.filter = tr("All files|*.*");
    request.filterIndex = 1;
    const QString file = form_->prompter().openFile(this, request);
    if (!file.isEmpty())
        txtDefaultReportPathHTML_->setText(file);
}

void frmOptions::saveOptions() {
    clsAppVar& vars = form_->getApplicationVariables();
    ProfileFile& settings = form_->settingsFile();
    auto write = [&settings](const char* key, const std::string& value) {
        settings.writeString("frmMain", key, value);
    };
    vars.setShowDifferencesOnly(chkShowDifferencesOnly_->isChecked());
    write("SHOW_META_DATA_DIFFERNECEES_ONLY", boolText(vars.getShowDifferencesOnly()));
    vars.setShowViews(chkShowViews_->isChecked(), *form_);
    write("SHOW_QUERIES_ONLY", boolText(vars.getShowViews()));
    vars.setShowStructure(chkshowStructure_->isChecked());
    write("SHOW_METADATA", boolText(vars.getShowStructure()));
    vars.setNoShowRecordMetadata(optDonotShowRecordStructure_->isChecked());
    write("SHOW_METADATA_WITH_RECORD_NEVER", boolText(vars.getNoShowRecordMetadata()));
    vars.setShowRecordMetadataIfDifferent(optShowRecordStructureOnlyifDifferent_->isChecked());
    write("SHOW_METADATA_WITH_RECORD_IF_DIFFERENT", boolText(vars.getShowRecordMetadataIfDifferent()));
    vars.setShowRecordMetadata(optShowRecordStructure_->isChecked());
    write("SHOW_METADATA_WITH_RECORD_ALWAYS", boolText(vars.getShowRecordMetadata()));
    // A page size that is empty or not a number keeps the current one.
    vars.setNumberofRecords(static_cast<int32_t>(
        textToWhole(txtDspLimit_->text().toStdString(), vars.getNumberofRecords(), 1, 1000000)));
    write("NUMBER_OF_RECORDS_TO_DISPLAY", std::to_string(vars.getNumberofRecords()));
    const std::string reportPath = txtDefaultReportPathHTML_->text().toStdString();
    if (!reportPath.empty()) {
        form_->setReportPath(reportPath);
        write("REPORT_PATH", reportPath);
    }
}

void frmOptions::cmdDone_Click() {
    saveOptions();
    accept();
}

void frmOptions::cmdCancel_Click() {
    reject();
}

void frmOptions::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace dbsift
