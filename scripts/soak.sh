#!/usr/bin/env bash
# Soak test (not part of ctest): a thousand hard copies from the resident program, through its
# hot key, into the private PDF queue of the end-to-end harness; reports resident memory
# (VmRSS at start, after the first and second copies and at the end), open descriptors and X
# resources (xrestop) of the program, and fails when memory grows by 1 MB or more from the
# second copy on, or a descriptor or X resource leaks.
#   bash scripts/soak.sh            (1000 copies)
#   TOVRIMO_SOAK_COPIES=200 bash scripts/soak.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
if ! command -v xrestop >/dev/null; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends xrestop >/dev/null || true
fi
BUILD_DIR=${BUILD_DIR:-build}
bash scripts/build.sh
"$BUILD_DIR/tests/e2e_faults" --gtest_also_run_disabled_tests \
  --gtest_filter='SoakE2E.DISABLED_AThousandHotKeyHardCopies'
