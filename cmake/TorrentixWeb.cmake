# The browser build, with Debian's emscripten:
#   emcmake cmake -S . -B build-web -DTORRENTIX_HOST_MAKETAXADB=.../maketaxadb
# Every program runs single-threaded on WebAssembly. The batch command (torrentix-cli.js)
# and the tests run under node and read and write the machine's files directly; the
# engine module of the page (src/web) runs in a Web Worker over a file system in memory,
# with the taxa database embedded. Exceptions are WebAssembly's own, which cost nothing
# until one is thrown.
set(TORRENTIX_GUI OFF CACHE BOOL "" FORCE)
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=4GB)
# Programs for node; the engine module of the page sets its own environment.
set(TORRENTIX_NODE_LINK_OPTIONS -sENVIRONMENT=node -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1)
string(REPLACE ";" " " node_options "${TORRENTIX_NODE_LINK_OPTIONS}")
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} ${node_options}")
# GoogleTest built for WebAssembly has no threads.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
# Left out of the browser build's tests: those that start the real program as a process or
# read the Debian package, those of several threads (WebAssembly here has one), and the
# umask, which node's file system does not apply, and hard links, which it cannot make. The
# batch command's results are compared with the native build's by tests/web instead.
set(TORRENTIX_TEST_FILTER
    "-CliProcess.*:Package.*:Parallel.*:ParallelRun.*:BlockReading.AnyCutAndAnyNumberOfThreads*:Bootstrap.SameSeedAndAnyThreadCount*:CliBatch.Threads*:RunFixture.AStopAtAnyLook*:AtomicWriteFailures.NewFilesTakeTheUmask*:Files.OneFileByItsIdentityNotItsPath")

# nlohmann/json (Debian's, header-only) for the engine module's answers, seen through an
# include folder that holds only it.
find_path(TORRENTIX_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(torrentix_json_include ${CMAKE_BINARY_DIR}/json-library)
file(MAKE_DIRECTORY ${torrentix_json_include})
if(NOT EXISTS ${torrentix_json_include}/nlohmann)
  file(CREATE_LINK ${TORRENTIX_JSON_INCLUDE_DIR}/nlohmann ${torrentix_json_include}/nlohmann SYMBOLIC)
endif()
add_library(torrentix_json_library INTERFACE)
target_include_directories(torrentix_json_library SYSTEM INTERFACE ${torrentix_json_include})
