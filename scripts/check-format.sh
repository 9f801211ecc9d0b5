#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what .clang-format makes of it, and lists the
# files. `cmake --build build --target format` (or this script with --fix) formats them.
# Every release formats the same: the check uses only the clang-format pinned in
# scripts/formatter/ (npm package clang-format 1.8.0, a static LLVM 15.0.0 binary), installed
# once with `npm ci` into $TOVRIMO_FORMATTER_DIR (default ~/.cache/tovrimo/formatter-1.8.0).
# Debian's own clang-format (14 on Debian 12, 19 on Debian 13) is never used: they disagree.
set -euo pipefail
cd "$(dirname "$0")/.."
PIN_VERSION="clang-format version 15.0.0"
DIR=${TOVRIMO_FORMATTER_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/tovrimo/formatter-1.8.0}
FORMAT="$DIR/node_modules/clang-format/bin/linux_x64/clang-format"
if ! "$FORMAT" --version 2>/dev/null | grep -qF "$PIN_VERSION"; then
  command -v npm >/dev/null || bash scripts/deps.sh format
  rm -rf "$DIR"
  mkdir -p "$DIR"
  cp scripts/formatter/package.json scripts/formatter/package-lock.json "$DIR/"
  (cd "$DIR" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >/dev/null)
  chmod +x "$FORMAT"
  "$FORMAT" --version | grep -qF "$PIN_VERSION" ||
    { echo "The pinned formatter in $DIR is not $PIN_VERSION." >&2; exit 1; }
fi
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
echo "Formatting: ${#files[@]} files match .clang-format ($PIN_VERSION)."
