// SPDX-License-Identifier: MIT
#include "XmlExport.h"

#include "FileHelpers.h"

namespace sifkit::detail {

void exportSideToXml(clsDBManager& side) {
    try {
        const std::string fileName = side.getXmlFileName();
        deleteFileIfExists(fileName);
        if (side.getTableName().empty())
            return;
        side.openDataBaseRecordsFromQuery(side.getSql());
        side.saveToXML(fileName);
        side.closeRecordSet();
    } catch (...) {
    }
}

} // namespace sifkit::detail
