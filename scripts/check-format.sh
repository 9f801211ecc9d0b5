#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what .clang-format makes of it, and lists the
# files. `cmake --build build --target format` (or this script with --fix) formats them.
set -euo pipefail
cd "$(dirname "$0")/.."
FORMAT=$(command -v clang-format-14 || command -v clang-format)
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
  'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' 'demo/*.cpp' 'demo/*.h')
if [ "${1:-}" = "--fix" ]; then
  "$FORMAT" -i "${files[@]}"
  exit 0
fi
drift=()
for f in "${files[@]}"; do
  "$FORMAT" --dry-run --Werror "$f" >/dev/null 2>&1 || drift+=("$f")
done
if [ ${#drift[@]} -gt 0 ]; then
  echo "These files differ from .clang-format (run: bash scripts/check-format.sh --fix):" >&2
  printf '  %s\n' "${drift[@]}" >&2
  exit 1
fi
echo "Formatting: ${#files[@]} files match .clang-format."
