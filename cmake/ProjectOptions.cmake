# Build settings of the project when it is built on its own; nothing here is forced on a parent.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

option(DBSIFT_BUILD_TESTS "Build the tests" ON)
option(DBSIFT_BUILD_BENCH "Build the benchmarks" ON)
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
