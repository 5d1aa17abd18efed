// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/clsDBManager.h>

namespace sifkit::detail {

/// Writes the rows of the side's current statement (its compared fields) to the side's XML
/// file, replacing an older file of that name. With no current table only the old file is
/// removed. Failures are ignored: the file is then missing.
void exportSideToXml(clsDBManager& side);

} // namespace sifkit::detail
