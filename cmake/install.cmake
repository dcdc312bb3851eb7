# Install and package: what `cmake --install` lays out under a prefix and
# what `cpack -G DEB` puts in the Debian package, from the same rules.
#
# The layout is the one Debian gives games, under any prefix: the program in
# games/, its data in share/games/cryptwell. The program finds its data by
# the relative path from its own folder to the data folder, built in below,
# so an installed tree can be moved; both folders can be changed when
# configuring, as long as they stay relative to the prefix.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/changelog.cmake)

set(CRYPTWELL_INSTALL_BINDIR games CACHE STRING "Folder of the program, under the prefix")
set(CRYPTWELL_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/cryptwell
    CACHE STRING "Folder of the program's pictures and sounds, under the prefix")
foreach(folder CRYPTWELL_INSTALL_BINDIR CRYPTWELL_INSTALL_DATADIR)
  if(IS_ABSOLUTE "${${folder}}")
    message(FATAL_ERROR "${folder} must be relative to the prefix, so the install can be moved")
  endif()
endforeach()
file(RELATIVE_PATH CRYPTWELL_DATA_FROM_BIN /${CRYPTWELL_INSTALL_BINDIR} /${CRYPTWELL_INSTALL_DATADIR})
target_compile_definitions(cryptwell_platform PRIVATE
  CRYPTWELL_DATA_FROM_BIN="${CRYPTWELL_DATA_FROM_BIN}")

# The desktop entry's file name is the AppStream id, as software centres
# require; the metainfo names it as the program's launcher.
set(CRYPTWELL_APP_ID org.example.cryptwell)

# The changelog is the one record of releases: its newest entry must be this
# version, and it dates the manual page and lists the AppStream releases.
read_changelog(${CMAKE_SOURCE_DIR}/data/changelog)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/data/changelog)
list(GET CHANGELOG_VERSIONS 0 latest_version)
if(NOT latest_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "data/changelog starts at ${latest_version}, but the project is "
                      "${PROJECT_VERSION}: add an entry for this version")
endif()
list(GET CHANGELOG_DATES 0 CRYPTWELL_RELEASE_DATE)
set(CRYPTWELL_RELEASES "")
foreach(version date IN ZIP_LISTS CHANGELOG_VERSIONS CHANGELOG_DATES)
  string(APPEND CRYPTWELL_RELEASES "    <release version=\"${version}\" date=\"${date}\"/>\n")
endforeach()
string(STRIP "${CRYPTWELL_RELEASES}" CRYPTWELL_RELEASES)

# The manual page and the metainfo get the version, dates and folders from
# here; the manual page and the changelog are installed compressed as Debian
# wants them (gzip -9n: best compression, no name or time stamp inside).
set(doc ${CMAKE_BINARY_DIR}/doc)
configure_file(${CMAKE_SOURCE_DIR}/data/cryptwell.6 ${doc}/cryptwell.6 @ONLY)
# The screen-saver set-up has its section in the program's page; its own
# page points there.
file(CONFIGURE OUTPUT ${doc}/cryptwell-screensaver-setup.6 CONTENT ".so man6/cryptwell.6\n")
configure_file(${CMAKE_SOURCE_DIR}/data/${CRYPTWELL_APP_ID}.metainfo.xml
               ${doc}/${CRYPTWELL_APP_ID}.metainfo.xml @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${doc}/cryptwell.6.gz ${doc}/cryptwell-screensaver-setup.6.gz ${doc}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/changelog ${doc}/changelog
  COMMAND ${GZIP} -9nf ${doc}/changelog
  COMMAND ${GZIP} -9nkf ${doc}/cryptwell.6
  COMMAND ${GZIP} -9nkf ${doc}/cryptwell-screensaver-setup.6
  DEPENDS ${doc}/cryptwell.6 ${doc}/cryptwell-screensaver-setup.6 ${CMAKE_SOURCE_DIR}/data/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(compressed_docs ALL DEPENDS
  ${doc}/cryptwell.6.gz ${doc}/cryptwell-screensaver-setup.6.gz ${doc}/changelog.gz)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
list(TRANSFORM DATA_FILES PREPEND ${CMAKE_BINARY_DIR}/bin/ OUTPUT_VARIABLE DATA_OUTPUTS)
install(TARGETS cryptwell RUNTIME DESTINATION ${CRYPTWELL_INSTALL_BINDIR})
# It finds the program beside itself.
install(PROGRAMS data/cryptwell-screensaver-setup DESTINATION ${CRYPTWELL_INSTALL_BINDIR})
install(FILES ${DATA_OUTPUTS} DESTINATION ${CRYPTWELL_INSTALL_DATADIR})
install(FILES data/${CRYPTWELL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${doc}/${CRYPTWELL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS CRYPTWELL_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/bin/cryptwell-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME cryptwell.png)
endforeach()
install(FILES ${doc}/cryptwell.6.gz ${doc}/cryptwell-screensaver-setup.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# xscreensaver's settings dialog lists the program from this file.
install(FILES data/cryptwell.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${doc}/changelog.gz data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cryptwell)

# `cpack -G DEB` in a Release build: a Debian package whose dependencies
# dpkg-shlibdeps reads off the program's shared libraries, and SDL2's, which
# the program loads at run time, so dpkg-shlibdeps cannot see it.
set(CPACK_PACKAGE_NAME cryptwell)
set(CPACK_PACKAGE_CONTACT "Cryptwell developers <${CRYPTWELL_BUG_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fire, smoke and alien targets in underground tunnels")
set(CPACK_PACKAGE_DESCRIPTION "A small real-time 3-D program: walk through two underground
rooms joined by a corridor, with fire in one and smoke in the other, and shoot
the hovering alien targets with a laser. Left alone, the camera flies through
the tunnels by itself.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CRYPTWELL_HOME_PAGE})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libsdl2-2.0-0)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_STRIP_FILES ON)
include(CPack)
