// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/SyncPlan.h>

class QComboBox;
class QWidget;

namespace dbsift {

/// The drop-down that says which database bringing records into line changes: "Make the
/// Modified like the Original" (the first) or the reverse.
QComboBox* newSyncDirectionBox(QWidget* parent);
sifkit::SyncDirection syncDirectionOf(const QComboBox& box);

} // namespace dbsift
