// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/CompareOptions.h>
#include <sifkit/DataResult.h>

#include <optional>
#include <string>
#include <vector>

namespace sifkit::detail {

/// A value in the form equal values of both products share: numbers by their value (an integer 7
/// and a decimal 7.00 of another product are one value), GUIDs in one spelling, every other value
/// by its kind and its exact text. Forms of several values can be joined: each is prefixed with
/// its length. Texts and Nulls are folded as the options say.
std::string pairingForm(const Value& value, int32_t typeCode, const ValueOptions& options = {});

/// Whether the options compare the numbers of two columns of these types within a tolerance:
/// one is set, and not both columns hold integers.
bool toleratesNumbers(int32_t typeCode, int32_t otherTypeCode, const ValueOptions& options);

/// The number a value of a column holds: an integer, a finite or infinite real, a decimal text;
/// nothing for any other value.
std::optional<long double> numberOf(const Value& value, int32_t typeCode);

/// Whether two values of columns of these types are equal as the options compare them.
bool equalUnder(const Value& value, int32_t typeCode, const Value& other, int32_t otherTypeCode,
                const ValueOptions& options);

/// Pairs each record with the other side's record of the same key (result.keyColumns): every
/// key column compared, every one equal. Records of a key that is not on the other side keep
/// counterpart 0.
void pairByKey(DataResult& result);

/// The result's copies, of a table compared as a multiset: the records both sides hold a
/// different number of times (shared, counted where the digests were) and those one side
/// holds alone, counted among its reported records.
void collectCopies(DataResult& result, std::vector<RecordCopies> shared);

} // namespace sifkit::detail
