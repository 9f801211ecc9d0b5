#!/usr/bin/env bash
# Installs what is missing (every list of scripts/deps.sh), checks the format, builds, runs clang-tidy
# (scripts/tidy.sh), and runs every test: unit tests, then GUI and end-to-end
# tests that start their own Xvfb, window manager, tray and private cupsd, and stop them again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build run test format package
bash scripts/check-format.sh
bash scripts/build.sh
bash scripts/tidy.sh
cd "${BUILD_DIR:-build}"
# Qt looks for a runtime folder; without one it warns. Give the tests a private one (mode 0700).
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d /tmp/tovrimo-test-runtime.XXXXXX)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
ctest --output-on-failure --timeout 1800
