// SPDX-License-Identifier: MIT
#pragma once

#include "Prompter.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace dbsift::test {

/// A prompter for tests: records every message box, answers pickers and questions from queues
/// the test fills before the action, and counts any prompt it was not prepared for.
class ScriptedPrompter final : public Prompter {
public:
    void message(QWidget*, const QString& title, const QString& text) override;
    bool confirm(QWidget*, const QString& title, const QString& text) override;
    QString openFile(QWidget*, const FilePickRequest& request) override;
    QString saveFile(QWidget*, const FilePickRequest& request) override;
    std::optional<uint32_t> pickColour(QWidget*, uint32_t initial) override;
    std::optional<QString> askPassword(QWidget*, const QString& title, const QString& text) override;
    bool openWithDefaultHandler(const QUrl& url) override;

    void queueFile(const QString& path) { files_.push_back(path); }
    void queueColour(std::optional<uint32_t> colour) { colours_.push_back(colour); }
    void queueConfirm(bool answer) { confirms_.push_back(answer); }
    /// A null QString stands for Cancel.
    void queuePassword(const QString& password) { passwords_.push_back(password); }

    /// Every message text shown so far, oldest first.
    const QStringList& messages() const { return messages_; }
    /// The texts shown since the last call, and forgets them.
    QStringList takeMessages();
    const std::optional<FilePickRequest>& lastFileRequest() const { return lastFileRequest_; }
    const QList<QUrl>& openedUrls() const { return openedUrls_; }
    /// Prompts that came with nothing queued for them.
    int unexpectedPrompts() const { return unexpected_; }
    /// True when every queued answer was used.
    bool allAnswersUsed() const {
        return files_.empty() && colours_.empty() && confirms_.empty() && passwords_.empty();
    }
    void reset();

private:
    QStringList messages_;
    std::deque<QString> files_;
    std::deque<std::optional<uint32_t>> colours_;
    std::deque<bool> confirms_;
    std::deque<QString> passwords_;
    std::optional<FilePickRequest> lastFileRequest_;
    QList<QUrl> openedUrls_;
    int unexpected_ = 0;
};

} // namespace dbsift::test
