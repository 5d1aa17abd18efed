// SPDX-License-Identifier: MIT
// The databases named on the program's command line: chosen for their sides when the window
// loads, as the connection dialog would choose them.
#include "shell/frmMain.h"

#include "DatabaseTarget.h"

#include <sifkit/Sifcore.h>

#include <QFileInfo>

namespace dbsift {

bool frmMain::chooseCommandLineDatabases() {
    bool chosen = false;
    for (const bool isMaster : {true, false}) {
        const QString named = isMaster ? startingDatabases_.original : startingDatabases_.modified;
        if (named.isEmpty())
            continue;
        // A file that is not there would only be reported by the comparison, after it had joined
        // the recent list.
        if (!named.startsWith(QLatin1String(cli::dataSourcePrefix)) && !QFileInfo(named).isFile()) {
            showMessage((isMaster ? tr("The Original database %1 does not exist.")
                                  : tr("The Modified database %1 does not exist."))
                            .arg(named));
            continue;
        }
        try {
            const cli::DatabaseTarget target = cli::resolveTarget(Sifcore1(), named.toStdString(), {});
            setSideConnectionString(isMaster, target.connectionString, true, false);
            chosen = true;
        } catch (const std::exception& failure) {
            showMessage((isMaster ? tr("The Original database %1 cannot be chosen: %2")
                                  : tr("The Modified database %1 cannot be chosen: %2"))
                            .arg(named, QString::fromStdString(failure.what())));
        }
    }
    startingDatabases_ = {};
    return chosen;
}

} // namespace dbsift
