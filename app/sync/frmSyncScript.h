// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace dbsift {

class frmMain;

/// The script that brings the chosen rows into line, before anything is written: Save... keeps
/// it as a file, Copy puts it on the clipboard, Apply... makes the changes in the database.
class frmSyncScript final : public QDialog {
    Q_OBJECT
public:
    explicit frmSyncScript(frmMain& form);

    /// Shows a script, with a line saying what it changes, and what Apply does.
    void showScript(const QString& summary, const QString& script, std::function<bool()> apply);
    QString script() const;

private:
    void save();

    frmMain& form_;
    std::function<bool()> applyScript_;
    QLabel* summary_;
    QPlainTextEdit* text_;
    QPushButton* apply_;
};

} // namespace dbsift
