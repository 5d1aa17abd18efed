// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace dbsift {

/// The databases named on the program's command line, as dbsift-compare takes them: a database
/// file path (made absolute here, since the recent lists keep it) or dsn:NAME. Empty for a side
/// not named.
struct StartingDatabases {
    QString original;
    QString modified;

    bool empty() const { return original.isEmpty() && modified.isEmpty(); }
};

/// What the command line of Dbsift asks for: "Dbsift [ORIGINAL [MODIFIED]]", --help, --version.
struct CommandLineRequest {
    enum class Action { OpenWindow, ShowHelp, ShowVersion, UsageError };
    Action action = Action::OpenWindow;
    StartingDatabases databases;
    QString text; ///< the help, the version line or the usage error, as printed
};

/// Reads the arguments (the program's name first) once an application object exists. Qt's own
/// options (-platform, -style, ...) must have been taken out already, as QApplication does;
/// --help and --version are answered whatever else is there.
CommandLineRequest readCommandLine(const QStringList& arguments);

/// Answers --help and --version on standard output before any window, and so any display,
/// exists. Returns the exit status when the program ends here.
std::optional<int> answerWithoutWindow(int argc, char** argv);

} // namespace dbsift
