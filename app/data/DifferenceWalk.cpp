#include "data/DifferenceWalk.h"

#include <sifkit/Sifcore.h>

#include <utility>

namespace dbsift {

DifferenceWalk::DifferenceWalk(sifkit::Sifcore& engine, std::string tableName, int32_t masterIndex,
                               int32_t sourceIndex)
    : engine_(engine), tableName_(std::move(tableName)), masterIndex_(masterIndex),
      sourceIndex_(sourceIndex) {}

bool DifferenceWalk::exhausted(bool isMaster) {
    const int32_t index = isMaster ? masterIndex_ : sourceIndex_;
    return index < 1 || engine_.lastRecord(tableName_, index, isMaster) ||
           engine_.getResultRecordNumber(tableName_, isMaster, index) <= 0;
}

bool DifferenceWalk::done() {
    return exhausted(true) && exhausted(false);
}

DifferenceWalk::Step DifferenceWalk::take(bool isMaster) {
    int32_t& index = isMaster ? masterIndex_ : sourceIndex_;
    Step step{engine_.getResultRecordNumber(tableName_, isMaster, index), isMaster};
    index = engine_.incrementRecordCount(tableName_, isMaster, index);
    // The other side's turn comes next while it has records; otherwise this side goes on.
    masterTurn_ = exhausted(!isMaster) ? isMaster : !isMaster;
    return step;
}

DifferenceWalk::Step DifferenceWalk::next() {
    const bool masterLeft = !exhausted(true);
    const bool sourceLeft = !exhausted(false);
    if (masterLeft && (masterTurn_ || !sourceLeft))
        return take(true);
    if (sourceLeft)
        return take(false);
    return {0, masterTurn_};
}

std::string differenceEntryText(const std::string& tableName, int32_t recordNumber, bool isMaster) {
    return "[" + tableName + "] " + (isMaster ? " ORIGINAL ITEM NUMBER = " : " MODIFIED ITEM NUMBER = ") +
           std::to_string(recordNumber);
}

} // namespace dbsift
