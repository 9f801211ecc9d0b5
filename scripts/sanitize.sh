#!/usr/bin/env bash
# Builds the unit and GUI tests with AddressSanitizer + UndefinedBehaviorSanitizer into
# build-asan/ and runs them. The GUI tests start their own Xvfb, window manager, tray and
# cupsd. Leaks inside Qt's, fontconfig's and xcb's own one-time allocations are suppressed by
# scripts/lsan.supp; a leak in our code fails the run.
#   bash scripts/sanitize.sh            (build and run both)
#   bash scripts/sanitize.sh --build-only
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
BUILD=build-asan
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVRIMO_SANITIZE=ON \
  -DTOVRIMO_WERROR=ON >/dev/null
cmake --build "$BUILD" -j 2 --target unit_tests gui_tests tovrimo
[ "${1:-}" = "--build-only" ] && exit 0

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
status=0
echo "== unit tests"
(cd "$BUILD" && QT_QPA_PLATFORM=offscreen ./tests/unit_tests --gtest_brief=1) || status=1
echo "== GUI tests"
(cd "$BUILD/tests" && ctest -L '^gui$' --output-on-failure) || status=1
[ $status -eq 0 ] && echo "sanitizer run clean"
exit $status
