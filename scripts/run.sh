#!/usr/bin/env bash
# Installs what is missing, builds, and runs Tovrimo resident in the tray of the current X or
# Wayland display. Without a display it runs a demonstration instead: a private X server and a
# private PDF printer, one desktop hard copy, and the path of the printed PDF.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "${BUILD_DIR:-build}/tovrimo" "$@"
fi
exec bash scripts/demo.sh
