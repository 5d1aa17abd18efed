#include "shell/Application.h"

#include <QApplication>
#include <QStyleFactory>

namespace dbsift {

void configureApplication(QApplication& application) {
    QApplication::setApplicationName("Dbsift");
    QApplication::setApplicationDisplayName("Dbsift");
    QApplication::setOrganizationName("Dbsift");
    QApplication::setApplicationVersion(DBSIFT_VERSION);
    if (QStyle* fusion = QStyleFactory::create("Fusion"))
        application.setStyle(fusion);
}

} // namespace dbsift
