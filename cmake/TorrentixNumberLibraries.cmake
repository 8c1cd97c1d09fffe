# The libraries that convert numbers to text and back, header-only in every build: fmt
# (formatting) and fast_float (reading), from Debian's packages. Their headers are seen
# through an include folder that holds only them, so that a cross build (MinGW, emscripten)
# takes them without the rest of the build machine's headers.
find_path(TORRENTIX_FMT_INCLUDE_DIR fmt/format.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(TORRENTIX_FAST_FLOAT_INCLUDE_DIR fast_float/fast_float.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
set(torrentix_number_include ${CMAKE_BINARY_DIR}/number-libraries)
file(MAKE_DIRECTORY ${torrentix_number_include})
foreach(library fmt fast_float)
  string(TOUPPER ${library} upper)
  if(NOT EXISTS ${torrentix_number_include}/${library})
    file(CREATE_LINK ${TORRENTIX_${upper}_INCLUDE_DIR}/${library} ${torrentix_number_include}/${library} SYMBOLIC)
  endif()
endforeach()
add_library(torrentix_number_libraries INTERFACE)
target_include_directories(torrentix_number_libraries SYSTEM INTERFACE ${torrentix_number_include})
target_compile_definitions(torrentix_number_libraries INTERFACE FMT_HEADER_ONLY)
