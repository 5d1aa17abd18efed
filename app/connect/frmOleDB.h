// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include <string>

namespace dbsift {

class frmMain;

/// The database file picker of the connection dialog.
class frmOleDB {
public:
    /// The file filter: SQLite files first (the usual database files here), then the classic
    /// entries.
    static constexpr const char* kFilter =
        QT_TRANSLATE_NOOP("dbsift::frmOleDB", "SQLite (*.db *.sqlite *.sqlite3)|*.db;*.sqlite;*.sqlite3|"
                                              "MDB(*.MDB)|*.MDB|DBC (*.dbc)|*.dbc|All (*.*)|*.*");

    /// Shows the picker starting at the last file used; a chosen file becomes the last file used.
    /// Returns the path, or "" when the user cancels.
    static std::string getAccessPath(frmMain& form);
};

} // namespace dbsift
