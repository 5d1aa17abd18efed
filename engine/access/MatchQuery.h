// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/clsDBManager.h>

#include <cstdint>
#include <string>

namespace sifkit::detail {

/// 0 when field `index` of the first manager's main record set takes part in the match, 2 when
/// it is left out: with different field counts, a field past the smaller count or whose name
/// differs from the other side's field at the same position.
int16_t isFieldUnmatched(const clsDBManager& manager1, const clsDBManager& manager2, int32_t index);

/// The literal of field `index` of the manager's main record set, as the match query writes it.
std::string formatMatchValue(const clsDBManager& manager, int32_t index);

/// "like " or "= " for field `index` of the manager's main record set.
std::string getMatchOperator(const clsDBManager& manager, int32_t index);

/// Writes into manager2's SQL text and where clause the query that looks for manager1's current
/// record, as users see it, and keeps its exact form (every field equal, texts exactly, Null as
/// Null) as the statement that runs in its place.
void buildMatchQuery(const clsDBManager& manager1, clsDBManager& manager2);

/// Thrown when a match query cannot be run: the record may or may not be on the other side, so
/// the pass cannot go on (a lost connection would fail every record after it the same way).
struct LookupFailed {
    std::string text; ///< the failure as the SQL message shows it (a #4 text)
};

/// Whether manager2's match query finds a row. A query that cannot be run adds its failure to
/// manager2's SQL message and throws LookupFailed; it never counts as found.
bool matchingRecordExists(const clsDBManager& manager1, clsDBManager& manager2);

} // namespace sifkit::detail
