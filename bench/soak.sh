#!/usr/bin/env bash
# A long day in the tray: one resident Tovrimo, driven by its hot keys, makes hard copies (the
# first half as the page image at screen resolution, the second half at full detail, switched
# on in the options dialog between the halves), desktop copies onto the clipboard, and sticky
# notes that are made from the clipboard and peeled off again. Every 100 operations the
# program's resident memory, open file descriptors and threads are sampled. Prints the table
# and whether the memory grew by less than the allowed amount after the first 100 and the
# descriptor and thread counts stayed flat.
# Environment: BUILD_DIR (default build-perf), HARDCOPIES (default 1000), COPIES (default 1000),
# NOTES (default 200), GROWTH_MIB (allowed RSS growth after the first sample, default 2),
# NO_INSTALL=1, NO_BUILD=1. Everything started here is stopped by its pid.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${BUILD_DIR:-build-perf}
HARDCOPIES=${HARDCOPIES:-1000}
COPIES=${COPIES:-1000}
NOTES=${NOTES:-200}
GROWTH_MIB=${GROWTH_MIB:-2}
SAMPLE_EVERY=100

need=()
for pair in lp:cups-client lpadmin:cups-client cupsd:cups Xvfb:xvfb openbox:openbox \
  trayer:trayer xdpyinfo:x11-utils dbus-daemon:dbus cmake:cmake ninja:ninja-build g++:g++ \
  pkg-config:pkg-config xdotool:xdotool xclip:xclip import:imagemagick; do
  command -v "${pair%%:*}" >/dev/null 2>&1 || need+=("${pair#*:}")
done
for pkg in qt6-base-dev libcups2-dev libx11-dev libxcb1-dev libxcb-keysyms1-dev libxfixes-dev \
  libxcb-xfixes0-dev libxcb-shm0-dev fonts-ipafont-gothic cups-filters; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ] && [ -z "${NO_INSTALL:-}" ]; then
  echo "installing: ${need[*]}"
  SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
fi
if [ -z "${NO_BUILD:-}" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -g -DNDEBUG" -DTOVRIMO_WERROR=ON >/dev/null
  ninja -C "$BUILD" -j2 tovrimo job_wait >/dev/null
fi
BIN="$ROOT/$BUILD/tovrimo"
BENCH="$ROOT/$BUILD/bench"

WORK=$(mktemp -d /tmp/tovrimo-soak.XXXXXX)
chmod 755 "$WORK"
PIDS=()
cleanup() {
  local p
  local i
  # The program first, the X server last: in the reverse order of their start.
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
    p=${PIDS[$i]}
    kill "$p" 2>/dev/null || continue
    for _ in $(seq 60); do kill -0 "$p" 2>/dev/null || break; sleep 0.05; done
    wait "$p" 2>/dev/null || true
  done
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "soak: $*" >&2; exit 1; }

for n in $(seq 80 120); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 & PIDS+=($!)
export DISPLAY=":$n"
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 & PIDS+=($!)
sleep 0.3
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 & PIDS+=($!)
# The packaged ImageMagick, even where something else named convert comes first on the PATH.
CONVERT=/usr/bin/convert; [ -x "$CONVERT" ] || CONVERT=convert
"$CONVERT" -size 192x108 plasma:fractal -blur 0x2 -resize '1920x1080!' -depth 8 "$WORK/wall.png"
display -window root "$WORK/wall.png" 2>/dev/null || true
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
  { read -r a; read -r p; echo "DBUS_SESSION_BUS_ADDRESS='$a'; BUS_PID=$p"; })"
export DBUS_SESSION_BUS_ADDRESS
PIDS+=("$BUS_PID")
export XDG_RUNTIME_DIR="$WORK/runtime"; mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/no-system-bus"
export XDG_CONFIG_HOME="$WORK/config"

C="$WORK/cups"
source "$ROOT/scripts/private-cups.sh"
# The history is kept so that the job a hot key submits can be waited for; the documents are
# not (a thousand full-detail pages would fill the disk).
start_private_cups "$C" "MaxJobs 0" "PreserveJobHistory Yes" "PreserveJobFiles No" ||
  fail "the private scheduler did not start"
Q=Soak
lpadmin -h "$CUPS_SERVER" -p $Q -E -v "file:///dev/null" -P "$ROOT/tests/data/ppd/TovA4.ppd"
lpadmin -h "$CUPS_SERVER" -d $Q

