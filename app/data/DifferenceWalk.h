// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace sifkit {
class Sifcore;
}

namespace dbsift {

/// The walk over a data run's differing records that the drop-down and the summary grid share:
/// one record per step, Original and Modified alternately with the Original side first; once a
/// side has no record left the other continues alone. Positions are the engine's record indexes
/// (1-based, one record every field-count items); every look-up is one of the engine's indexed
/// record-number services, so a step costs the same however many records the run reported.
class DifferenceWalk {
public:
    struct Step {
        int32_t recordNumber = 0; ///< 0 when no record is left
        bool isMaster = true;
    };

    DifferenceWalk(sifkit::Sifcore& engine, std::string tableName, int32_t masterIndex, int32_t sourceIndex);

    /// The next differing record, advancing its side's index.
    Step next();
    /// True when neither side has a record left.
    bool done();
    int32_t masterIndex() const { return masterIndex_; }
    int32_t sourceIndex() const { return sourceIndex_; }

private:
    /// A side is exhausted past its last reported position, or when its position names no record
    /// (a side without differing records at all counts as exhausted from the start).
    bool exhausted(bool isMaster);
    Step take(bool isMaster);

    sifkit::Sifcore& engine_;
    std::string tableName_;
    int32_t masterIndex_;
    int32_t sourceIndex_;
    bool masterTurn_ = true;
};

/// The side's marker in a drop-down entry, " ORIGINAL ITEM NUMBER = " or " MODIFIED ITEM NUMBER = "
/// (as translated); an entry's side is read back from it.
std::string differenceEntryMarker(bool isMaster);

/// A drop-down entry of the difference list without its details: "[T] ", the side's marker
/// and the record number.
std::string differenceEntryText(const std::string& tableName, int32_t recordNumber, bool isMaster);

} // namespace dbsift
