#pragma once

#include <QString>

class QApplication;

namespace dbsift {

/// Sets the application's names and version and a look that is the same on every desktop.
void configureApplication(QApplication& application);

} // namespace dbsift
