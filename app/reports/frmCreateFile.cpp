// SPDX-License-Identifier: MIT
#include "reports/frmCreateFile.h"

#include "Prompter.h"
#include "shell/frmMain.h"

#include <QCoreApplication>
#include <QDir>

namespace dbsift {

namespace {

// The program's own folder is not writable for its users here; the home folder is where a
// person looks for what they saved.
std::string askForFile(frmMain& form, const char* extension, const char* filter, int filterIndex,
                       const QString& initialName) {
    FilePickRequest request;
    request.title = QCoreApplication::translate("dbsift::frmCreateFile", "Save Report");
    request.filter = QCoreApplication::translate("dbsift::frmCreateFile", filter);
    request.filterIndex = filterIndex;
    request.defaultExtension = extension;
    request.initialFile = initialName.isEmpty() ? QDir::homePath() : QDir::home().filePath(initialName);
    return form.prompter().saveFile(&form, request).toStdString();
}

} // namespace

std::string frmCreateFile::createHTML(frmMain& form) {
    return askForFile(
        form, "html",
        QT_TRANSLATE_NOOP("dbsift::frmCreateFile", "htm (*.htm)|*.htm|All (*.*)|*.*|html (*.html)|*.html"), 3,
        "QX_Default.htm");
}

std::string frmCreateFile::createXML(frmMain& form) {
    return askForFile(form, "xml",
                      QT_TRANSLATE_NOOP("dbsift::frmCreateFile", "XML(*.xml)|*.xml|All (*.*)|*.*"), 3,
                      QString());
}

} // namespace dbsift
