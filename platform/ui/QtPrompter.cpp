// SPDX-License-Identifier: MIT
#include "QtPrompter.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

namespace dbsift {

QString qtFilterFromPairs(const QString& pairs) {
    const QStringList parts = pairs.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

QString selectedFilter(const FilePickRequest& request) {
    const QStringList filters = qtFilterFromPairs(request.filter).split(QStringLiteral(";;"));
    const int index = request.filterIndex - 1;
    return index >= 0 && index < filters.size() ? filters[index] : QString();
}

QString withDefaultExtension(QString file, const FilePickRequest& request) {
    if (!file.isEmpty() && !request.defaultExtension.isEmpty() && QFileInfo(file).suffix().isEmpty())
        file += '.' + request.defaultExtension.toLower();
    return file;
}

} // namespace

void QtPrompter::message(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

bool QtPrompter::confirm(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

QString QtPrompter::openFile(QWidget* parent, const FilePickRequest& request) {
    QString filter = selectedFilter(request);
    return QFileDialog::getOpenFileName(parent, request.title, request.initialFile,
                                        qtFilterFromPairs(request.filter), &filter);
}

QString QtPrompter::saveFile(QWidget* parent, const FilePickRequest& request) {
    QString filter = selectedFilter(request);
    return withDefaultExtension(QFileDialog::getSaveFileName(parent, request.title, request.initialFile,
                                                             qtFilterFromPairs(request.filter), &filter),
                                request);
}

std::optional<uint32_t> QtPrompter::pickColour(QWidget* parent, uint32_t initial) {
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<uint32_t>(chosen.red()) | static_cast<uint32_t>(chosen.green()) << 8 |
           static_cast<uint32_t>(chosen.blue()) << 16;
}

std::optional<QString> QtPrompter::askPassword(QWidget* parent, const QString& title, const QString& text) {
    bool ok = false;
    const QString password = QInputDialog::getText(parent, title, text, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return password;
}

bool QtPrompter::openWithDefaultHandler(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace dbsift
