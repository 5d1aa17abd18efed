#include "RollbackStore.h"

#include <sifkit/clsDBManager.h>

namespace sifkit {

std::string clsDBManager::getRollbackFileName() const {
    return detail::RollbackStore::instance().fileName;
}

void clsDBManager::setRollbackFileName(const std::string& fileNameIn) {
    detail::RollbackStore::instance().fileName = fileNameIn;
}

Recordset clsDBManager::getRollbackRecordset() const {
    return detail::RollbackStore::instance().recordset;
}

void clsDBManager::setRollbackRecordset(const Recordset& recordsetIn) {
    detail::RollbackStore::instance().recordset = recordsetIn;
}

} // namespace sifkit
