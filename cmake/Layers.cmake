# The engine's layers: one static library per folder, celestra_<folder>,
# linking only the layers below it.
#
# A header is reached as "<folder>/name.h" only through its library: each
# library publishes an include root of its own in the build tree, a folder
# holding a single link to the source folder, instead of the source tree's
# root. A file therefore sees the headers of its own library and of the
# libraries it links; an include of a higher (or unrelated) layer is not
# found and the build stops there. The layer check (tests/layers) builds
# such includes on purpose and expects them to fail.

set(CELESTRA_INCLUDE_ROOTS "${CMAKE_BINARY_DIR}/include")

# The include root of `folder`: ${CELESTRA_INCLUDE_ROOTS}/<folder>/<folder> -> source folder.
function(celestra_include_root target folder)
  set(_root "${CELESTRA_INCLUDE_ROOTS}/${folder}")
  file(MAKE_DIRECTORY "${_root}")
  file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${folder}" "${_root}/${folder}" SYMBOLIC)
  target_include_directories(${target} PUBLIC "${_root}")
endfunction()

# celestra_engine_library(<folder> [PUBLIC libs...] [PRIVATE libs...])
# Every .cpp below the folder except the Qt adapters (*_qt.cpp). PUBLIC:
# the layers the folder's headers include; PRIVATE: those only its sources
# include. Both lists are kept for the layer check.
function(celestra_engine_library folder)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
  list(FILTER _src EXCLUDE REGEX "_qt\\.cpp$")
  set(_target celestra_${folder})
  add_library(${_target} STATIC ${_src})
  celestra_include_root(${_target} ${folder})
  target_link_libraries(${_target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  set_property(TARGET ${_target} PROPERTY CELESTRA_LAYER_LINKS ${ARG_PUBLIC} ${ARG_PRIVATE})
  set_property(GLOBAL APPEND PROPERTY CELESTRA_ENGINE_LIBRARIES ${_target})
endfunction()
