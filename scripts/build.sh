#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR). Arguments go to cmake's configure step;
# $TARGETS (space-separated) limits the build to those targets, e.g. TARGETS="tovrimo". The
# compile commands (compile_commands.json) are written for scripts/tidy.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
WERROR=OFF; [ "${CI:-}" = "true" ] && WERROR=ON
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DTOVRIMO_WERROR=$WERROR -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "$@" >/dev/null
target_args=()
for t in ${TARGETS:-}; do target_args+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j "$(nproc)" "${target_args[@]}"
