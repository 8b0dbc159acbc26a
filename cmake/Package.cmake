# The Debian package: `cpack -G DEB` in the build folder writes
# celestra_VERSION_ARCH.deb with everything `cmake --install` puts under
# /usr. The shared-library dependencies are computed by dpkg-shlibdeps
# (package dpkg-dev); the Qt platform plugins are named as well, since no
# library asks for them and the program cannot open a window without one.
#
# The package (and `install`) take what is built instead of building the
# tests and benchmarks first: `bash build.sh package` builds the programs
# and their data, then packs them.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME celestra)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Celestra developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "planetarium and celestial navigation")
set(CPACK_PACKAGE_DESCRIPTION
  "Celestra computes where the Sun, the Moon, the planets, comets, the
stars of the Bright Star Catalogue and the Messier and Caldwell objects
stand for any place and instant and draws them as a star chart. It
reduces sextant sights to lines of position and a least-squares fix,
takes the position from a GPS receiver (NMEA 0183 or gpsd) and offers
rise, set and twilight, great-circle, rhumb-line, horizon-distance,
angle and Julian-day calculators. celestra-cli gives the same results
without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gpsd")
include(CPack)
