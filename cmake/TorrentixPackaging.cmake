# Installation of the manual pages, the documents and the desktop files, and the Debian
# package:
#   cmake --build build --target package
# writes build/torrentix_<version>_<architecture>.deb with both programs, the taxa
# database, both manual pages, the README, the changelog and the copyright file, the
# desktop entry, the icon and the AppStream metainfo.
# The version is the project's, from project() in CMakeLists.txt.

# The AppStream identifier, which names the desktop entry, the icon and the metainfo.
set(TORRENTIX_APP_ID org.torrentix.torrentix)

# Text installed compressed, as Debian installs manual pages and documents: `source`
# configured with the project's version (and the date of the changelog), or copied as it
# is with COPYONLY, then gzip -9n (no name or time stamp: the same bytes on every build).
function(torrentix_gzipped source name)
  set(configured ${CMAKE_BINARY_DIR}/packaging/plain/${name})
  set(compressed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  if(ARGV2 STREQUAL "COPYONLY")
    configure_file(${source} ${configured} COPYONLY)
  else()
    configure_file(${source} ${configured} @ONLY)
  endif()
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND gzip -9nc ${configured} > ${compressed}
    DEPENDS ${configured}
    COMMENT "Compressing ${name}")
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${compressed})
endfunction()

# The manual pages, the changelog and the README (not on Windows, which has no manual
# pages and a README of its own in the zip).
if(NOT WIN32)
  # The date of the build, or of SOURCE_DATE_EPOCH when set (reproducible builds).
  string(TIMESTAMP TORRENTIX_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  torrentix_gzipped(${PROJECT_SOURCE_DIR}/docs/torrentix-cli.1 torrentix-cli.1)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/torrentix-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  torrentix_gzipped(${PROJECT_SOURCE_DIR}/packaging/changelog.in changelog)
  torrentix_gzipped(${PROJECT_SOURCE_DIR}/README.md README.md COPYONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_BINARY_DIR}/packaging/README.md.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/torrentix)
endif()

if(TORRENTIX_GUI)
  # The date of the build, or of SOURCE_DATE_EPOCH when set (reproducible builds).
  string(TIMESTAMP TORRENTIX_RELEASE_DATE "%Y-%m-%d" UTC)
  torrentix_gzipped(${PROJECT_SOURCE_DIR}/docs/torrentix.1 torrentix.1)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/torrentix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${TORRENTIX_APP_ID}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/packaging/${TORRENTIX_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${TORRENTIX_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${TORRENTIX_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${TORRENTIX_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

find_program(DPKG_PROGRAM dpkg)
set(TORRENTIX_DEB_ARCHITECTURE amd64)
if(DPKG_PROGRAM)
  execute_process(COMMAND ${DPKG_PROGRAM} --print-architecture
                  OUTPUT_VARIABLE TORRENTIX_DEB_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(TORRENTIX_DEB_FILE torrentix_${PROJECT_VERSION}_${TORRENTIX_DEB_ARCHITECTURE}.deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torrentix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Torrentix developers")
set(CPACK_PACKAGE_CONTACT "The Torrentix developers <developers@torrentix.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Intercalibration Common Metrics of river macro-invertebrate samples")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Reads tab-separated files of benthic macro-invertebrate abundances, checks
the family names against its taxa database, computes the Intercalibration
Common Metrics of a Geographical Intercalibration Group (Water Framework
Directive, 2000/60/EC), normalises them against the reference samples of the
file, combines them into the STAR_ICMi and the GIG ICMi and regresses both
against the user's test variables. A desktop program and the batch command
torrentix-cli.")
set(CPACK_PACKAGE_FILE_NAME torrentix_${PROJECT_VERSION}_${TORRENTIX_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_FILE_NAME ${TORRENTIX_DEB_FILE})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TORRENTIX_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # the library packages the programs need
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
