#!/usr/bin/env bash
# Installs what building and running need and is missing, builds the program alone (no tests),
# and runs Tovrimo resident in the tray of the current X or Wayland display. Without a display
# it builds the demo's test card too and runs a demonstration instead: a private X server and
# a private PDF printer, one desktop hard copy, and the path of the printed PDF.
#   bash scripts/run.sh [ARGS…]     (ARGS go to tovrimo)
#   bash scripts/run.sh --dry-run   (print the packages and targets; install and build nothing)
set -euo pipefail
cd "$(dirname "$0")/.."
TARGETS="tovrimo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then TARGETS="tovrimo demo_card"; fi
if [ "${1:-}" = "--dry-run" ]; then
  bash scripts/deps.sh --dry-run build run
  echo "Targets: $TARGETS"
  exit 0
fi
bash scripts/deps.sh build run
# A tree configured before keeps its choice of tests; a new one builds without them.
configure=(); [ -f "${BUILD_DIR:-build}/CMakeCache.txt" ] || configure=(-DTOVRIMO_TESTS=OFF)
TARGETS="$TARGETS" bash scripts/build.sh "${configure[@]}"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "${BUILD_DIR:-build}/tovrimo" "$@"
fi
exec bash scripts/demo.sh
