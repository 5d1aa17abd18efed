// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>

#include <cstdint>
#include <optional>

class QWidget;

namespace dbsift {

/// What the open and save dialogs are asked: a title, a filter list of "name|pattern" pairs
/// separated by "|", the 1-based index of the filter to start with, a default extension and the
/// initial file name.
struct FilePickRequest {
    QString title;
    QString filter;
    int filterIndex = 1;
    QString defaultExtension;
    QString initialFile;
};

/// The one seam between the windows and whatever asks the user something or hands a document to
/// the desktop: message boxes, file and colour pickers, opening a file or address with its
/// default handler. The application uses QtPrompter; tests install a scripted one that records
/// every message and answers the pickers.
class Prompter {
public:
    virtual ~Prompter() = default;

    /// A message box with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;
    /// A yes/no question; true for yes.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;
    /// An existing file to open; empty when the user cancels.
    virtual QString openFile(QWidget* parent, const FilePickRequest& request) = 0;
    /// A file name to save to; empty when the user cancels.
    virtual QString saveFile(QWidget* parent, const FilePickRequest& request) = 0;
    /// A colour (red in the low byte), starting from initial; nothing when the user cancels.
    virtual std::optional<uint32_t> pickColour(QWidget* parent, uint32_t initial) = 0;
    /// A password for what text names; nothing when the user cancels.
    virtual std::optional<QString> askPassword(QWidget* parent, const QString& title,
                                               const QString& text) = 0;
    /// Opens a file or web address with the desktop's default handler; false when nothing could.
    virtual bool openWithDefaultHandler(const QUrl& url) = 0;
};

/// Converts a "name|pattern|name|pattern" filter list into Qt's "name (pattern);;..." form.
QString qtFilterFromPairs(const QString& pairs);

} // namespace dbsift
