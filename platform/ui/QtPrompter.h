// SPDX-License-Identifier: MIT
#pragma once

#include "Prompter.h"

namespace dbsift {

/// The real prompter: QMessageBox, QFileDialog, QColorDialog and QDesktopServices.
class QtPrompter final : public Prompter {
public:
    void message(QWidget* parent, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    QString openFile(QWidget* parent, const FilePickRequest& request) override;
    QString saveFile(QWidget* parent, const FilePickRequest& request) override;
    std::optional<uint32_t> pickColour(QWidget* parent, uint32_t initial) override;
    std::optional<QString> askPassword(QWidget* parent, const QString& title, const QString& text) override;
    bool openWithDefaultHandler(const QUrl& url) override;
};

} // namespace dbsift
