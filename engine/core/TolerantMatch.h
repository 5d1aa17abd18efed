// SPDX-License-Identifier: MIT
#pragma once

#include "DataMatch.h"

#include <sifkit/CompareOptions.h>

namespace sifkit::detail {

/// Pairs, among the records each side's answer reports (no exact equal on the other side), those
/// whose numbers are within the options' tolerance and whose other values are equal as the
/// options compare them, one to one, and takes each pair out of both answers. Every field of
/// the rows is compared, column i of one side with column i of the other. Returns how many
/// pairs were taken out. Records of a key are unique, so a record is then reported exactly when
/// no record of the other side is equal to it within the tolerance; records without a key
/// pair as copies do.
int64_t pairWithinTolerance(PassAnswer& original, PassAnswer& modified,
                            const std::vector<platform::ColumnInfo>& originalColumns,
                            const std::vector<platform::ColumnInfo>& modifiedColumns,
                            const ValueOptions& options, Heartbeat* heartbeat);

} // namespace sifkit::detail
