# SPDX-License-Identifier: MIT
# Lets another CMake project use an installed Sifkit: find_package(Sifkit 0.1) and link
# Sifkit::Sifkit.
include("${CMAKE_CURRENT_LIST_DIR}/SifkitTargets.cmake")
