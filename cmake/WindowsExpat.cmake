# SPDX-License-Identifier: MIT
# expat for the Windows build: Debian ships no mingw build of it, so it is
# built here, statically, from Debian's source package with Debian's security
# patches. The source is fetched once into the build folder.
set(QUORVELLA_EXPAT_SOURCE "${CMAKE_BINARY_DIR}/expat-source" CACHE PATH
    "Debian's expat source, unpacked (fetched when missing)")
if(NOT EXISTS "${QUORVELLA_EXPAT_SOURCE}/expat/CMakeLists.txt")
  execute_process(
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/fetch-debian-source" expat "${QUORVELLA_EXPAT_SOURCE}"
    RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "expat's source could not be fetched; scripts/setup-windows sets up apt")
  endif()
endif()

set(EXPAT_BUILD_TOOLS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_DOCS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_PKGCONFIG OFF CACHE BOOL "" FORCE)
set(EXPAT_SHARED_LIBS OFF CACHE BOOL "" FORCE)
set(EXPAT_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
# Debian's security patches test "XML_DTD == 1", as its own build defines
# it; expat's CMake defines it empty. So it is defined here, with a value.
set(EXPAT_DTD OFF CACHE BOOL "" FORCE)
add_subdirectory("${QUORVELLA_EXPAT_SOURCE}/expat" "${CMAKE_BINARY_DIR}/expat"
  EXCLUDE_FROM_ALL SYSTEM)
# Its own code, its own warnings: ours are kept at zero, not expat's.
set_target_properties(expat PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
target_compile_options(expat PRIVATE -w)
target_compile_definitions(expat PUBLIC XML_DTD=1 INTERFACE XML_STATIC)
add_library(EXPAT::EXPAT ALIAS expat)
