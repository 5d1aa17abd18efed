// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dbsift {

class frmMain;

/// "Options": the view options, the page size of the data view, the two side colours and the
/// default report path. Check boxes and option buttons take effect at once; Done writes them to
/// the settings file; Cancel (or Esc) keeps the immediate effects in memory and writes nothing.
class frmOptions final : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(frmMain& form);

    /// Binds the dialog to a window's application variables and shows their current values.
    void setFormToUse(frmMain& form);
    void cmdDone_Click();
    void cmdCancel_Click();
    void txtOriginalColor_Click();
    void txtModifiedColor_Click();
    void cmdSelectReportFolderDefaultDOC_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setCheckBoxes();
    void showDisplayLimit();
    void paintColourBoxes();
    void saveOptions();

    frmMain* form_;
    QCheckBox* chkShowViews_;
    QCheckBox* chkshowStructure_;
    QCheckBox* chkShowDifferencesOnly_;
    QRadioButton* optDonotShowRecordStructure_;
    QRadioButton* optShowRecordStructureOnlyifDifferent_;
    QRadioButton* optShowRecordStructure_;
    QLineEdit* txtDspLimit_;
    QPushButton* txtOriginalColor_;
    QPushButton* txtModifiedColor_;
    QLineEdit* txtDefaultReportPathHTML_;
    QPushButton* cmdSelectReportFolderDefaultDOC_;
    uint32_t lastPickedColour_ = 0; ///< the colour picker starts where it was left
};

} // namespace dbsift
