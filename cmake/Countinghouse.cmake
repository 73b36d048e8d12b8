# One library per folder group. Sources are globbed so that adding a file to a
# folder needs no edit here.
set(CH_WARNINGS -Wall -Wextra -Winvalid-pch)

# The installed resources, relative to the installed binary: an installed
# program finds them wherever the prefix was put.
include(GNUInstallDirs)
set(CH_RESOURCES_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/countinghouse")
file(RELATIVE_PATH CH_INSTALLED_RESOURCES
     "/${CMAKE_INSTALL_BINDIR}" "/${CH_RESOURCES_INSTALL_DIR}")

# Gives the definitions to those of the sources that use one of them, directly
# or through a test-support header that does.
function(ch_path_definitions sources)
  foreach(source IN LISTS sources)
    file(READ "${source}" text)
    if(text MATCHES "COUNTINGHOUSE_(TEST_DATA|RESOURCES|INSTALLED_RESOURCES)|import_test_support\\.h")
      set_property(SOURCE "${source}" APPEND PROPERTY COMPILE_DEFINITIONS ${ARGN})
    endif()
  endforeach()
endfunction()

# One precompiled header per kind: the first target of the kind makes it,
# the others of that kind use it (a precompiled Qt header is hundreds of MB).
# Every target of a kind is compiled with the same options and position-
# independence, which is what lets the compiler accept the shared one.
function(ch_shared_precompiled_header name kind)
  get_property(owner GLOBAL PROPERTY CH_PCH_OWNER_${kind})
  if(owner)
    target_precompile_headers(${name} REUSE_FROM ${owner})
  else()
    target_precompile_headers(${name} PRIVATE ${ARGN})
    set_property(GLOBAL PROPERTY CH_PCH_OWNER_${kind} ${name})
  endif()
endfunction()

function(ch_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LINK" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
    target_compile_options(${name} PRIVATE ${CH_WARNINGS})
  else()
    # A folder group with headers only (or nothing yet).
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} ${scope} ${ARG_LINK})
  # Qt's headers are most of what a widget source compiles: parse them once
  # for all the widget libraries.
  if(sources AND ("Qt6::Widgets" IN_LIST ARG_LINK OR "ch_platform_gui" IN_LIST ARG_LINK OR "ch_ui" IN_LIST ARG_LINK))
    ch_shared_precompiled_header(${name} qt <QtWidgets/QtWidgets>)
  endif()
  # The checkout's paths reach only the sources that name them, so that the
  # compiler cache serves every other source to a build in another checkout.
  ch_path_definitions("${sources}"
      COUNTINGHOUSE_RESOURCES="${PROJECT_SOURCE_DIR}/resources"
      COUNTINGHOUSE_INSTALLED_RESOURCES="${CH_INSTALLED_RESOURCES}")
endfunction()

# A GoogleTest executable from every .cpp of the given test folders.
function(ch_test name)
  cmake_parse_arguments(ARG "" "" "DIRS;LINK" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  # Each test program gets a temporary home of its own (test_home.cpp).
  add_executable(${name} ${sources} "${CMAKE_CURRENT_SOURCE_DIR}/test_home.cpp")
  target_compile_options(${name} PRIVATE ${CH_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock GTest::gtest_main)
  # GoogleTest's headers (and Qt's, for the window tests) parsed once for
  # all the test programs of a kind.
  if("Qt6::Test" IN_LIST ARG_LINK)
    ch_shared_precompiled_header(${name} qt_tests <gtest/gtest.h> <gmock/gmock.h> <QtWidgets/QtWidgets>
                                 <QtTest/QtTest>)
  else()
    ch_shared_precompiled_header(${name} tests <gtest/gtest.h> <gmock/gmock.h>)
  endif()
  ch_path_definitions("${sources}"
      COUNTINGHOUSE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
      COUNTINGHOUSE_RESOURCES="${PROJECT_SOURCE_DIR}/resources"
      COUNTINGHOUSE_INSTALLED_RESOURCES="${CH_INSTALLED_RESOURCES}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