# Settings: a first run writes the stored layout for the default printer; then hot keys on
# Ctrl+Alt+P (desktop hard copy, printed at once), Ctrl+Alt+C (desktop copy), Ctrl+Alt+O (the
# options dialog) and Ctrl+Alt+N (a sticky note from the clipboard).
PROG="$WORK/program"; mkdir -p "$PROG"
export TOVRIMO_PROGRAM_DIR="$PROG"
"$BIN" /d
"$BENCH/job_wait" $Q || fail "the first page did not finish"
hotkey() {  # slot key-code
  sed -i -e "s/^HotKeyOn$1=.*/HotKeyOn$1=1/" -e "s/^HotKeyALT$1=.*/HotKeyALT$1=1/" \
    -e "s/^HotKeyCTRL$1=.*/HotKeyCTRL$1=1/" -e "s/^HotKeySHIFT$1=.*/HotKeySHIFT$1=0/" \
    -e "s/^HotKeyButton$1=.*/HotKeyButton$1=$2/" "$PROG/tovrimo.ini"
  grep -q "^HotKeyButton$1=$2\$" "$PROG/tovrimo.ini" || fail "no hot-key slot $1 in the settings"
}
sed -i -e 's/^Size=.*/Size=2/' -e 's/^ConfirmBeforePrint=.*/ConfirmBeforePrint=0/' "$PROG/tovrimo.ini"
hotkey 0 80; hotkey 4 67; hotkey 8 79; hotkey 9 78
grep -q '^FullDetailPrint=1' "$PROG/tovrimo.ini" && fail "full detail is on from the start"

"$BIN" & APP=$!
PIDS+=("$APP")
sleep 3
kill -0 "$APP" 2>/dev/null || fail "the resident program did not stay"

SAMPLES="$WORK/samples"
: >"$SAMPLES"
done_ops=0
sample() {  # phase
  local rss anon file fds threads
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$APP/status")
  anon=$(awk '/^RssAnon:/ {print $2}' "/proc/$APP/status")
  file=$(awk '/^RssFile:/ {print $2}' "/proc/$APP/status")
  threads=$(awk '/^Threads:/ {print $2}' "/proc/$APP/status")
  fds=$(find "/proc/$APP/fd" -mindepth 1 -maxdepth 1 | wc -l)
  echo "$done_ops $1 $rss $fds $threads $anon $file" >>"$SAMPLES"
}
tick() {  # phase: one operation done
  done_ops=$((done_ops + 1))
  kill -0 "$APP" 2>/dev/null || fail "the resident program died after $done_ops operations"
  if [ $((done_ops % SAMPLE_EVERY)) -eq 0 ]; then sample "$1"; fi
}

hardcopies() {  # count phase
  local i last
  for ((i = 0; i < $1; i++)); do
    last=$("$BENCH/job_wait" $Q --last)
    xdotool key ctrl+alt+p
    "$BENCH/job_wait" $Q --after "$last" || fail "hard copy $i ($2): the page did not finish"
    # Forget finished jobs now and then, so the scheduler's list stays short.
    if [ $((i % 50)) -eq 49 ]; then cancel -h "$CUPS_SERVER" -a -x $Q 2>/dev/null || true; fi
    tick "$2"
  done
}

clipboard_stamp() { { xclip -o -selection clipboard -t TIMESTAMP 2>/dev/null || true; } | od -An -tu4 | tr -d ' \n'; }
copies() {  # count
  local i before k
  for ((i = 0; i < $1; i++)); do
    before=$(clipboard_stamp)
    xdotool key ctrl+alt+c
    for ((k = 0; k < 400; k++)); do
      [ "$(clipboard_stamp)" != "$before" ] && break
      sleep 0.01
    done
    [ "$k" -lt 400 ] || fail "copy $i: the clipboard did not change"
    tick copy
  done
}

