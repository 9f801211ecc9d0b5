#!/usr/bin/env bash
# Builds the Debian package build/tovrimo_<version>_<arch>.deb (or in $BUILD_DIR): installs
# what building and packaging need, builds the program, and runs cpack on the build tree.
#   bash scripts/package.sh
# Then, on Debian 12 or 13:  sudo apt install ./build/tovrimo_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
bash scripts/deps.sh build package
# A tree configured before keeps its choice of tests; a new one builds without them.
configure=(); [ -f "$BUILD_DIR/CMakeCache.txt" ] || configure=(-DTOVRIMO_TESTS=OFF)
TARGETS="tovrimo tovrimo_docs" bash scripts/build.sh "${configure[@]}"
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
ls "$BUILD_DIR"/tovrimo_*.deb
