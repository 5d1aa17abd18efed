# SPDX-License-Identifier: MIT
# Build settings of the project. Built on its own (top level) it builds everything; as a
# sub-project of another build it builds only the library unless asked, and forces nothing on
# the parent: variables set here stay in this project's directories, and the build type is left
# to the parent.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(PROJECT_IS_TOP_LEVEL)
  set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
  if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
  endif()
endif()

option(DBSIFT_BUILD_CLI "Build dbsift-compare (needs CLI11 and nlohmann-json)" ${PROJECT_IS_TOP_LEVEL})
option(DBSIFT_BUILD_APP "Build the desktop application (needs Qt 6 Widgets)" ${PROJECT_IS_TOP_LEVEL})
option(DBSIFT_BUILD_TESTS "Build the tests" ${PROJECT_IS_TOP_LEVEL})
option(DBSIFT_BUILD_BENCH "Build the benchmarks" ${PROJECT_IS_TOP_LEVEL})
option(DBSIFT_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
set(DBSIFT_SANITIZERS "" CACHE STRING "Sanitizers for a test build, e.g. address,undefined or leak")

include(GNUInstallDirs)

# Warnings and sanitizers travel as an interface target linked privately by every target.
add_library(dbsift_build_settings INTERFACE)
target_compile_options(dbsift_build_settings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                       $<$<BOOL:${DBSIFT_WARNINGS_AS_ERRORS}>:-Werror>)
if(DBSIFT_SANITIZERS)
  target_compile_options(dbsift_build_settings INTERFACE -fsanitize=${DBSIFT_SANITIZERS} -fno-omit-frame-pointer)
  target_link_options(dbsift_build_settings INTERFACE -fsanitize=${DBSIFT_SANITIZERS})
endif()

# Every installed component carries the licence where Debian looks for it:
# share/doc/<package>/copyright.
function(dbsift_install_copyright component)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${component}
          RENAME copyright COMPONENT ${component})
endfunction()

# Installs the manual page NAME.SECTION of this folder for a component, compressed as man pages
# are installed (gzip -n: the same page gives the same bytes).
function(dbsift_install_man_page page component)
  string(REGEX MATCH "[0-9]$" section ${page})
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/${page} > ${compressed}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${page}
    COMMENT "Compressing the manual page ${page}")
  add_custom_target(${page}-man ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
endfunction()
