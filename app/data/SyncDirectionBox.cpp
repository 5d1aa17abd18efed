// SPDX-License-Identifier: MIT
#include "data/SyncDirectionBox.h"

#include <QComboBox>
#include <QCoreApplication>

namespace dbsift {

QComboBox* newSyncDirectionBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName("cboSyncDirection");
    box->addItem(
        QCoreApplication::translate("dbsift::SyncDirectionBox", "Make the Modified like the Original"),
        static_cast<int>(sifkit::SyncDirection::ToModified));
    box->addItem(
        QCoreApplication::translate("dbsift::SyncDirectionBox", "Make the Original like the Modified"),
        static_cast<int>(sifkit::SyncDirection::ToOriginal));
    box->setToolTip(QCoreApplication::translate("dbsift::SyncDirectionBox",
                                                "The database the records are brought into line in"));
    return box;
}

sifkit::SyncDirection syncDirectionOf(const QComboBox& box) {
    return static_cast<sifkit::SyncDirection>(box.currentData().toInt());
}

} // namespace dbsift
