# SPDX-License-Identifier: GPL-3.0-or-later
# Qt's and the test framework's headers cost a front end seconds per source on
# a two-core machine, more than most of our sources themselves. A target with
# several sources parses them once, as a precompiled header chosen from what it
# links. GCC's precompiled headers run to hundreds of MB per target, so they
# are made by default with clang only.

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(LUMENARK_PRECOMPILE_DEFAULT ON)
else()
  set(LUMENARK_PRECOMPILE_DEFAULT OFF)
endif()
option(LUMENARK_PRECOMPILE_HEADERS "Precompile outside headers per target" ${LUMENARK_PRECOMPILE_DEFAULT})

# Fewer sources than this do not repay the header's own compile.
set(LUMENARK_PRECOMPILE_MIN_SOURCES 3)

# A link name pattern, then the headers (comma-separated) of a target that
# links a match, directly or not.
set(LUMENARK_PRECOMPILED_SETS
  "^Qt6::" "<QObject>,<QString>,<QDir>,<QFile>"
  "^Qt6::.*Widgets$" "<QApplication>,<QDialog>,<QLabel>,<QPainter>"
  "^Qt6::Concurrent$" "<QFuture>"
  "^Qt6::Test$" "<QTest>"
  "^GTest::gmock$" "<gmock/gmock.h>,<gtest/gtest.h>")

function(lumenark_tree_targets dir result)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    lumenark_tree_targets(${subdir} below)
    list(APPEND targets ${below})
  endforeach()
  set(${result} ${targets} PARENT_SCOPE)
endfunction()

function(lumenark_precompiled_headers_for target result)
  lumenark_linked_targets(${target} linked)
  set(headers "")
  set(sets ${LUMENARK_PRECOMPILED_SETS})
  while(sets)
    list(POP_FRONT sets pattern set)
    set(matching ${linked})
    list(FILTER matching INCLUDE REGEX "${pattern}")
    if(matching)
      string(REPLACE "," ";" set "${set}")
      list(APPEND headers ${set})
    endif()
  endwhile()
  set(${result} ${headers} PARENT_SCOPE)
endfunction()

function(lumenark_precompile_headers)
  if(NOT LUMENARK_PRECOMPILE_HEADERS)
    return()
  endif()
  lumenark_tree_targets(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY)$" OR NOT sources)
      continue()
    endif()
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count LESS LUMENARK_PRECOMPILE_MIN_SOURCES)
      continue()
    endif()
    lumenark_precompiled_headers_for(${target} headers)
    if(headers)
      target_precompile_headers(${target} PRIVATE ${headers})
    endif()
  endforeach()
endfunction()
