#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over every source file of src/, with the
# compile commands of the build in build/ (or $BUILD_DIR), and fails on any finding, which it
# lists. scripts/build.sh writes the compile commands.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/compile_commands.json" ]; then
  echo "tidy.sh: $BUILD_DIR/compile_commands.json is missing (configure with scripts/build.sh)" >&2
  exit 2
fi
command -v clang-tidy >/dev/null || bash scripts/deps.sh test
mapfile -t files < <(git ls-files -- 'src/*.cpp')
report=$(mktemp)
trap 'rm -f "$report"' EXIT
# Each file on its own; a file that does not compile counts as a finding too.
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$BUILD_DIR" --quiet >"$report" 2>/dev/null || true
findings=$(grep -cE '^[^ ].*: (warning|error): ' "$report" || true)
if [ "$findings" -ne 0 ]; then
  grep -E '^[^ ].*: (warning|error): ' "$report" >&2
  echo "tidy.sh: $findings findings in ${#files[@]} files ($(clang-tidy --version | grep -o 'version [0-9.]*'))" >&2
  exit 1
fi
echo "clang-tidy: no findings in ${#files[@]} files ($(clang-tidy --version | grep -o 'version [0-9.]*'))."
