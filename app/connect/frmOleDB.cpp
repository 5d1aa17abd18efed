#include "connect/frmOleDB.h"

#include "Prompter.h"
#include "shell/frmMain.h"

namespace dbsift {

std::string frmOleDB::getAccessPath(frmMain& form) {
    FilePickRequest request;
    request.title = "Select Database";
    request.filter = kFilter;
    request.filterIndex = 1;
    request.defaultExtension = "MDB";
    request.initialFile = QString::fromStdString(form.getLastFileUsed());
    const std::string path = form.prompter().openFile(&form, request).toStdString();
    if (!path.empty())
        form.setLastFileUsed(path);
    return path;
}

} // namespace dbsift
