#!/usr/bin/env bash
# ./do run | test | build — installs what is missing, builds into build/, then runs the program or the tests.
#   ./do test --sanitize   builds into build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer
#   ./do test --release    builds the Release configuration into build-release/ and runs its quick checks
#   ./do test --windows    cross-builds the Qt-free engine and its tests for Windows into build-windows/
#                          and runs them under Wine
#   ./do package           builds the Debian package build-package/brindlemoor_VERSION_ARCH.deb and checks it
#   ./do fuzz [SECONDS]    builds the fuzz targets with clang into build-fuzz/ and runs each over its corpus
#   ./do format-check      checks every tracked C++ file against .clang-format; ./do format rewrites them
# Every build here treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-liberation fonts-wine xvfb xauth xdotool x11-apps x11-utils python3 python3-xlrd
          python3-olefile clang libclang-rt-14-dev ccache help2man zlib1g-dev libfontconfig-dev libqpdf-dev
          qt6-image-formats-plugins libxcb1-dev libxcb-damage0-dev libxlsxwriter-dev)
TEST_PACKAGES=(libreoffice-calc-nogui gnumeric poppler-utils locales qpdf dbus at-spi2-core python3-pyatspi
               python3-openpyxl)
# The settings the tests run the programs under, besides the suite's own C.UTF-8.
TEST_LOCALES=(en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8 fr_FR.UTF-8)
PACKAGING_PACKAGES=(dpkg-dev lintian desktop-file-utils appstream)
FORMAT_PACKAGES=(clang-format git)
# The Windows build: the cross compiler, GoogleTest's sources to build with it, and Wine to run the tests.
WINDOWS_PACKAGES=(cmake make ccache g++-mingw-w64-x86-64-posix googletest wine64)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        # Another build on this machine may hold apt's lock; wait for it rather than fail.
        as_root apt-get -o DPkg::Lock::Timeout=600 update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
            --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

# Listed in /etc/locale.gen as well, so that a later locale-gen (an upgrade of locales) keeps them.
generate_test_locales() {
    local missing=()
    for name in "${TEST_LOCALES[@]}"; do
        locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" || missing+=("$name")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Generating locales: ${missing[*]}"
    for name in "${missing[@]}"; do
        grep -q "^$name UTF-8" /etc/locale.gen 2>/dev/null ||
            echo "$name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    done
    as_root locale-gen >/dev/null
}

build() {
    local dir=$1; shift
    local launcher=()
    if command -v ccache >/dev/null; then
        # Worktrees and clean clones share one cache: paths are hashed relative to the checkout.
        export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S . -B "$dir" -G "Unix Makefiles" "${launcher[@]}" -DBRINDLEMOOR_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

verb=${1:-}
shift || true
case "$verb" in
    build)
        install_missing "${PACKAGES[@]}"
        build build
        ;;
    run)
        install_missing "${PACKAGES[@]}"
        build build
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
            echo "No display is available: start Brindlemoor from a desktop session (or set DISPLAY)." >&2
            exit 1
        fi
        exec ./build/brindlemoor
        ;;
    test)
        if [ "${1:-}" = --windows ]; then
            # No Qt there: the engine and its tests only (cmake/mingw-w64-x86_64.cmake runs them under Wine).
            install_missing "${WINDOWS_PACKAGES[@]}"
            build build-windows --toolchain cmake/mingw-w64-x86_64.cmake
            # Wine's server exits between two tests when idle; a test that connects just then dies at
            # once ("recvmsg: Connection reset by peer"), so such a test gets a second and third start.
            ctest --test-dir build-windows --output-on-failure --no-tests=error -j2 --repeat until-pass:3
            exit
        fi
        install_missing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"
        generate_test_locales
        if [ "${1:-}" = --sanitize ]; then
            build build-asan -DBRINDLEMOOR_SANITIZE=ON -DBRINDLEMOOR_BENCH=OFF
            export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
            # The kill tests time real typing into the real program; sanitizers slow the program too much
            # for them to mean anything there. The plain run covers them. A real-window test that fails
            # once runs once more, as in the plain run; one that fails twice fails the suite.
            ctest --test-dir build-asan --output-on-failure -j2 --repeat until-pass:2 \
                -E 'Independent|LibreOffice|Gnumeric|Package|SurvivesAKill'
        elif [ "${1:-}" = --release ]; then
            # What the optimiser changes: the engine's own tests, and the package made from this build.
            build build-release -DCMAKE_BUILD_TYPE=Release -DBRINDLEMOOR_BENCH=OFF
            for tests in build-release/tests/workbook/engine/*/CTestTestfile.cmake build-release/tests/packaging/CTestTestfile.cmake; do
                ctest --test-dir "$(dirname "$tests")" --output-on-failure --no-tests=error -j2
            done
        else
            build build
            # A real-window test that fails once (rarely, right after a build, when a fresh virtual
            # display is not yet reachable) runs once more; one that fails twice fails the suite.
            ctest --test-dir build --output-on-failure -j2 --repeat until-pass:2
        fi
        ;;
    package)
        install_missing "${PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"
        build build-package -DCMAKE_BUILD_TYPE=Release -DBRINDLEMOOR_TESTS=OFF -DBRINDLEMOOR_BENCH=OFF
        rm -f build-package/brindlemoor_*.deb
        (cd build-package && cpack -G DEB >/dev/null)
        for check in lintian desktop-file appstream; do
            tests/packaging/check_package.sh "$check" build-package
        done
        ls build-package/brindlemoor_*.deb
        ;;
    fuzz)
        install_missing "${PACKAGES[@]}"
        seconds=${1:-30}
        CC=clang CXX=clang++ build build-fuzz -DBRINDLEMOOR_FUZZ=ON
        for target in build-fuzz/fuzz/fuzz_*; do
            name=$(basename "$target")
            corpus=fuzz/corpus/${name#fuzz_}
            mkdir -p "build-fuzz/corpus-$name"
            echo "Fuzzing $name for ${seconds}s"
            "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 "build-fuzz/corpus-$name" "$corpus"
        done
        ;;
    format-check | format)
        install_missing "${FORMAT_PACKAGES[@]}"
        mapfile -d '' sources < <(git ls-files -z -- '*.cpp' '*.cc' '*.h' '*.hpp')
        if [ "$verb" = format ]; then
            clang-format -i "${sources[@]}"
        elif ! clang-format --dry-run --Werror "${sources[@]}"; then
            echo "The files above differ from .clang-format; ./do format rewrites them." >&2
            exit 1
        fi
        ;;
    *)
        echo "usage: ./do run | test [--sanitize | --release | --windows] | build | package | fuzz [SECONDS] | format-check | format" >&2
        exit 2
        ;;
esac
