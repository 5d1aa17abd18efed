// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;

namespace dbsift {

class frmMain;

/// The hint shown on entering data-compare mode, with "Never Show this Message Again".
class frmDispMessage final : public QDialog {
    Q_OBJECT
public:
    explicit frmDispMessage(QWidget* parent = nullptr);

    const std::string& getMessageToDisplay() const { return message_; }
    void setMessageToDisplay(const std::string& message) { message_ = message; }
    void setFormToUse(frmMain& form) { form_ = &form; }
    /// Copies the message into the label.
    void loadForm();

private:
    std::string message_;
    frmMain* form_ = nullptr;
    QLabel* lblDescWhatToDo_;
    QCheckBox* chkNeverShowAgain_;
};

/// The hint's text, exactly as shown.
extern const char* const kDataCompareHint;

} // namespace dbsift
