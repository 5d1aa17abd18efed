// SPDX-License-Identifier: MIT
#include "access/DataSources.h"
#include "access/FieldTypes.h"
#include "access/RollbackStore.h"
#include "model/Messages.h"

#include <sifkit/Sifcore.h>

#include <utility>

namespace sifkit {

Sifcore::Sifcore() : Sifcore(HostHooks{}) {}

Sifcore::Sifcore(HostHooks hooks) : hooks_(std::make_shared<HostHooks>(std::move(hooks))) {
    detail::loadOdbcDataSources(*hooks_);
}

Sifcore::~Sifcore() = default;

void Sifcore::setUpdateCountHandler(
    std::function<void(int32_t& count, int32_t& maxCount, std::string& readFrom)> handler) {
    hooks_->updateCount = std::move(handler);
}

void Sifcore::setMessageBoxHandler(std::function<void(const std::string& text)> handler) {
    hooks_->messageBox = std::move(handler);
}

void Sifcore::setDoEventsHandler(std::function<void()> handler) {
    hooks_->doEvents = std::move(handler);
}

void Sifcore::setCancelHandler(std::function<bool()> handler) {
    hooks_->cancelRequested = std::move(handler);
}

void Sifcore::swapValues() {
    std::swap(masterDataManager_, sourceDataManager_);
}

std::shared_ptr<clsDBManager> Sifcore::adopt(const std::shared_ptr<clsDBManager>& manager) {
    if (manager)
        manager->setHostHooks(hooks_);
    return manager;
}

std::shared_ptr<clsDBManager> Sifcore::getMasterDataManager() {
    if (!masterDataManager_)
        masterDataManager_ = adopt(std::make_shared<clsDBManager>());
    return masterDataManager_;
}

std::shared_ptr<clsDBManager> Sifcore::getSourceDataManager() {
    if (!sourceDataManager_)
        sourceDataManager_ = adopt(std::make_shared<clsDBManager>());
    return sourceDataManager_;
}

clsDBManager& Sifcore::master() {
    return *getMasterDataManager();
}

clsDBManager& Sifcore::source() {
    return *getSourceDataManager();
}

void Sifcore::setMasterDataManager(const std::shared_ptr<clsDBManager>& masterDataManagerIn) {
    masterDataManager_ = adopt(masterDataManagerIn);
}

void Sifcore::setSourceDataManager(const std::shared_ptr<clsDBManager>& sourceDataManagerIn) {
    sourceDataManager_ = adopt(sourceDataManagerIn);
}

void Sifcore::setMasterResultsFromDataManager(const std::shared_ptr<clsDBManager>& masterDataManagerIn) {
    if (masterDataManagerIn)
        masterResults_ = masterDataManagerIn->getResults();
}

void Sifcore::setSourceResultsFromDataManager(const std::shared_ptr<clsDBManager>& sourceDataManagerIn) {
    if (sourceDataManagerIn)
        sourceResults_ = sourceDataManagerIn->getResults();
}

void Sifcore::setMasterFieldList(const std::string& fieldListIn) {
    master().setFieldList(fieldListIn);
}

void Sifcore::resetDataManagers() {
    master().resetResult();
    source().resetResult();
}

std::string Sifcore::getChangeDesciption(int16_t changeType) const {
    return describeChange(changeType);
}

std::string Sifcore::getFieldDataDescrition(int16_t dataType) const {
    return detail::describeDataType(dataType);
}

std::string Sifcore::getErrorLogs(bool isMaster) {
    clsDBManager& side = isMaster ? master() : source();
    return "Connection issues =" + side.getReturnConnectionMessage() + "Database issues " +
           side.getReturnSQLMessage() + "General Issues " + side.getReturnMessage();
}

void Sifcore::appendControlFailure(int32_t masterNumber, int32_t sourceNumber) {
    master().appendFailure(detail::controlFailure(masterNumber));
    source().appendFailure(detail::controlFailure(sourceNumber));
}

void Sifcore::clearManagerMessages() {
    master().clearMessages();
    source().clearMessages();
}

int32_t Sifcore::getDataProgressStatus() const {
    return dataProgressStatus_ == 0 ? 1 : dataProgressStatus_;
}

int32_t Sifcore::getDataProgressStatusMax() const {
    return dataProgressStatusMax_ == 0 ? 100 : dataProgressStatusMax_;
}

void Sifcore::setCurrentProgressCount(int32_t currentProgressCountIn, int32_t currentProgressCountMaxIn,
                                      const std::string& readingFrom) {
    currentProgressCount_ = currentProgressCountIn;
    currentProgressCountMax_ = currentProgressCountMaxIn;
    if (hooks_->updateCount) {
        // The handler gets copies: what it changes does not reach the engine.
        int32_t count = currentProgressCount_;
        int32_t maxCount = currentProgressCountMaxIn;
        std::string readFrom = readingFrom;
        hooks_->updateCount(count, maxCount, readFrom);
    }
}

std::string Sifcore::getSaveFile() const {
    return detail::RollbackStore::instance().fileName;
}

std::string Sifcore::getSaveFileId() const {
    return detail::RollbackStore::instance().fileId;
}

} // namespace sifkit
