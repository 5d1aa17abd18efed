// SPDX-License-Identifier: MIT
#include "shell/frmMainMDI.h"

#include "shell/AppPaths.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>

namespace dbsift {

namespace {

constexpr const char* kSettingsGroup = "frmMainMDISettings";

} // namespace

frmMainMDI::frmMainMDI(const AppPaths& paths, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), paths_(paths) {
    setObjectName("frmMainMDI");
    setWindowTitle(QApplication::applicationDisplayName());

    sbMain_ = new QStatusBar(this);
    sbMain_->setObjectName("sbMain");
    sbMain_->setSizeGripEnabled(true);
    const int stretch[4] = {0, 3, 0, 2};
    const int minimumWidth[4] = {70, 200, 120, 220};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(sbMain_);
        panels_[i]->setObjectName(QStringLiteral("sbMainPanel%1").arg(i + 1));
        panels_[i]->setMinimumWidth(minimumWidth[i]);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        sbMain_->addPermanentWidget(panels_[i], stretch[i]);
    }
    panels_[0]->setText(tr("Status"));
    panels_[2]->setText(tr("Percent Complete"));
    setStatusBar(sbMain_);

    progressBar_ = new QProgressBar(sbMain_);
    progressBar_->setObjectName("ProgressBar1");
    progressBar_->setTextVisible(true);
    progressBar_->hide();
    // Shown while a comparison runs; Esc presses it.
    cancelRun_ = new QPushButton(tr("Cancel"), sbMain_);
    cancelRun_->setObjectName("cmdCancelRun");
    cancelRun_->setToolTip(tr("Stop the running comparison (Esc)"));
    cancelRun_->setShortcut(QKeySequence::Cancel);
    cancelRun_->hide();
    sbMain_->addPermanentWidget(cancelRun_);

    frmMain_ = new frmMain(*this, paths, prompter);
    setCentralWidget(frmMain_);
    // The comparison window's menus are the frame's while it is loaded.
    setMenuBar(frmMain_->menuBar());
    panels_[3]->installEventFilter(this);
}

frmMainMDI::~frmMainMDI() = default;

void frmMainMDI::MDIForm_Load() {
    ReadIniFile();
    frmMain_->Form_Load();
}

QString frmMainMDI::panelText(int n) const {
    return n >= 1 && n <= 4 ? panels_[n - 1]->text() : QString();
}

void frmMainMDI::setPanelText(int n, const QString& text) {
    if (n < 1 || n > 4)
        return;
    panels_[n - 1]->setText(text);
    // A long message is cut at the panel's end; the tooltip keeps it whole.
    panels_[n - 1]->setToolTip(text);
}

QWidget* frmMainMDI::panel(int n) const {
    return n >= 1 && n <= 4 ? panels_[n - 1] : nullptr;
}

void frmMainMDI::SetProgressBarToStatusBar(QProgressBar& progress, QStatusBar& status, int panelNumber) {
    QWidget* target = &status == sbMain_ ? panel(panelNumber) : nullptr;
    if (!target)
        return;
    progress.setParent(target);
    progress.setGeometry(target->rect());
    progress.raise();
    progress.repaint();
}

bool frmMainMDI::eventFilter(QObject* watched, QEvent* event) {
    // The progress bar keeps covering its panel when the status bar is resized.
    if (watched == panels_[3] && event->type() == QEvent::Resize &&
        progressBar_->parentWidget() == panels_[3])
        progressBar_->setGeometry(panels_[3]->rect());
    return QMainWindow::eventFilter(watched, event);
}

int frmMainMDI::windowStateCode() const {
    if (windowState() & Qt::WindowMinimized)
        return 1;
    if (windowState() & Qt::WindowMaximized)
        return 2;
    return 0;
}

void frmMainMDI::setWindowStateCode(int code) {
    switch (code) {
    case 1:
        setWindowState(Qt::WindowMinimized);
        break;
    case 2:
        setWindowState(Qt::WindowMaximized);
        break;
    default:
        setWindowState(Qt::WindowNoState);
        break;
    }
}

void frmMainMDI::ReadIniFile() {
    restoreFormPosition();
}

void frmMainMDI::SaveIniFile() {
    saveFormPosition();
}

void frmMainMDI::restoreFormPosition() {
    QSettings store;
    store.beginGroup(kSettingsGroup);
    const auto number = [&store](const char* key, double fallback) {
        bool ok = false;
        const double value = store.value(key, fallback).toDouble(&ok);
        return ok ? value : fallback;
    };
    const double left = number("Left", 1000), top = number("Top", 1000);
    const double width = number("Width", 6500), height = number("Height", 6500);
    setGeometry(static_cast<int>(left / kTwipsPerPixel), static_cast<int>(top / kTwipsPerPixel),
                std::max(static_cast<int>(width / kTwipsPerPixel), 200),
                std::max(static_cast<int>(height / kTwipsPerPixel), 150));
    setWindowStateCode(static_cast<int>(number("WindowState", 2)));
}

void frmMainMDI::saveFormPosition() {
    QSettings store;
    store.beginGroup(kSettingsGroup);
    const int state = windowStateCode();
    store.setValue("WindowState", state);
    if (state == 0) {
        const QRect geometry = this->geometry();
        store.setValue("Left", geometry.x() * kTwipsPerPixel);
        store.setValue("Top", geometry.y() * kTwipsPerPixel);
        store.setValue("Width", geometry.width() * kTwipsPerPixel);
        store.setValue("Height", geometry.height() * kTwipsPerPixel);
    }
}

void frmMainMDI::closeEvent(QCloseEvent* event) {
    // A run in progress finishes first: closing now would pull the window from under it.
    if (frmMain_->isBusy()) {
        event->ignore();
        return;
    }
    if (!saved_) {
        frmMain_->SaveIniFile();
        SaveIniFile();
        saved_ = true;
    }
    event->accept();
}

} // namespace dbsift
