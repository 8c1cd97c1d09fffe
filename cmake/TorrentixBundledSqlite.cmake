# SQLite compiled from its amalgamation (sqlite3.c, sqlite3.h), for a target system that has
# no SQLite library of its own: Windows. TORRENTIX_SQLITE_SOURCE_DIR may name a folder that
# holds the two files; otherwise scripts/fetch-sqlite.sh puts the pinned, checked release
# into the build folder, once.
set(TORRENTIX_SQLITE_SOURCE_DIR ${CMAKE_BINARY_DIR}/sqlite CACHE PATH "Folder of sqlite3.c and sqlite3.h")
if(NOT EXISTS ${TORRENTIX_SQLITE_SOURCE_DIR}/sqlite3.c)
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/fetch-sqlite.sh ${TORRENTIX_SQLITE_SOURCE_DIR}
                  RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "SQLite could not be fetched into ${TORRENTIX_SQLITE_SOURCE_DIR}")
  endif()
endif()

enable_language(C)
if(CCACHE_PROGRAM)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()
add_library(torrentix_sqlite3 STATIC ${TORRENTIX_SQLITE_SOURCE_DIR}/sqlite3.c)
target_include_directories(torrentix_sqlite3 SYSTEM PUBLIC ${TORRENTIX_SQLITE_SOURCE_DIR})
# The program only reads the taxa database: no extensions are loaded, and double-quoted
# texts are names, never strings.
target_compile_definitions(torrentix_sqlite3 PRIVATE SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0
                                                     SQLITE_DEFAULT_MEMSTATUS=0)
add_library(SQLite::SQLite3 ALIAS torrentix_sqlite3)
