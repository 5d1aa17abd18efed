// SPDX-License-Identifier: MIT
#include "screenshots/OffscreenSession.h"

#include "shell/ProfileFile.h"
#include "shell/frmMainMDI.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTest>

namespace dbsift {

OffscreenHome::OffscreenHome() {
    const QString config = QDir(dir_.path()).filePath("config");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_DATA_HOME", QDir(dir_.path()).filePath("data").toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    paths_ = AppPaths::forUser(DBSIFT_RESOURCE_FOLDER);
}

void turnOffDataCompareHint(const AppPaths& paths) {
    ProfileFile(paths.iniFilePath).writeString("frmMain", "DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", "False");
}

bool loadOffscreen(frmMainMDI& frame) {
    frame.setWindowState(Qt::WindowNoState);
    frame.resize(1280, 800);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return false;
    frame.MDIForm_Load();
    // The stored frame state (maximised by default) must not change the pictures' size.
    frame.setWindowState(Qt::WindowNoState);
    frame.resize(1280, 800);
    QCoreApplication::processEvents();
    return true;
}

} // namespace dbsift
