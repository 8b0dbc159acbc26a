# Small Qt adapters of the engine: every *_qt.cpp under the engine folders
# (HTTP downloads, the serial port's queued notifications, timers) goes into
# one library that the desktop program and the Qt tests link. The engine
# itself stays free of Qt.
find_package(Qt6 COMPONENTS Core Network Widgets QUIET)
if(NOT Qt6_FOUND)
  message(STATUS "Qt 6 not found: the Qt adapters and the desktop program are not built")
  return()
endif()

set(_adapter_sources "")
foreach(dir IN LISTS CELESTRA_ENGINE_DIRS)
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*_qt.cpp")
  list(APPEND _adapter_sources ${_src})
endforeach()
if(_adapter_sources)
  add_library(celestra_qt_adapters STATIC ${_adapter_sources})
  set_target_properties(celestra_qt_adapters PROPERTIES AUTOMOC ON)
  target_link_libraries(celestra_qt_adapters PUBLIC celestra_engine Qt6::Core Qt6::Network Qt6::Widgets)
endif()

# Qt tests of the adapters: tests/qt/*_test.cpp, one QtTest program each,
# run on the offscreen platform (each test's main sets it when unset).
if(CELESTRA_BUILD_TESTS AND TARGET celestra_qt_adapters)
  find_package(Qt6 COMPONENTS Test QUIET)
  file(GLOB _qt_tests CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/qt/*_test.cpp")
  foreach(_test IN LISTS _qt_tests)
    get_filename_component(_name "${_test}" NAME_WE)
    add_executable(qt_${_name} "${_test}")
    set_target_properties(qt_${_name} PROPERTIES AUTOMOC ON)
    target_include_directories(qt_${_name} PRIVATE "${CMAKE_SOURCE_DIR}")
    target_link_libraries(qt_${_name} PRIVATE celestra_qt_adapters Qt6::Test)
    target_compile_definitions(qt_${_name} PRIVATE CELESTRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_test(NAME qt_${_name} COMMAND qt_${_name})
    set_tests_properties(qt_${_name} PROPERTIES TIMEOUT 300)
  endforeach()
endif()
