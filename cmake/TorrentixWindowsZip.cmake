# The zip a Windows user unpacks: the batch command, the taxa database beside it, a
# README.txt, the licence, the third-party notices and the example files.
#   cmake --build build-windows --target windows_zip
# writes build-windows/torrentix-cli-<version>-windows-x86_64.zip, whose files sit in a
# folder of the same name.
set(TORRENTIX_ZIP_NAME torrentix-cli-${PROJECT_VERSION}-windows-x86_64)
set(TORRENTIX_ZIP ${CMAKE_BINARY_DIR}/${TORRENTIX_ZIP_NAME}.zip)
set(zip_stage ${CMAKE_BINARY_DIR}/zip)
set(zip_root ${zip_stage}/${TORRENTIX_ZIP_NAME})

# Text files with the CR LF line ends that every Windows editor shows.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/THIRD-PARTY-NOTICES.txt
               ${CMAKE_BINARY_DIR}/packaging/THIRD-PARTY-NOTICES.txt NEWLINE_STYLE CRLF)
file(READ ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt licence)
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt "${licence}")

file(GLOB zip_examples ${PROJECT_SOURCE_DIR}/examples/*.txt)
add_custom_command(
  OUTPUT ${TORRENTIX_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_root}/examples
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:torrentix-cli> ${CMAKE_BINARY_DIR}/ICMTAXA.db
          ${CMAKE_BINARY_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt
          ${CMAKE_BINARY_DIR}/packaging/THIRD-PARTY-NOTICES.txt ${zip_root}
  COMMAND ${CMAKE_COMMAND} -E copy ${zip_examples} ${zip_root}/examples
  COMMAND ${CMAKE_COMMAND} -E chdir ${zip_stage} ${CMAKE_COMMAND} -E tar cf ${TORRENTIX_ZIP} --format=zip
          ${TORRENTIX_ZIP_NAME}
  DEPENDS torrentix-cli taxadb ${CMAKE_BINARY_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt
          ${CMAKE_BINARY_DIR}/packaging/THIRD-PARTY-NOTICES.txt ${zip_examples}
  COMMENT "Packing ${TORRENTIX_ZIP_NAME}.zip")
add_custom_target(windows_zip ALL DEPENDS ${TORRENTIX_ZIP})
