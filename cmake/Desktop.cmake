# Desktop integration of the desktop program, laid out in the build tree's
# share/ as it is installed: the desktop entry, the icon (the SVG drawing,
# and the PNG sizes rendered from it when Qt's SVG module is there), the
# AppStream metainfo and the manual page.
set(_share "${CELESTRA_BUILD_SHARE_DIR}")
set(_id "${CELESTRA_APP_ID}")

configure_file(resources/desktop/${_id}.desktop "${_share}/applications/${_id}.desktop" COPYONLY)
configure_file(resources/desktop/${_id}.metainfo.xml.in "${_share}/metainfo/${_id}.metainfo.xml" @ONLY)
configure_file(resources/desktop/${_id}.svg "${_share}/icons/hicolor/scalable/apps/${_id}.svg" COPYONLY)
install(FILES "${_share}/applications/${_id}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${_share}/metainfo/${_id}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${_share}/icons/hicolor/scalable/apps/${_id}.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

configure_file(resources/man/celestra.1.in "${CMAKE_BINARY_DIR}/man/celestra.1" @ONLY)
celestra_manual_page(celestra.1 "${CMAKE_BINARY_DIR}/man/celestra.1")

find_package(Qt6 COMPONENTS Svg QUIET)
if(Qt6Svg_FOUND)
  set(_sizes 16 22 24 32 48 64 128 256)
  set(_pngs "")
  foreach(_size IN LISTS _sizes)
    set(_png "${_share}/icons/hicolor/${_size}x${_size}/apps/${_id}.png")
    list(APPEND _pngs "${_png}")
    install(FILES "${_png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps")
  endforeach()
  add_executable(render_icon tools/render_icon.cpp)
  target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)
  add_custom_command(OUTPUT ${_pngs}
    COMMAND render_icon "${CMAKE_SOURCE_DIR}/resources/desktop/${_id}.svg" "${_share}/icons/hicolor" "${_id}" ${_sizes}
    DEPENDS render_icon "${CMAKE_SOURCE_DIR}/resources/desktop/${_id}.svg"
    COMMENT "Rendering the icon's PNG sizes"
    VERBATIM)
  add_custom_target(celestra_icons DEPENDS ${_pngs})
  add_dependencies(celestra_data celestra_icons)
else()
  message(STATUS "Qt 6 SVG module not found (Debian: qt6-svg-dev): only the scalable icon is installed")
endif()
