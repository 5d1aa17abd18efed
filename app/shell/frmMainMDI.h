// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

class QPushButton;

class QLabel;
class QProgressBar;
class QStatusBar;

namespace dbsift {

class Prompter;
struct AppPaths;
class frmMain;

/// The frame window: hosts the comparison window frmMain, the status bar sbMain with its four
/// panels and the progress bar ProgressBar1, and keeps its own position in the per-user settings
/// store (QSettings, group "frmMainMDISettings").
class frmMainMDI final : public QMainWindow {
    Q_OBJECT
public:
    frmMainMDI(const AppPaths& paths, Prompter& prompter, QWidget* parent = nullptr);
    ~frmMainMDI() override;

    /// Restores the frame's position, then loads the comparison window (the start-up order).
    void MDIForm_Load();

    frmMain& mainForm() { return *frmMain_; }
    QStatusBar& sbMain() { return *sbMain_; }
    QProgressBar& ProgressBar1() { return *progressBar_; }
    /// The status bar's Cancel button, shown while a comparison runs.
    QPushButton& cancelRunButton() { return *cancelRun_; }

    /// Text of status panel n (1-based, 1 to 4).
    QString panelText(int n) const;
    void setPanelText(int n, const QString& text);
    /// The panel widget n (1-based); the progress bar is laid over panel 4.
    QWidget* panel(int n) const;
    /// Makes the progress bar a child of the status bar's panel and fills that panel with it.
    void SetProgressBarToStatusBar(QProgressBar& progress, QStatusBar& status, int panelNumber);

    void ReadIniFile();
    void SaveIniFile();

    /// The frame's window state as the settings store it: 0 normal, 1 minimised, 2 maximised.
    int windowStateCode() const;
    void setWindowStateCode(int code);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restoreFormPosition();
    void saveFormPosition();

    const AppPaths& paths_;
    QStatusBar* sbMain_ = nullptr;
    QLabel* panels_[4] = {};
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelRun_ = nullptr;
    frmMain* frmMain_ = nullptr;
    bool saved_ = false;
};

} // namespace dbsift
