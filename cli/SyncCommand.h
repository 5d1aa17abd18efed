// SPDX-License-Identifier: MIT
#pragma once

#include "DatabaseTarget.h"
#include "Options.h"

#include <sifkit/DataResult.h>

#include <vector>

namespace dbsift::cli {

/// Brings the target of the options' direction into line with the other database after the
/// data comparisons found what differs: writes the script --sql-script names, and with --apply
/// makes the changes once the user agreed (or --yes), naming the undo file on standard error.
/// Returns the exit status: 0 once the changes are applied, else the comparison's. Throws
/// CliError when a script cannot be written or the apply fails (then nothing was written).
int bringIntoLine(const Options& options, const DatabaseTarget& original, const DatabaseTarget& modified,
                  const std::vector<sifkit::DataResult>& comparisons, int comparisonStatus);

/// Takes back the sync the undo file (--undo) records, in the database it names (as the user
/// it names), with the password of the credentials. Returns 0; throws CliError when the undo
/// fails (then nothing was restored).
int undoSync(sifkit::Sifcore& core, const Options& options, const Credentials& credentials);

/// Where --apply keeps undo files: $XDG_STATE_HOME/dbsift/undo, else ~/.local/state/dbsift/undo.
std::string undoFolder();

} // namespace dbsift::cli
