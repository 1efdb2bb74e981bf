# SPDX-License-Identifier: MIT
# Compile settings shared by every target: the language level, the warnings
# we keep at zero, and the optional sanitizer build.

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

find_program(QUORVELLA_CCACHE ccache)
if(QUORVELLA_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER "${QUORVELLA_CCACHE}")
  set(CMAKE_CXX_COMPILER_LAUNCHER "${QUORVELLA_CCACHE}")
endif()

add_library(quorvella_common INTERFACE)
add_library(Quorvella::common ALIAS quorvella_common)
target_compile_features(quorvella_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(quorvella_common INTERFACE -Wall -Wextra -Wpedantic)

if(QUORVELLA_SANITIZE)
  target_compile_options(quorvella_common INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quorvella_common INTERFACE -fsanitize=address,undefined)
endif()

if(QUORVELLA_COVERAGE)
  target_compile_options(quorvella_common INTERFACE --coverage -fprofile-update=atomic)
  target_link_options(quorvella_common INTERFACE --coverage)
endif()

if(QUORVELLA_FUZZ)
  target_compile_options(quorvella_common INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(quorvella_common INTERFACE -fsanitize=address,undefined)
endif()

# Adds a GoogleTest executable for one layer; the tests are discovered so that
# ctest lists every case by name.
function(quorvella_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quorvella_common ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE QUORVELLA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  set(props "")
  if(ARG_GUI)
    set(props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props} TIMEOUT 300)
endfunction()
