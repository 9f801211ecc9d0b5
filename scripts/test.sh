#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit tests, then GUI and end-to-end
# tests that start their own Xvfb, window manager, tray and private cupsd, and stop them again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
cd "${BUILD_DIR:-build}"
ctest --output-on-failure --timeout 1800
