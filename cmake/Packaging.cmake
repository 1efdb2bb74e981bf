# SPDX-License-Identifier: MIT
# Debian packages made by CPack: "quorvella-cli" (the command line, its manual
# page and completion; install component "cli") and "quorvella" (the window,
# its menu entry, icons, metadata and manual page; component "gui"), which
# depends on the first so that installing "quorvella" gives the whole program.
#   cpack -G DEB --config build/CPackConfig.cmake   (scripts/package does it)

# Each package carries its own copyright file and changelog, as Debian asks.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${changelog} @ONLY)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND ${QUORVELLA_GZIP} -9 -n -c ${changelog} > ${changelog}.gz
  DEPENDS ${changelog})
add_custom_target(quorvella_changelog ALL DEPENDS ${changelog}.gz)
foreach(component IN ITEMS cli gui)
  set(package quorvella)
  if(component STREQUAL "cli")
    set(package quorvella-cli)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  install(FILES ${changelog}.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_PACKAGE_NAME quorvella)
set(CPACK_PACKAGE_VENDOR "Quorvella developers")
set(CPACK_PACKAGE_CONTACT "Quorvella developers <dev@brenlow-software.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.brenlow-software.example/quorvella/")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL cli gui)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME quorvella-cli)
set(CPACK_DEBIAN_CLI_DESCRIPTION
  "publish the playlists of an iTunes library to a TiVo box (command line)
quorvella-cli reads the playlists of an iTunes XML library and writes
the chosen ones as M3U files into a folder that a TiVo media server
(TiVo Desktop or pyTivo) publishes, so that a TiVo box can play them.
It sorts every song as written, likely unreachable, unreachable or
ignored for its file type, and reports the counts with advice.
.
This package holds the command-line program, for scripts and servers
without a display.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME quorvella)
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "quorvella-cli (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_GUI_DESCRIPTION
  "publish the playlists of an iTunes library to a TiVo box
Quorvella reads the playlists of an iTunes XML library, shows them in a
checklist, and writes each checked playlist as an M3U file into a
folder that a TiVo media server (TiVo Desktop or pyTivo) publishes, so
that a TiVo box can play them. It sorts every song as written, likely
unreachable, unreachable or ignored for its file type, and reports the
counts with advice.
.
This package holds the window, its menu entry and icon; the
command-line program comes with quorvella-cli.")

include(CPack)
cpack_add_component(cli DISPLAY_NAME "Command line")
cpack_add_component(gui DISPLAY_NAME "Window" DEPENDS cli)
