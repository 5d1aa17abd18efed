# SPDX-License-Identifier: MIT
# Installs the engine library for other programs, split the way a distribution packages it:
# component libsifkit0 holds the shared library as programs load it; libsifkit-dev what a
# program is built with: the public headers, the link-time name libSifkit.so, the CMake package
# (find_package(Sifkit 0.1), target Sifkit::Sifkit) and the pkg-config file (sifkit.pc).
include(CMakePackageConfigHelpers)

set(SIFKIT_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Sifkit)
set(SIFKIT_PKGCONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS Sifkit EXPORT SifkitPackageTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT libsifkit0 NAMELINK_COMPONENT libsifkit-dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/engine/include/sifkit ${PROJECT_SOURCE_DIR}/platform/include/sifkit
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT libsifkit-dev)
install(FILES ${SIFKIT_GENERATED_INCLUDE}/sifkit/sifkit_export.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/sifkit
        COMPONENT libsifkit-dev)
install(EXPORT SifkitPackageTargets FILE SifkitTargets.cmake NAMESPACE Sifkit:: DESTINATION ${SIFKIT_CMAKE_INSTALL_DIR}
        COMPONENT libsifkit-dev)

# Within a 0.x series the minor version is the interface: 0.1.2 serves a request for 0.1, not
# one for 0.2.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/generated/SifkitConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/SifkitConfig.cmake ${PROJECT_BINARY_DIR}/generated/SifkitConfigVersion.cmake
        DESTINATION ${SIFKIT_CMAKE_INSTALL_DIR} COMPONENT libsifkit-dev)

# sifkit.pc finds its prefix from its own folder, so an installation moved elsewhere (a staging
# folder, a package's root) still points at its own headers and library.
file(RELATIVE_PATH SIFKIT_PC_TO_PREFIX ${CMAKE_INSTALL_PREFIX}/${SIFKIT_PKGCONFIG_INSTALL_DIR} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" SIFKIT_PC_TO_PREFIX "${SIFKIT_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/sifkit.pc.in ${PROJECT_BINARY_DIR}/generated/sifkit.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/generated/sifkit.pc DESTINATION ${SIFKIT_PKGCONFIG_INSTALL_DIR}
        COMPONENT libsifkit-dev)

dbsift_install_copyright(libsifkit0)
dbsift_install_copyright(libsifkit-dev)
