// SPDX-License-Identifier: MIT
#include "ScriptedPrompter.h"

namespace dbsift::test {

void ScriptedPrompter::message(QWidget*, const QString&, const QString& text) {
    messages_ << text;
}

bool ScriptedPrompter::confirm(QWidget*, const QString&, const QString& text) {
    messages_ << text;
    if (confirms_.empty()) {
        ++unexpected_;
        return false;
    }
    const bool answer = confirms_.front();
    confirms_.pop_front();
    return answer;
}

QString ScriptedPrompter::openFile(QWidget*, const FilePickRequest& request) {
    lastFileRequest_ = request;
    if (files_.empty()) {
        ++unexpected_;
        return {};
    }
    QString file = files_.front();
    files_.pop_front();
    return file;
}

QString ScriptedPrompter::saveFile(QWidget* parent, const FilePickRequest& request) {
    return openFile(parent, request);
}

std::optional<uint32_t> ScriptedPrompter::pickColour(QWidget*, uint32_t) {
    if (colours_.empty()) {
        ++unexpected_;
        return std::nullopt;
    }
    auto colour = colours_.front();
    colours_.pop_front();
    return colour;
}

std::optional<QString> ScriptedPrompter::askPassword(QWidget*, const QString&, const QString& text) {
    messages_ << text;
    if (passwords_.empty()) {
        ++unexpected_;
        return std::nullopt;
    }
    const QString password = passwords_.front();
    passwords_.pop_front();
    if (password.isNull())
        return std::nullopt;
    return std::optional<QString>(password);
}

bool ScriptedPrompter::openWithDefaultHandler(const QUrl& url) {
    openedUrls_ << url;
    return true;
}

QStringList ScriptedPrompter::takeMessages() {
    QStringList taken = messages_;
    messages_.clear();
    return taken;
}

void ScriptedPrompter::reset() {
    *this = ScriptedPrompter();
}

} // namespace dbsift::test
