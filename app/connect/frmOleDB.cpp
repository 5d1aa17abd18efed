// SPDX-License-Identifier: MIT
#include "connect/frmOleDB.h"

#include "Prompter.h"
#include "shell/frmMain.h"

#include <QCoreApplication>

namespace dbsift {

std::string frmOleDB::getAccessPath(frmMain& form) {
    FilePickRequest request;
    request.title = QCoreApplication::translate("dbsift::frmOleDB", "Select Database");
    request.filter = QCoreApplication::translate("dbsift::frmOleDB", kFilter);
    request.filterIndex = 1;
    request.defaultExtension = "MDB";
    request.initialFile = QString::fromStdString(form.getLastFileUsed());
    const std::string path = form.prompter().openFile(&form, request).toStdString();
    if (!path.empty())
        form.setLastFileUsed(path);
    return path;
}

} // namespace dbsift
