#!/usr/bin/env bash
# Builds Celestra on Debian 12 and runs it or its tests.
#
#   bash build.sh run        install the build dependencies, build the programs and their
#                            data (not the tests and benchmarks), start the desktop program
#   bash build.sh test       install the build dependencies, build everything, run every test
#   bash build.sh package    build the programs and their data, then the Debian package
#                            build/celestra_VERSION_ARCH.deb
#   bash build.sh sanitize [address,undefined|thread]
#                            engine, tests and CLI under sanitizers, then run the tests
#   bash build.sh format [--check]
#                            lay out every C++ source by .clang-format (--check: only
#                            list the files that differ, and fail if any does)
#   bash build.sh deps       only install the build dependencies
#
# Packages come from Debian's archive through apt-get (through sudo when not
# root); ones already installed are not fetched again.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  liberfa-dev casacore-data-jpl-de405
  qt6-base-dev qt6-svg-dev gpsd fonts-dejavu-core xvfb xauth locales tzdata
  # The translations: lupdate and lrelease with their CMake package, and
  # Qt's own texts (standard buttons and dialogs) in each language.
  qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools qt6-translations-l10n
  poppler-utils librsvg2-bin
  # The installation and package tests: dpkg-shlibdeps and dpkg-deb, and the
  # validators of the desktop entry and the metainfo.
  dpkg-dev file desktop-file-utils appstream
  # The layout of the sources (clang-format 14 on Debian 12).
  clang-format
)

# The tests also run the pages under a German and a French desktop (decimal
# comma); glibc needs those locales generated.
TEST_LOCALES=(de_DE fr_FR)

jobs() { nproc 2>/dev/null || echo 2; }

install_deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

generate_locales() {
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  for l in "${TEST_LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "$l.utf8" && continue
    echo "Generating the $l.UTF-8 locale"
    "${sudo[@]}" localedef -i "$l" -f UTF-8 "$l.UTF-8" ||
      echo "warning: could not generate $l.UTF-8; its locale tests will be skipped" >&2
  done
}

configure() {  # build-dir, then extra cmake arguments
  local dir=$1; shift
  # CI sets CELESTRA_WERROR=ON: a warning fails its builds.
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCELESTRA_WERROR="${CELESTRA_WERROR:-OFF}" "$@"
}

configure_and_build() {  # build-dir, then extra cmake arguments
  configure "$@"
  cmake --build "$1" -j "$(jobs)"
}

# Every C++ source of the repository (generated tables opt out in their own
# .clang-format); from git when this is a clone, else from the tree.
cxx_sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.cpp' '*.h'
  else
    find . \( -path './build*' -o -path './.git' \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0
  fi
}

run_tests() {  # build-dir
  ctest --test-dir "$1" --output-on-failure -j "$(jobs)"
}

mode=${1:-}
case "$mode" in
  deps)
    install_deps
    generate_locales ;;
  run)
    install_deps
    configure build
    cmake --build build -j "$(jobs)" --target celestra celestra-cli celestra_data
    shift
    exec ./build/ui/celestra "$@" ;;
  test)
    install_deps
    generate_locales
    configure_and_build build
    run_tests build ;;
  format)
    install_deps
    if [ "${2:-}" = "--check" ]; then
      cxx_sources | xargs -0 clang-format --dry-run --Werror
    else
      cxx_sources | xargs -0 clang-format -i
    fi ;;
  package)
    install_deps
    configure build
    cmake --build build -j "$(jobs)" --target celestra celestra-cli celestra_data
    (cd build && cpack -G DEB) ;;
  sanitize)
    install_deps
    generate_locales
    kind=${2:-address,undefined}
    dir=build-san-${kind//,/-}
    configure_and_build "$dir" -DCELESTRA_SANITIZE="$kind" -DCELESTRA_BUILD_GUI=OFF -DCELESTRA_BUILD_BENCH=OFF
    run_tests "$dir" ;;
  *)
    echo "usage: bash build.sh run|test|package|sanitize [kind]|format [--check]|deps" >&2
    exit 2 ;;
esac
