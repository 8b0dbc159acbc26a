# The shipped data, and one layout for the build tree and an installation.
#
# The programs look for their data in <exe dir>/../share/celestra. The build
# keeps to the installed layout, so build/ui/celestra and build/cli/celestra-cli
# read build/share/celestra as PREFIX/bin/celestra reads PREFIX/share/celestra:
#   celestra.405       the default ephemeris (JPL DE405, 1959-12-10 to 2060-01-30),
#                      written by tools/make_ephemeris from Debian's
#                      casacore-data-jpl-de405 table
#   celestra.405.sha256  its SHA-256, which the programs check it against
#   NOTICE.ephemeris   its notice
#   Celestra.clj       the empty seed document, copied into the user's data folder
include(GNUInstallDirs)

set(CELESTRA_BUILD_SHARE_DIR "${CMAKE_BINARY_DIR}/share")
set(CELESTRA_BUILD_DATA_DIR "${CELESTRA_BUILD_SHARE_DIR}/celestra")
set(CELESTRA_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/celestra")
file(MAKE_DIRECTORY "${CELESTRA_BUILD_DATA_DIR}")

set_target_properties(celestra-cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/cli")
install(TARGETS celestra-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

configure_file(resources/NOTICE.ephemeris "${CELESTRA_BUILD_DATA_DIR}/NOTICE.ephemeris" COPYONLY)
configure_file(resources/Celestra.clj "${CELESTRA_BUILD_DATA_DIR}/Celestra.clj" COPYONLY)
install(FILES "${CELESTRA_BUILD_DATA_DIR}/NOTICE.ephemeris" "${CELESTRA_BUILD_DATA_DIR}/Celestra.clj"
        DESTINATION "${CELESTRA_DATA_INSTALL_DIR}")

# Everything of share/ the programs need at run time; `bash build.sh run`
# builds the programs and this target only.
add_custom_target(celestra_data ALL)

set(CELESTRA_DE405_TABLE "/usr/share/casacore/data/ephemerides/DE405/table.f0i"
    CACHE FILEPATH "DE405 coefficient table of Debian's casacore-data-jpl-de405")

add_executable(make_ephemeris tools/make_ephemeris.cpp)
target_link_libraries(make_ephemeris PRIVATE celestra_engine)

# Where the build writes the default ephemeris; the tests and benchmarks read it there.
set(CELESTRA_BUILT_EPHEMERIS "${CELESTRA_BUILD_DATA_DIR}/celestra.405")

if(EXISTS "${CELESTRA_DE405_TABLE}")
  # The converter refuses output that disagrees with JPL's test points.
  set(_testpo "${CMAKE_SOURCE_DIR}/tests/data/testpo.405")
  add_custom_command(OUTPUT "${CELESTRA_BUILT_EPHEMERIS}" "${CELESTRA_BUILT_EPHEMERIS}.sha256"
    COMMAND make_ephemeris "${CELESTRA_DE405_TABLE}" "${CELESTRA_BUILT_EPHEMERIS}" "${_testpo}"
    DEPENDS make_ephemeris "${CELESTRA_DE405_TABLE}" "${_testpo}"
    COMMENT "Writing the default ephemeris celestra.405 (JPL DE405)"
    VERBATIM)
  add_custom_target(celestra_ephemeris DEPENDS "${CELESTRA_BUILT_EPHEMERIS}")
  add_dependencies(celestra_data celestra_ephemeris)
  install(FILES "${CELESTRA_BUILT_EPHEMERIS}" "${CELESTRA_BUILT_EPHEMERIS}.sha256"
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

# Manual pages, installed compressed as Debian keeps them (-n: no name or
# time inside, so the same page always gives the same bytes).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(CELESTRA_BUILD_MAN_DIR "${CELESTRA_BUILD_SHARE_DIR}/man/man1")
file(MAKE_DIRECTORY "${CELESTRA_BUILD_MAN_DIR}" "${CMAKE_BINARY_DIR}/man")
function(celestra_manual_page page source)
  set(_out "${CELESTRA_BUILD_MAN_DIR}/${page}.gz")
  add_custom_command(OUTPUT "${_out}"
    COMMAND sh -c "\"$0\" -9nc \"$1\" > \"$2\"" "${GZIP_PROGRAM}" "${source}" "${_out}"
    DEPENDS "${source}"
    VERBATIM)
  add_custom_target(man_${page} DEPENDS "${_out}")
  add_dependencies(celestra_data man_${page})
  install(FILES "${_out}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()

# The command line's page holds every subcommand's --help text, taken from
# the program as built.
set(_cli_page "${CMAKE_BINARY_DIR}/man/celestra-cli.1")
add_custom_command(OUTPUT "${_cli_page}"
  COMMAND sh "${CMAKE_SOURCE_DIR}/tools/make_cli_manual.sh" "$<TARGET_FILE:celestra-cli>"
          "${CMAKE_SOURCE_DIR}/resources/man/celestra-cli.1.in" "${PROJECT_VERSION}"
          "${CELESTRA_RELEASE_MONTH}" "${_cli_page}"
  DEPENDS celestra-cli "${CMAKE_SOURCE_DIR}/tools/make_cli_manual.sh"
          "${CMAKE_SOURCE_DIR}/resources/man/celestra-cli.1.in"
  COMMENT "Writing the manual page of celestra-cli"
  VERBATIM)
celestra_manual_page(celestra-cli.1 "${_cli_page}")

configure_file(resources/celestra-cli.bash-completion
               "${CELESTRA_BUILD_SHARE_DIR}/bash-completion/completions/celestra-cli" COPYONLY)
install(FILES "${CELESTRA_BUILD_SHARE_DIR}/bash-completion/completions/celestra-cli"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")

install(FILES LICENSE DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/celestra" RENAME copyright)
