# SPDX-License-Identifier: MIT
# Debian packages of the installed components, one per component, made from the build folder by
# scripts/package (cpack -G DEB): what the build made is installed into a staging folder per
# package, stripped, and packed; nothing is compiled again. The dependencies on Debian's
# libraries come from dpkg-shlibdeps, those between the packages from the component
# dependencies below (same version).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dbsift)
set(CPACK_PACKAGE_VENDOR "The Dbsift developers")
set(CPACK_PACKAGE_CONTACT "The Dbsift developers <maintainers@dbsift.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
# Each package's description starts with its own summary line; a summary common to all would be
# put before it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

set(CPACK_COMPONENTS_ALL libsifkit0 libsifkit-dev)
if(DBSIFT_BUILD_CLI)
  list(APPEND CPACK_COMPONENTS_ALL dbsift-compare)
endif()
if(DBSIFT_BUILD_APP)
  list(APPEND CPACK_COMPONENTS_ALL dbsift)
endif()

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libSifkit.so.0 comes from the package libsifkit0 of this build, not from the system.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The library package says which package and version other packages' programs linking
# libSifkit.so.0 need (its shlibs file); only libsifkit0 holds a shared library.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_LIBSIFKIT0_PACKAGE_NAME libsifkit0)
set(CPACK_DEBIAN_LIBSIFKIT0_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBSIFKIT0_PACKAGE_SUGGESTS "libsqliteodbc, odbc-postgresql, odbc-mariadb")
set(CPACK_COMPONENT_LIBSIFKIT0_DESCRIPTION
    "database comparison engine of Dbsift (shared library)
Sifkit compares two relational databases, each an SQLite file or an ODBC data
source: their tables, views and fields, and the records of a table that have no
equal record on the other side. It can copy or overwrite a record on the other
side, keeping a rollback file.
.
This package holds the shared library.")

set(CPACK_DEBIAN_LIBSIFKIT-DEV_PACKAGE_NAME libsifkit-dev)
set(CPACK_DEBIAN_LIBSIFKIT-DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_LIBSIFKIT-DEV_DEPENDS libsifkit0)
set(CPACK_COMPONENT_LIBSIFKIT-DEV_DESCRIPTION
    "database comparison engine of Dbsift (development files)
Sifkit compares two relational databases, each an SQLite file or an ODBC data
source.
.
This package holds the headers, the CMake package (find_package(Sifkit)) and the
pkg-config file (sifkit.pc) to build programs with the library.")

set(CPACK_DEBIAN_DBSIFT-COMPARE_PACKAGE_NAME dbsift-compare)
set(CPACK_DEBIAN_DBSIFT-COMPARE_PACKAGE_SECTION database)
set(CPACK_COMPONENT_DBSIFT-COMPARE_DEPENDS libsifkit0)
set(CPACK_DEBIAN_DBSIFT-COMPARE_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_COMPONENT_DBSIFT-COMPARE_DESCRIPTION
    "compare two relational databases from the command line
dbsift-compare compares the structure or the records of a table of two
databases, each an SQLite file or an ODBC data source, and writes the
differences as text, JSON or CSV; its exit status says whether there were any.")

set(CPACK_DEBIAN_DBSIFT_PACKAGE_NAME dbsift)
set(CPACK_DEBIAN_DBSIFT_PACKAGE_SECTION database)
set(CPACK_COMPONENT_DBSIFT_DEPENDS libsifkit0)
# The help page and the reports open in the desktop's browser through xdg-open. Qt's X11
# platform comes with its libraries; a Wayland session needs qt6-wayland (else XWayland serves).
set(CPACK_DEBIAN_DBSIFT_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_DBSIFT_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_COMPONENT_DBSIFT_DESCRIPTION
    "compare two relational databases and bring them into line
Dbsift compares two relational databases, an Original and a Modified one, each
an SQLite file or an ODBC data source. It tells which tables, views and fields
exist on one side only or differ in type, and which records of a table have no
equal record on the other side; it can copy or overwrite a record on the other
side, keeping a rollback file of what it overwrote, and writes an HTML report
of the differing records.")

include(CPack)
