# SPDX-License-Identifier: MIT
# Fails when the committed English catalogue misses a text of the sources or keeps one they no
# longer have: lupdate is run on a copy and the copy compared with the catalogue.
# Usage: cmake "-DLUPDATE=<lupdate command>" -DCATALOGUE=<dbsift_en.ts> -DWORK=<folder> -P CatalogueIsCurrent.cmake
file(MAKE_DIRECTORY "${WORK}")
set(copy "${WORK}/dbsift_en.ts")
configure_file("${CATALOGUE}" "${copy}" COPYONLY)
execute_process(COMMAND ${LUPDATE} -target-language en -ts "${copy}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${status})")
endif()
file(READ "${CATALOGUE}" committed)
file(READ "${copy}" current)
if(NOT committed STREQUAL current)
  execute_process(COMMAND diff -u "${CATALOGUE}" "${copy}")
  message(FATAL_ERROR "${CATALOGUE} is not up to date with the sources: "
                      "cmake --build build --target dbsift_lupdate brings it up to date.")
endif()
