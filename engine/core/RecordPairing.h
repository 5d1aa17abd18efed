// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataResult.h>

#include <string>

namespace sifkit::detail {

/// A value in the form equal values of both products share: numbers by their value (an integer 7
/// and a decimal 7.00 of another product are one value), GUIDs in one spelling, every other value
/// by its kind and its exact text. Forms of several values can be joined: each is prefixed with
/// its length.
std::string pairingForm(const Value& value, const ColumnSchema& column);

/// Pairs each record with the other side's record of the same key (result.keyColumns): every
/// key column compared, every one equal. Records of a key that is not on the other side keep
/// counterpart 0.
void pairByKey(DataResult& result);

} // namespace sifkit::detail
