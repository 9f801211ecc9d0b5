#!/usr/bin/env bash
# A hard copy without a desktop: private Xvfb + openbox with a test card window on it, private
# cupsd with a PDF queue, `tovrimo /d`, then what the page shows and where it landed.
# Everything started here is stopped by pid.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${BUILD_DIR:-build}
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
BIN="$BUILD/tovrimo"
WORK=$(mktemp -d /tmp/tovrimo-demo.XXXXXX)
chmod 755 "$WORK"
# Qt programs look for a runtime folder; give them a private one (mode 0700) when there is none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
PIDS=()
cleanup() { for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# X server on a free display number.
for n in $(seq 70 99); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & PIDS+=($!)
export DISPLAY=":$n"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 & PIDS+=($!)
# A window mapped while the window manager is still starting up can stay unmapped: wait until
# openbox has announced itself on the root window.
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
xsetroot -solid '#3060a0' 2>/dev/null || true
# Something worth printing: a test card window in the middle of the blue desktop.
"$BUILD/demo_card" >"$WORK/card.out" 2>"$WORK/card.err" & PIDS+=($!)
CARD=no
for _ in $(seq 600); do
  grep -q ready "$WORK/card.out" 2>/dev/null && { CARD=yes; break; }
  sleep 0.05
done
[ "$CARD" = yes ] || echo "The test card did not appear within 30 s (see $WORK/card.err)."

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
if [ "$CARD" = yes ]; then cat <<TXT
The page shows: the demo desktop (1280 x 1024, blue) across the top of an A4 sheet, with
  the window 「トヴリモ デモ - テストカード」 in the middle of it: colour bars, a grey wedge,
  a picture of a mountain under a red sun, and Japanese text about what Tovrimo does; under
  the image the title line "トヴリモ デモ <date> <time> <computer name>".
TXT
else
  echo "The page shows: the empty blue demo desktop, with the title line under it."
fi
echo "The page landed in: $C/out/Demo.pdf"
pdfinfo "$C/out/Demo.pdf" 2>/dev/null | grep -E 'Pages|Page size' || true
echo "Settings written to: $PROG/tovrimo.ini"