note_windows() { xdotool search --onlyvisible --name '^付せん [0-9]+$' 2>/dev/null || true; }
notes() {  # count: one note made from the clipboard, then peeled off
  local i k ids
  for ((i = 0; i < $1; i++)); do
    xdotool key ctrl+alt+n
    for ((k = 0; k < 300; k++)); do
      ids=$(note_windows)
      [ -n "$ids" ] && break
      sleep 0.01
    done
    [ -n "$ids" ] || fail "note $i: no note appeared"
    # Peeled off from its own menu, as a user does: a right click on the picture, then the
    # menu's last item.
    eval "$(xdotool getwindowgeometry --shell "${ids%%$'\n'*}")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
    sleep 0.15
    xdotool key Up Return
    for ((k = 0; k < 300; k++)); do
      [ -z "$(note_windows)" ] && break
      sleep 0.01
    done
    [ -z "$(note_windows)" ] || fail "note $i: it stayed on the screen"
    tick note
  done
}

# Full detail on, as a user would switch it: the options dialog from its hot key, the box
# ticked from the keyboard, OK. The saved settings show that it took.
full_detail_on() {
  local k
  xdotool key ctrl+alt+o
  for ((k = 0; k < 300; k++)); do
    xdotool search --onlyvisible --name '^オプション' >/dev/null 2>&1 && break
    sleep 0.01
  done
  sleep 0.3
  # shellcheck disable=SC2086
  xdotool key $FULL_DETAIL_KEYS
  sleep 0.3
  xdotool key Return
  for ((k = 0; k < 300; k++)); do
    grep -q '^FullDetailPrint=1' "$PROG/tovrimo.ini" && return 0
    sleep 0.01
  done
  fail "full detail was not switched on (settings: $(grep -c . "$PROG/tovrimo.ini") lines)"
}
# From the dialog's first focus (its first tab) to the full-detail box: the two choice groups,
# the four boxes and the seconds above it, then the two boxes before it.
FULL_DETAIL_KEYS=${FULL_DETAIL_KEYS:-"Tab Tab Tab Tab Tab Tab Tab Tab Tab space"}

sample start
start=$(date +%s)
echo "soak: $((HARDCOPIES / 2)) hard copies..." >&2
hardcopies $((HARDCOPIES / 2)) hardcopy
full_detail_on
echo "soak: $((HARDCOPIES - HARDCOPIES / 2)) full-detail hard copies..." >&2
hardcopies $((HARDCOPIES - HARDCOPIES / 2)) full-detail
echo "soak: $COPIES copies..." >&2
copies "$COPIES"
echo "soak: $NOTES notes..." >&2
notes "$NOTES"
elapsed=$(($(date +%s) - start))

echo
echo "Tovrimo soak, $(date -u +%Y-%m-%d), $(nproc) cores, one resident program, $elapsed s"
echo "| operations | phase       | RSS MiB | own MiB | mapped files MiB | fds | threads |"
echo "|-----------:|-------------|--------:|--------:|-----------------:|----:|--------:|"
awk '{printf "| %10d | %-11s | %7.1f | %7.1f | %16.1f | %3d | %7d |\n", $1, $2, $3 / 1024, $6 / 1024, $7 / 1024, $4, $5}' "$SAMPLES"
echo "(own: anonymous memory, the heap and stacks; mapped files: the pages of the program and its"
echo "libraries that were read in, shared with every other process that uses them)"
# Judged from the sample after the first 100 operations on. The descriptor and thread counts
# may fall (idle worker threads of the printing path end after a while), never grow.
awk -v g="$GROWTH_MIB" '$1 >= 100 {
    if (!seen) { base = $3; abase = $6; fbase = $4; tbase = $5; fmin = fmax = $4; tmin = tmax = $5; seen = 1 }
    if ($3 > peak) peak = $3
    if ($6 > apeak) apeak = $6
    if ($4 < fmin) fmin = $4; if ($4 > fmax) fmax = $4
    if ($5 < tmin) tmin = $5; if ($5 > tmax) tmax = $5
  } END {
    if (!seen) { print "fewer than 100 operations: no verdict"; exit 1 }
    growth = (peak - base) / 1024; own = (apeak - abase) / 1024
    printf "RSS growth after the first 100: %.2f MiB (target < %s MiB): %s\n", growth, g, growth < g ? "met" : "MISS"
    printf "  of it the own (anonymous) memory: %.2f MiB, the rest pages of mapped files\n", own
    printf "fds %d..%d, threads %d..%d after the first 100, never above %d and %d: %s\n", fmin, fmax, tmin, tmax, fbase, tbase, (fmax <= fbase && tmax <= tbase) ? "met" : "MISS"
  }' "$SAMPLES"
