# Compile settings of the project's own targets.

# Warnings of every target of ours; TORRENTIX_WERROR makes them errors (CI uses it).
function(torrentix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict) # false positives of GCC 12 on string concatenation
  endif()
  if(TORRENTIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The engine layers, each a library that links only the layers below it. A layer sees
# the headers of its own folder and of the layers below it through an include folder of
# its own, so that an include of a higher layer fails to build.
set(TORRENTIX_LAYERS base input metrics index report run)

# torrentix_include_root(NAME FOLDER...): an include folder NAME holding only the given
# source folders (as links); sets torrentix_root to its path.
function(torrentix_include_root name)
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root})
  foreach(visible IN LISTS ARGN)
    if(NOT EXISTS ${root}/${visible})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${visible} ${root}/${visible} SYMBOLIC)
    endif()
  endforeach()
  set(torrentix_root ${root} PARENT_SCOPE)
endfunction()

function(torrentix_layer layer)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  set(visible)
  foreach(below IN LISTS TORRENTIX_LAYERS)
    list(APPEND visible ${below})
    if(below STREQUAL layer)
      break()
    endif()
  endforeach()
  torrentix_include_root(${layer} ${visible})
  set(root ${torrentix_root})
  add_library(torrentix_${layer} STATIC ${L_SOURCES})
  target_include_directories(torrentix_${layer} PUBLIC ${root})
  target_link_libraries(torrentix_${layer} PUBLIC ${L_LIBS})
  # Results are compared digit by digit with other implementations of the method: every
  # sum must be evaluated exactly in the order written, never fused. Whatever compiles
  # engine code inherits this.
  target_compile_options(torrentix_${layer} PUBLIC -ffp-contract=off)
  torrentix_warnings(torrentix_${layer})
endfunction()
