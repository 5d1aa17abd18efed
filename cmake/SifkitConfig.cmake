# Lets another CMake project use an installed Sifkit: find_package(Sifkit) and link Sifkit::Sifkit.
include("${CMAKE_CURRENT_LIST_DIR}/SifkitTargets.cmake")
