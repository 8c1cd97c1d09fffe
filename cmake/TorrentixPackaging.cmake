# Installation of the manual page and the desktop files, and the Debian package:
#   cmake --build build --target package
# writes build/torrentix_<version>_<architecture>.deb with both programs, the taxa
# database, the manual page, the desktop entry, the icon and the AppStream metainfo.
# The version is the project's, from project() in CMakeLists.txt.

set(TORRENTIX_APP_ID org.torrentix.Torrentix)

# The manual page of the batch command, with the project's version, compressed as Debian
# installs manual pages (not on Windows, which has no manual pages).
if(NOT WIN32)
  configure_file(${PROJECT_SOURCE_DIR}/docs/torrentix-cli.1 ${CMAKE_BINARY_DIR}/packaging/man/torrentix-cli.1 @ONLY)
  set(manpage ${CMAKE_BINARY_DIR}/packaging/torrentix-cli.1)
  add_custom_command(
    OUTPUT ${manpage}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/packaging/man/torrentix-cli.1 ${manpage}
    COMMAND gzip -9nf ${manpage}
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/man/torrentix-cli.1
    COMMENT "Compressing the manual page torrentix-cli.1")
  add_custom_target(manpage ALL DEPENDS ${manpage}.gz)
  install(FILES ${manpage}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TORRENTIX_GUI)
  # The date of the build, or of SOURCE_DATE_EPOCH when set (reproducible builds).
  string(TIMESTAMP TORRENTIX_RELEASE_DATE "%Y-%m-%d" UTC)
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
set(CPACK_PACKAGE_CONTACT "The Torrentix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Intercalibration Common Metrics of river macro-invertebrate samples")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Reads tab-separated files of benthic macro-invertebrate abundances, checks the family
names against its taxa database, computes the Intercalibration Common Metrics of a
Geographical Intercalibration Group (Water Framework Directive, 2000/60/EC), normalises
them against the reference samples of the file, combines them into the STAR_ICMi and the
GIG ICMi and regresses both against the user's test variables. A desktop program and the
batch command torrentix-cli.")
set(CPACK_PACKAGE_FILE_NAME torrentix_${PROJECT_VERSION}_${TORRENTIX_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_FILE_NAME ${TORRENTIX_DEB_FILE})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TORRENTIX_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # the library packages the programs need
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
