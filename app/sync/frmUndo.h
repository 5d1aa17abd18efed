// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace dbsift {

class frmMain;

/// The undo list: one line per update the application recorded in the settings file, and a
/// "Roll Back" button that restores the chosen line's record.
class frmUndo final : public QDialog {
    Q_OBJECT
public:
    explicit frmUndo(frmMain& form);

    /// Fills the list from the settings file's rollback slots, in slot order.
    void ReadRollBackIniFile();
    /// Rolls back the chosen line after asking; reports the outcome.
    void cmdRollBack_Click();
    /// The slot number of a line ("ROLLBACK_NUMBER_n ..."); 0 for anything else.
    static int slotOfLine(const QString& line);

private:
    void updateButton();

    frmMain& form_;
    QComboBox* cboRollBackNumber_;
    QPushButton* cmdRollBack_;
};

} // namespace dbsift
