# Installation layout and the default ephemeris.
#
# celestra.405 (JPL DE405, 1959-12-10 to 2060-01-30) is produced at build time
# by tools/make_ephemeris from Debian's casacore-data-jpl-de405 table and
# placed beside the executables, where the program finds it, with its SHA-256
# in celestra.405.sha256, which the program checks it against; `cmake --install`
# puts the executables in bin/ and the data with its notice in share/celestra/.
include(GNUInstallDirs)

set(CELESTRA_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/celestra")
# The last place the program looks for its ephemeris.
target_compile_definitions(celestra_engine PRIVATE
  CELESTRA_INSTALL_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/celestra")

install(TARGETS celestra-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

set(CELESTRA_DE405_TABLE "/usr/share/casacore/data/ephemerides/DE405/table.f0i"
    CACHE FILEPATH "DE405 coefficient table of Debian's casacore-data-jpl-de405")

add_executable(make_ephemeris tools/make_ephemeris.cpp)
target_link_libraries(make_ephemeris PRIVATE celestra_engine)

# Where the build writes the default ephemeris; the tests read it there.
set(CELESTRA_BUILT_EPHEMERIS "${CMAKE_BINARY_DIR}/celestra.405")

if(EXISTS "${CELESTRA_DE405_TABLE}")
  # The converter refuses output that disagrees with JPL's test points.
  set(_testpo "${CMAKE_SOURCE_DIR}/tests/data/testpo.405")
  add_custom_command(OUTPUT "${CELESTRA_BUILT_EPHEMERIS}" "${CELESTRA_BUILT_EPHEMERIS}.sha256"
    COMMAND make_ephemeris "${CELESTRA_DE405_TABLE}" "${CELESTRA_BUILT_EPHEMERIS}" "${_testpo}"
    DEPENDS make_ephemeris "${CELESTRA_DE405_TABLE}" "${_testpo}"
    COMMENT "Writing the default ephemeris celestra.405 (JPL DE405)"
    VERBATIM)
  add_custom_target(celestra_ephemeris ALL DEPENDS "${CELESTRA_BUILT_EPHEMERIS}")
  install(FILES "${CELESTRA_BUILT_EPHEMERIS}" "${CELESTRA_BUILT_EPHEMERIS}.sha256"
          "${CMAKE_SOURCE_DIR}/resources/NOTICE.ephemeris"
          DESTINATION "${CELESTRA_DATA_INSTALL_DIR}")
elseif(CELESTRA_BUILD_TESTS)
  # Every place, sight and rise/set test reads the default ephemeris.
  message(FATAL_ERROR
    "The DE405 table ${CELESTRA_DE405_TABLE} is absent (Debian package casacore-data-jpl-de405), "
    "so the default ephemeris celestra.405 that the tests read cannot be built. Install the package "
    "(bash build.sh deps), or configure with -DCELESTRA_BUILD_TESTS=OFF.")
else()
  message(WARNING
    "The DE405 table ${CELESTRA_DE405_TABLE} is absent (Debian package casacore-data-jpl-de405): "
    "the default ephemeris celestra.405 is not built. Install the package, or give the program "
    "an ephemeris file with --ephemeris PATH.")
endif()
