#!/usr/bin/env bash
# Builds the unit, GUI and end-to-end tests with AddressSanitizer + UndefinedBehaviorSanitizer
# into build-asan/ and runs them. The GUI and end-to-end tests start their own Xvfb, window
# manager, tray and cupsd; the end-to-end ones run the sanitized program itself, whose reports
# go to build-asan/sanitizer-logs/ (a program that stops on a finding may not fail its test, so
# any report there fails the run). Leaks inside Qt's, fontconfig's and xcb's own one-time allocations are suppressed by
# scripts/lsan.supp; a leak in our code fails the run.
#   bash scripts/sanitize.sh            (build and run all three)
#   bash scripts/sanitize.sh --build-only
#   SANITIZE_E2E_AREAS="printing faults" bash scripts/sanitize.sh   (only these e2e areas)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
BUILD=build-asan
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVRIMO_SANITIZE=ON \
  -DTOVRIMO_WERROR=ON >/dev/null
# tovrimo_docs: the help tests install the build, manual page included.
cmake --build "$BUILD" -j 2 --target unit_tests gui_tests e2e_tests tovrimo tovrimo_docs
[ "${1:-}" = "--build-only" ] && exit 0

LOGS=$PWD/$BUILD/sanitizer-logs
rm -rf "$LOGS" && mkdir -p "$LOGS"
# The Wayland, KDE and GNOME sessions run the program as nobody when the tests run as root.
chmod 1777 "$LOGS"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
status=0
echo "== unit tests"
# One executable per layer.
for unit in "$PWD/$BUILD"/tests/unit_*; do
  [ -f "$unit" ] && [ -x "$unit" ] || continue
  (cd "$BUILD" && QT_QPA_PLATFORM=offscreen "$unit" --gtest_brief=1) || status=1
done
echo "== GUI tests"
(cd "$BUILD/tests" && ctest -L '^gui$' --output-on-failure) || status=1
echo "== end-to-end tests"
# The program under test writes its reports to files: its standard error is the harness's.
areas=${SANITIZE_E2E_AREAS:-}
filter='^e2e\.'
[ -n "$areas" ] && filter="^e2e\.($(echo "$areas" | tr ' ' '|'))\$"
(cd "$BUILD/tests" &&
  ASAN_OPTIONS=$ASAN_OPTIONS:log_path=$LOGS/asan UBSAN_OPTIONS=$UBSAN_OPTIONS:log_path=$LOGS/ubsan \
  ctest -R "$filter" --output-on-failure) || status=1
if [ -n "$(ls -A "$LOGS")" ]; then
  echo "sanitizer reports of the end-to-end run:"
  head -40 "$LOGS"/*
  status=1
fi
[ $status -eq 0 ] && echo "sanitizer run clean"
exit $status
