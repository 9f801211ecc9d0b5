#!/usr/bin/env bash
# A hard copy without a desktop: private Xvfb + openbox, private cupsd with a PDF queue,
# `tovrimo /d`, then where the page landed. Everything started here is stopped by pid.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BIN="$ROOT/${BUILD_DIR:-build}/tovrimo"
WORK=$(mktemp -d /tmp/tovrimo-demo.XXXXXX)
chmod 755 "$WORK"
PIDS=()
cleanup() { for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# X server on a free display number.
for n in $(seq 70 99); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & PIDS+=($!)
export DISPLAY=":$n"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 & PIDS+=($!)
xsetroot -solid '#3060a0' 2>/dev/null || true

# Private cupsd with one PDF queue.
C="$WORK/cups"
source "$ROOT/scripts/private-cups.sh"
start_private_cups "$C"
lpadmin -h "$CUPS_SERVER" -p Demo -E -v "file://$C/out/Demo.pdf" -P "$ROOT/tests/data/ppd/TovA4.ppd"
lpadmin -h "$CUPS_SERVER" -d Demo

PROG="$WORK/program"; mkdir -p "$PROG"
# A layout that shows off the page: the desktop fitted to A4 with a title line under it.
cat >"$PROG/tovrimo.ini" <<INI
[Application]
Title=トヴリモ
Version=2.80
[Option]
ConfirmBeforePrint=0
[DefaultPrinter]
DeviceName=Demo
Orientation=1
PaperSize=9
Pos=1
Size=2
FontName=IPAGothic
FontSize=12
TitleText=トヴリモ デモ &[日付] &[時刻] &[PC名]
TitleVAlign=1
INI
echo "Printing a hard copy of the demo desktop ($DISPLAY) on the private queue Demo..."
TOVRIMO_PROGRAM_DIR="$PROG" "$BIN" /d
for _ in $(seq 200); do
  [ -z "$(lpstat -h "$CUPS_SERVER" -o 2>/dev/null)" ] && [ -s "$C/out/Demo.pdf" ] && break
  sleep 0.05
done
echo "The page landed in: $C/out/Demo.pdf"
pdfinfo "$C/out/Demo.pdf" 2>/dev/null | grep -E 'Pages|Page size' || true
echo "Settings written to: $PROG/tovrimo.ini"
