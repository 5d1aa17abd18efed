// SPDX-License-Identifier: MIT
#include "data/DifferenceWalk.h"

#include <sifkit/Sifcore.h>

#include <QCoreApplication>

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

std::string differenceEntryMarker(bool isMaster) {
    //: An entry of the difference list reads "[table]  ORIGINAL ITEM NUMBER = 12"; the record
    //: number is read back from after "= ", so the marker must end with "= ".
    return (isMaster ? QCoreApplication::translate("dbsift::DifferenceWalk", " ORIGINAL ITEM NUMBER = ")
                     : QCoreApplication::translate("dbsift::DifferenceWalk", " MODIFIED ITEM NUMBER = "))
        .toStdString();
}

std::string differenceEntryText(const std::string& tableName, int32_t recordNumber, bool isMaster) {
    return "[" + tableName + "] " + differenceEntryMarker(isMaster) + std::to_string(recordNumber);
}

} // namespace dbsift
