# SPDX-License-Identifier: MIT
# Writes a header holding the two sample scripts as string literals.
# Usage: cmake -DORIGINAL=<sql> -DMODIFIED=<sql> -DOUTPUT=<header> -P EmbedSamples.cmake
set(delimiter "dbsift_sample")
set(text "// Generated from samples/original.sql and samples/modified.sql; do not edit.\n")
string(APPEND text "#pragma once\n\n#include <string_view>\n\nnamespace dbsift::samples::scripts {\n\n")
foreach(name IN ITEMS ORIGINAL MODIFIED)
  file(READ "${${name}}" script)
  string(FIND "${script}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${${name}} contains the literal delimiter )${delimiter}\"")
  endif()
  string(TOLOWER "${name}" lower)
  string(APPEND text "inline constexpr std::string_view ${lower}Script = R\"${delimiter}(${script})${delimiter}\";\n\n")
endforeach()
string(APPEND text "} // namespace dbsift::samples::scripts\n")
# Rewritten only when it changes, so that an unchanged script rebuilds nothing.
set(previous "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
