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

QPalette darkDesktopPalette() {
    QPalette palette;
    const QColor window(0x35, 0x35, 0x35), base(0x2A, 0x2A, 0x2A), text(0xF0, 0xF0, 0xF0);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::red);
    palette.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0xA0, 0xA0, 0xA0));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return palette;
}

} // namespace dbsift
