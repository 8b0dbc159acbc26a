# Small Qt adapters of the engine, each in a file named *_qt.cpp beside the
# engine code it serves: the HTTP transfer over QtNetwork (app/) and the
# serial port's queued notifications (gps/). Their declarations live only in
# their own *_qt.h headers. The engine itself stays free of Qt: no engine
# library links Qt, so a Qt include there does not compile.
find_package(Qt6 COMPONENTS Core Network QUIET)
if(NOT Qt6_FOUND)
  message(STATUS "Qt 6 not found: the Qt adapters and the desktop program are not built")
  return()
endif()

add_library(celestra_qt_adapters STATIC
  "${CMAKE_SOURCE_DIR}/app/http_download_qt.cpp" "${CMAKE_SOURCE_DIR}/gps/serial_wnd_qt.cpp")
set_target_properties(celestra_qt_adapters PROPERTIES AUTOMOC ON)
target_link_libraries(celestra_qt_adapters PUBLIC celestra_app celestra_gps Qt6::Core Qt6::Network
                      PRIVATE celestra_core)
