// SPDX-License-Identifier: MIT
#pragma once

#include "Prompter.h"

#include <cstdio>

namespace dbsift {

/// A prompter for programs that run without a person, such as the screenshot writer and the
/// benchmarks: messages go to standard error, questions are declined and pickers cancelled.
class SilentPrompter final : public Prompter {
public:
    void message(QWidget*, const QString& title, const QString& text) override {
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    bool confirm(QWidget*, const QString&, const QString&) override { return false; }
    QString openFile(QWidget*, const FilePickRequest&) override { return {}; }
    QString saveFile(QWidget*, const FilePickRequest&) override { return {}; }
    std::optional<uint32_t> pickColour(QWidget*, uint32_t) override { return std::nullopt; }
    std::optional<QString> askPassword(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool openWithDefaultHandler(const QUrl&) override { return true; }
};

} // namespace dbsift
