// SPDX-License-Identifier: MIT
#pragma once

#include "shell/AppPaths.h"

#include <QPalette>
#include <QTemporaryDir>

#include <string>

namespace dbsift {

class frmMainMDI;

/// What the programs that drive the window without a person share (the screenshot writer and
/// the window benchmarks): a user of their own, with fresh configuration and data folders
/// (XDG_CONFIG_HOME, XDG_DATA_HOME, QSettings) removed with the object.
class OffscreenHome {
public:
    OffscreenHome();
    const AppPaths& paths() const { return paths_; }
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    AppPaths paths_;
};

/// Turns off the data-compare hint, a modal dialog no one would answer.
void turnOffDataCompareHint(const AppPaths& paths);

/// A dark desktop palette, as dark themes set it: light text on dark grey.
QPalette darkDesktopPalette();

/// Shows the frame at 1280x800 and loads it as at start-up. False when it is never exposed.
bool loadOffscreen(frmMainMDI& frame);

} // namespace dbsift
