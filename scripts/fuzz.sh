#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build-fuzz/ and runs each one for a
# fixed number of executions, starting from the committed corpus in fuzz/corpus/<target>/.
#   bash scripts/fuzz.sh [executions]        (default 10000000 per target)
#   FUZZ_TARGETS="IniValuesFuzz" bash scripts/fuzz.sh 100000
# New interesting inputs go to build-fuzz/corpus/<target>/ (not committed); a finding stops
# the run with libFuzzer's report and leaves crash-* in build-fuzz/.
#
# Last runs (executions reached, time, findings):
#   IniValuesFuzz          10,000,000                    none
#   CommandLineFuzz        10,000,000                    none
#   TitleFieldsFuzz        10,000,000     4,967 s        none
#   SettingsLoadFuzz       10,000,000     5,900 s        none
#   IniDocumentFuzz        10,000,000     5,789 s        none (earlier: a Shift_JIS file, mended)
#   PrinterAttributesFuzz  10,000,000       905 s        none (an earlier run of 7.1 M too; two
#                          earlier runs had found an out-of-range resolution unit loaded as an
#                          enum and a stand-in sheet of 0 x 0, both mended and in its corpus)
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-10000000}
TARGETS=${FUZZ_TARGETS:-"IniValuesFuzz CommandLineFuzz TitleFieldsFuzz IniDocumentFuzz SettingsLoadFuzz PrinterAttributesFuzz"}
BUILD=build-fuzz

need=()
for p in clang libclang-rt-dev cmake ninja-build; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOVRIMO_FUZZ=ON -DTOVRIMO_TESTS=OFF -DTOVRIMO_WERROR=ON >/dev/null
# Only the fuzz targets: the program itself is not needed here.
cmake --build "$BUILD" -j 2 --target $TARGETS

# A short allocation history and a smaller quarantine roughly double the speed of the
# settings targets; rerun a crash-* input without these options for full stacks.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:malloc_context_size=5:quarantine_size_mb=64:max_malloc_fill_size=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in $TARGETS; do
  mkdir -p "$BUILD/corpus/$t"
  echo "== $t: $RUNS executions"
  start=$(date +%s)
  status=0
  # A printer's answer with its media database runs to several kilobytes.
  maxlen=4096; [ "$t" = PrinterAttributesFuzz ] && maxlen=16384
  (cd "$BUILD" && "./fuzz/$t" -runs="$RUNS" -max_len="$maxlen" -print_final_stats=1 \
      -dict="../fuzz/tovrimo.dict" "corpus/$t" "../fuzz/corpus/$t") >"$BUILD/$t.log" 2>&1 || status=$?
  grep -E "^(stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)|Done)" "$BUILD/$t.log" || true
  [ "$status" -eq 0 ] || grep -E "invariant failed|ERROR|SUMMARY|^ +#[0-9]+ .*(src|fuzz)/" "$BUILD/$t.log" | head -20
  echo "   $t: $(( $(date +%s) - start )) s, exit $status"
  [ "$status" -eq 0 ] || exit "$status"
done
