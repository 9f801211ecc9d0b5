#!/usr/bin/env bash
# Performance of Tovrimo against the tools a user would pick instead, on one private X server
# (Xvfb 1920x1080 + openbox + trayer) and one private cupsd with a PDF queue. Prints a table:
# our median, the peer's median, the ratio, the target, met or not. Everything started here is
# stopped by its pid. Every hard-copy figure is measured in two environments: bare (no system
# bus) and desktop-like (a system bus and avahi-daemon on loopback, as every desktop has; once
# with no printer announced and once with an IPP Everywhere simulator announced), the latter in
# a private network and mount namespace. Environment: BUILD_DIR (default build-perf), RUNS (hard
# copies per command, default 15), TRAY_RUNS (start-ups per program, default 7), NO_INSTALL=1,
# IPP=0 (skip the desktop-like environment), IPP_RUNS (hard copies per command on the
# simulator's queue, default 7), NO_BUILD=1.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${BUILD_DIR:-build-perf}
RUNS=${RUNS:-15}
TRAY_RUNS=${TRAY_RUNS:-7}

# --- what it needs -----------------------------------------------------------------------
need=()
for pair in scrot:scrot import:imagemagick flameshot:flameshot lp:cups-client lpadmin:cups-client \
  cupsd:cups Xvfb:xvfb xauth:xauth openbox:openbox trayer:trayer xdpyinfo:x11-utils \
  xsetroot:x11-xserver-utils dbus-daemon:dbus cmake:cmake ninja:ninja-build g++:g++ \
  pkg-config:pkg-config xdotool:xdotool avahi-daemon:avahi-daemon ippeveprinter:cups-ipp-utils; do
  command -v "${pair%%:*}" >/dev/null 2>&1 || need+=("${pair#*:}")
done
for pkg in qt6-base-dev libcups2-dev libx11-dev libxcb1-dev libxcb-keysyms1-dev libxfixes-dev \
  libxcb-xfixes0-dev libxcb-shm0-dev libgtest-dev fonts-ipafont-gothic cups-filters; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ] && [ -z "${NO_INSTALL:-}" ]; then
  echo "installing: ${need[*]}"
  SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
fi

# --- build (Release; -O2, the level the distribution builds Qt with) ----------------------
# NO_BUILD=1 takes the binaries already in BUILD_DIR (an -O2 build of the same sources).
if [ -z "${NO_BUILD:-}" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -g -DNDEBUG" -DTOVRIMO_WERROR=ON >/dev/null
  ninja -C "$BUILD" -j2 tovrimo capture_bench preview_bench region_bench tray_watch job_wait \
    page_bench >/dev/null
fi
BIN="$ROOT/$BUILD/tovrimo"
BENCH="$ROOT/$BUILD/bench"

# The desktop-like environment: a system bus and an avahi-daemon of its own on the loopback
# interface, which the IPP Everywhere simulator needs too. That run goes into a private network
# and mount namespace so that nothing is announced outside and no other avahi on the machine
# meets ours.
IPP=${IPP:-1}
# The child (TOVRIMO_BENCH_NS set) measures only the IPP rows; everything else is measured out
# here, outside the namespace, where programs start as they do on a desktop.
CHILD=${TOVRIMO_BENCH_NS:+1}
if [ "$IPP" = 1 ] && [ -z "$CHILD" ]; then
  if ! { [ "$(id -u)" -eq 0 ] && command -v ippeveprinter >/dev/null &&
    command -v avahi-daemon >/dev/null && unshare --net --mount true 2>/dev/null; }; then
    echo "no IPP simulator run (needs root, unshare, ippeveprinter, avahi-daemon)" >&2
    IPP=0
  fi
fi
if [ -n "${TOVRIMO_BENCH_NS:-}" ]; then
  ip link set lo up
  mount --make-rprivate /
  NSRUN=$(mktemp -d /tmp/tovrimo-bench-run.XXXXXX)
  mkdir -p "$NSRUN/avahi" "$NSRUN/dbus" /run/avahi-daemon /run/dbus
  mount --bind "$NSRUN/avahi" /run/avahi-daemon
  mount --bind "$NSRUN/dbus" /run/dbus
fi

# --- private session -----------------------------------------------------------------------
WORK=$(mktemp -d /tmp/tovrimo-bench.XXXXXX)
chmod 755 "$WORK"
PIDS=()
EVE_PIDS=()  # printer, avahi, system bus: stopped in this order (avahi spins when the bus goes first)
cleanup() {
  local p
  for p in "${EVE_PIDS[@]}"; do
    kill "$p" 2>/dev/null || continue
    for _ in $(seq 60); do kill -0 "$p" 2>/dev/null || break; sleep 0.05; done
    kill -9 "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
  [ -z "${NSRUN:-}" ] || rm -rf "$NSRUN"
}
trap cleanup EXIT

for n in $(seq 80 120); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 & PIDS+=($!)
export DISPLAY=":$n"
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 & PIDS+=($!)
sleep 0.3
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 & PIDS+=($!)
# A smooth photo-like wallpaper: nobody's image encoder gets a one-colour screen for free, and
# none gets pure noise either. (display returns 1 even when it did set the root.)
# The packaged ImageMagick, even where something else named convert comes first on the PATH.
CONVERT=/usr/bin/convert; [ -x "$CONVERT" ] || CONVERT=convert
"$CONVERT" -size 192x108 plasma:fractal -blur 0x2 -resize '1920x1080!' -depth 8 "$WORK/wall.png"
display -window root "$WORK/wall.png" 2>/dev/null || true
# One session bus for both tray programs, as a desktop session would have.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
  { read -r a; read -r p; echo "DBUS_SESSION_BUS_ADDRESS='$a'; BUS_PID=$p"; })"
export DBUS_SESSION_BUS_ADDRESS
export XDG_RUNTIME_DIR="$WORK/runtime"; mkdir -m 700 -p "$XDG_RUNTIME_DIR"
PIDS+=("$BUS_PID")

C="$WORK/cups"
source "$ROOT/scripts/private-cups.sh"
# Jobs and their documents are kept (and purged between runs) so that a job another program
# submits can be waited for, and so that the page Tovrimo printed can be printed again by lp.
start_private_cups "$C" "MaxJobs 0" "PreserveJobHistory Yes" "PreserveJobFiles Yes"
Q=Bench
lpadmin -h "$CUPS_SERVER" -p $Q -E -v "file:///dev/null" -P "$ROOT/tests/data/ppd/TovA4.ppd"
lpadmin -h "$CUPS_SERVER" -d $Q

ENV_NAME=bare
if [ -n "$CHILD" ]; then
  ENV_NAME=desktop
  D="$WORK/ipp"; mkdir -p "$D/spool" "$D/ssl"
  sed -e "s#<listen>.*</listen>#<listen>unix:path=$D/system_bus_socket</listen>#" -e '/<pidfile>/d' \
    -e '/<user>/d' -e 's#<includedir>system.d</includedir>#<includedir>/usr/share/dbus-1/system.d</includedir>#' \
    /usr/share/dbus-1/system.conf >"$D/bus.conf"
  dbus-daemon --config-file="$D/bus.conf" --nofork >/dev/null 2>&1 & SYSBUS_PID=$!
  # Every program of this run sees the bus and avahi, as on a desktop.
  export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$D/system_bus_socket"
  for _ in $(seq 100); do [ -S "$D/system_bus_socket" ] && break; sleep 0.05; done
  printf '[server]\nallow-interfaces=lo\nuse-ipv4=yes\nuse-ipv6=no\nenable-dbus=yes\n[wide-area]\nenable-wide-area=no\n[publish]\npublish-hinfo=no\npublish-workstation=no\n' >"$D/avahi.conf"
  avahi-daemon --no-drop-root --no-chroot --no-rlimits -f "$D/avahi.conf" >"$D/avahi.log" 2>&1 & AVAHI_PID=$!
  for _ in $(seq 200); do grep -q "startup complete" "$D/avahi.log" && break; sleep 0.05; done
  EVE_PIDS=("$AVAHI_PID" "$SYSBUS_PID")
else
  # Bare: no system bus at all, whatever this machine runs.
  export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/no-system-bus"
fi
start_simulator() {  # an IPP Everywhere printer, announced on the private avahi, behind queue Eve
  # Any command that exits 0 makes the simulator finish a job in about a second.
  printf '#!/bin/sh\nexit 0\n' >"$D/done.sh"; chmod 755 "$D/done.sh"
  ippeveprinter -p 8631 -d "$D/spool" -k -K "$D/ssl" -c "$D/done.sh" \
    -f application/pdf,image/pwg-raster,image/urf BenchEve >"$D/eve.log" 2>&1 & EVE_PID=$!
  EVE_PIDS=("$EVE_PID" "${EVE_PIDS[@]}")
  for _ in $(seq 100); do
    lpadmin -h "$CUPS_SERVER" -p Eve -E -v ipp://localhost:8631/ipp/print -m everywhere 2>/dev/null && break
    sleep 0.1
  done
  lpstat -h "$CUPS_SERVER" -p Eve >/dev/null 2>&1 || { echo "the IPP simulator queue did not come up" >&2; exit 1; }
}

# Tovrimo's settings folders: a first run writes the stored layout (the default printer); both
# print fitted to the paper, one as the page image at screen resolution, one at full detail.
PROG="$WORK/program"; PROG_FULL="$WORK/program-full"; mkdir -p "$PROG" "$PROG_FULL"
export TOVRIMO_PROGRAM_DIR="$PROG"
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$XDG_CONFIG_HOME/flameshot"
cat >"$XDG_CONFIG_HOME/flameshot/flameshot.ini" <<INI
[General]
showStartupLaunchMessage=false
showHelp=false
showDesktopNotification=false
checkForUpdates=false
startupLaunch=false
disabledTrayIcon=false
INI

drain() {  # let the scheduler finish the previous job, so that it does not share the timed run
  "$BENCH/job_wait" "${1:-$Q}" >/dev/null 2>&1 || true
  cancel -h "$CUPS_SERVER" -a -x "${1:-$Q}" 2>/dev/null || true  # and forget the kept jobs
}
"$BIN" /d; drain
sed -i 's/^Size=.*/Size=2/' "$PROG/tovrimo.ini"
sed 's/^\[Option\]$/[Option]\nFullDetailPrint=1/' "$PROG/tovrimo.ini" >"$PROG_FULL/tovrimo.ini"
grep -q '^FullDetailPrint=1$' "$PROG_FULL/tovrimo.ini"
# The resident program with a desktop hard copy on Ctrl+Alt+P (slot 0) that prints at once,
# both ways.
PROG_HK="$WORK/program-hotkey"; PROG_HK_FULL="$WORK/program-hotkey-full"; mkdir -p "$PROG_HK" "$PROG_HK_FULL"
hotkey_settings() {
  sed -e 's/^ConfirmBeforePrint=.*/ConfirmBeforePrint=0/' -e 's/^HotKeyOn0=.*/HotKeyOn0=1/' \
    -e 's/^HotKeyALT0=.*/HotKeyALT0=1/' -e 's/^HotKeyCTRL0=.*/HotKeyCTRL0=1/' \
    -e 's/^HotKeySHIFT0=.*/HotKeySHIFT0=0/' -e 's/^HotKeyButton0=.*/HotKeyButton0=80/' "$1"
}
hotkey_settings "$PROG/tovrimo.ini" >"$PROG_HK/tovrimo.ini"
hotkey_settings "$PROG_FULL/tovrimo.ini" >"$PROG_HK_FULL/tovrimo.ini"
grep -q '^HotKeyButton0=80$' "$PROG_HK/tovrimo.ini"
PROG_EVE="$WORK/program-eve"; PROG_EVE_FULL="$WORK/program-eve-full"; mkdir -p "$PROG_EVE" "$PROG_EVE_FULL"
sed "s/^DeviceName=.*/DeviceName=Eve/" "$PROG/tovrimo.ini" >"$PROG_EVE/tovrimo.ini"
sed "s/^DeviceName=.*/DeviceName=Eve/" "$PROG_FULL/tovrimo.ini" >"$PROG_EVE_FULL/tovrimo.ini"

median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
ms_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.1f\n", (b-a)*1000}'; }

row() {  # name ours peer_name peer unit target_ratio|"" target_abs|""
  awk -v n="$1" -v o="$2" -v pn="$3" -v p="$4" -v u="$5" -v tr="$6" -v ta="$7" 'BEGIN {
    if (p != "") { ratio = o / p; rs = sprintf("%.2fx", ratio); ok = (ratio <= tr) }
    else { rs = "-"; ok = (o <= ta) }
    tgt = (tr != "") ? sprintf("<= %.1fx", tr) : sprintf("<= %s %s", ta, u)
    printf "| %-34s | %10.2f %-3s | %-26s | %7s | %-9s | %-4s |\n", n, o, u,
      (p != "" ? sprintf("%s %.2f", pn, p) : "-"), rs, tgt, ok ? "met" : "MISS" }'
}
# --- P1 + P7: hard copy, end to end, until the page is done (the job completed) ------------
# Interleaved, the order rotating every round. "accepted" is when the command returned (the
# job is queued), "done" when the scheduler has finished it (filters and backend included).
cmd_tovrimo() { TOVRIMO_PROGRAM_DIR="$PROG" "$BIN" /d; }
cmd_full() { TOVRIMO_PROGRAM_DIR="$PROG_FULL" "$BIN" /d; }
cmd_scrot() { scrot -o "$WORK/s.png" && lp -h "$CUPS_SERVER" -d $Q "$WORK/s.png" >/dev/null; }
cmd_import() { import -window root "$WORK/i.png" && lp -h "$CUPS_SERVER" -d $Q "$WORK/i.png" >/dev/null; }
med() { local -n m=$1; tr ' ' '\n' <<<"${m[$2]:-}" | grep . | median || true; }
declare -A accepted done_
hardcopy_runs() {  # command names...: RUNS rounds of each, interleaved
  local names=("$@") r k name
  for ((r = 0; r < RUNS; r++)); do
    for ((k = 0; k < ${#names[@]}; k++)); do
      name=${names[$(((r + k) % ${#names[@]}))]}
      drain
      t0=$EPOCHREALTIME
      "cmd_$name" || { echo "$name failed" >&2; exit 1; }
      accepted[$name]+="$(ms_since "$t0") "
      "$BENCH/job_wait" $Q || { echo "$name: the job did not finish" >&2; exit 1; }
      done_[$name]+="$(ms_since "$t0") "
    done
  done
  drain
}
# The resident program (settings folder $1) in the tray: RUNS hot-key presses, each timed from
# the key until the page is done; the 100 ms capture timer is part of it. The first page it
# prints is kept as $WORK/floor.pdf, for the CUPS floor.
hotkey_runs() {
  local key=$2 r last pid
  TOVRIMO_PROGRAM_DIR="$1" "$BIN" & pid=$!
  PIDS+=("$pid")
  sleep 3  # in the tray, warmed up, network printers looked for
  for ((r = 0; r < RUNS; r++)); do
    drain
    last=$("$BENCH/job_wait" $Q --last)
    t0=$EPOCHREALTIME
    xdotool key ctrl+alt+p
    "$BENCH/job_wait" $Q --after "$last" || { echo "hot key: the job did not finish" >&2; exit 1; }
    done_[$key]+="$(ms_since "$t0") "
    [ "$r" -eq 0 ] && done_[${key}_first]="${done_[$key]}"
    if [ ! -s "$WORK/floor.pdf" ]; then
      cp "$(ls -t "$C"/spool/d*-001 | head -1)" "$WORK/floor.pdf"
    fi
  done
  kill "$pid"; wait "$pid" 2>/dev/null || true
  drain
}
cmd_floor() { lp -h "$CUPS_SERVER" -d $Q "$WORK/floor.pdf" >/dev/null; }
# All rows of one environment ($1: its name), printed as table rows.
hardcopy_rows() {
  local env=$1 peers=(scrot)
  [ "$env" = bare ] && peers=(scrot import)
  echo "hard copy ($env): $RUNS runs of each command, interleaved..." >&2
  accepted=(); done_=()
  rm -f "$WORK/floor.pdf"
  hardcopy_runs tovrimo full "${peers[@]}"
  echo "hot key ($env): $RUNS presses each..." >&2
  hotkey_runs "$PROG_HK" hotkey
  hotkey_runs "$PROG_HK_FULL" hotkey_full
  hardcopy_runs floor
  local p1 p1f sc im hk hkf fl
  p1=$(med done_ tovrimo); p1f=$(med done_ full); sc=$(med done_ scrot); im=$(med done_ import)
  hk=$(med done_ hotkey); hkf=$(med done_ hotkey_full); fl=$(med done_ floor)
  row "P1 /d -> page done ($env)" "$p1" "scrot+lp" "$sc" ms 0.5 ""
  row "P1f /d full detail ($env)" "$p1f" "scrot+lp" "$sc" ms 0.5 ""
  row "P1f/P1 full detail cost ($env)" "$p1f" "P1" "$p1" ms 1.2 ""
  row "P7 hot key -> page done ($env)" "$hk" "lp floor" "$fl" ms 2.5 ""
  row "P7f hot key, full detail ($env)" "$hkf" "lp floor" "$fl" ms 2.5 ""
  row "P7f/P7 full detail cost ($env)" "$hkf" "P7" "$hk" ms 1.2 ""
  row "P7 first hot key after start ($env)" "$(med done_ hotkey_first)" "P7" "$hk" ms 1.2 ""
  local extra="scrot+lp $sc"
  [ -n "$im" ] && extra+=", import+lp $im"
  echo "|   ($env, done: $extra ms; accepted: ours $(med accepted tovrimo), full detail $(med accepted full), scrot+lp $(med accepted scrot) ms; $RUNS runs each) | | | | | |"
}
# The same on the IPP Everywhere simulator (through CUPS's everywhere queue): "done" includes
# the simulator's own processing of the job, the same for every command.
IPP_RUNS=${IPP_RUNS:-7}
if [ -n "$CHILD" ]; then
  hardcopy_rows "desktop"
  start_simulator
  sleep 1  # announced
  hardcopy_rows "desktop, printer announced"
  cmd_eve_tovrimo() { TOVRIMO_PROGRAM_DIR="$PROG_EVE" "$BIN" /d; }
  cmd_eve_full() { TOVRIMO_PROGRAM_DIR="$PROG_EVE_FULL" "$BIN" /d; }
  cmd_eve_scrot() { scrot -o "$WORK/s.png" && lp -h "$CUPS_SERVER" -d Eve "$WORK/s.png" >/dev/null; }
  eve_names=(eve_tovrimo eve_full eve_scrot)
  echo "hard copy on the IPP simulator: $IPP_RUNS runs of each command, interleaved..." >&2
  for ((r = 0; r < IPP_RUNS; r++)); do
    for ((k = 0; k < ${#eve_names[@]}; k++)); do
      name=${eve_names[$(((r + k) % ${#eve_names[@]}))]}
      drain Eve
      t0=$EPOCHREALTIME
      "cmd_$name" || { echo "$name failed" >&2; exit 1; }
      accepted[$name]+="$(ms_since "$t0") "
      "$BENCH/job_wait" Eve || { echo "$name: the job did not finish" >&2; exit 1; }
      done_[$name]+="$(ms_since "$t0") "
    done
  done
  e_ours=$(med done_ eve_tovrimo); e_full=$(med done_ eve_full); e_scrot=$(med done_ eve_scrot)
  row "P1e /d on the IPP simulator" "$e_ours" "scrot+lp" "$e_scrot" ms 0.5 ""
  row "P1ef IPP simulator, full detail" "$e_full" "scrot+lp" "$e_scrot" ms 0.5 ""
  exit 0
fi
bare_rows=$(hardcopy_rows bare) || exit 1
ipp_rows=
if [ "$IPP" = 1 ]; then
  ipp_rows=$(TOVRIMO_BENCH_NS=1 NO_INSTALL=1 NO_BUILD=1 BUILD_DIR="$BUILD" unshare --net --mount bash "$0") ||
    echo "the desktop-like run failed" >&2
fi
# What the full-detail page costs to write, in-process, on the same wallpaper.
page=$(QT_QPA_PLATFORM=offscreen "$BENCH/page_bench" "$WORK/wall.png" 15)

# --- P2 + P3: start-up until the icon is embedded, memory 5 s after start -------------------
echo "tray start-up and memory: $TRAY_RUNS runs of each, interleaved..." >&2
emb_ours=(); emb_fs=(); rss_ours=(); rss_fs=()
for ((r = 0; r < TRAY_RUNS; r++)); do
  for who in $([ $((r % 2)) -eq 0 ] && echo "ours fs" || echo "fs ours"); do
    if [ "$who" = ours ]; then out=$("$BENCH/tray_watch" 5 "$BIN"); else out=$("$BENCH/tray_watch" 5 flameshot); fi
    e=$(sed -n 's/.*embed_ms=\([-0-9.]*\).*/\1/p' <<<"$out"); m=$(sed -n 's/.*rss_kb=\([-0-9]*\).*/\1/p' <<<"$out")
    if [ "$who" = ours ]; then emb_ours+=("$e"); rss_ours+=("$m"); else emb_fs+=("$e"); rss_fs+=("$m"); fi
  done
done
arrmed() { printf '%s\n' "$@" | median; }
p3_ours=$(arrmed "${emb_ours[@]}"); p3_fs=$(arrmed "${emb_fs[@]}")
p2_ours=$(arrmed "${rss_ours[@]}"); p2_fs=$(arrmed "${rss_fs[@]}")

# --- P4..P6: in-process figures --------------------------------------------------------------
echo "preview, region drag, desktop grab..." >&2
p4=$(QT_QPA_PLATFORM=offscreen "$BENCH/preview_bench" | sed -n 's/^preview redraw.*median \([0-9.]*\) ms.*/\1/p')
p5=$("$BENCH/region_bench" | sed -n 's/^region drag.*median \([0-9.]*\) us.*/\1/p')
p5=$(awk -v u="$p5" 'BEGIN {printf "%.3f", u/1000}')
grab=$("$BENCH/capture_bench" 101)
p6_grab=$(sed -n 's/^desktop grab, shared memory: *\([0-9.]*\) ms.*/\1/p' <<<"$grab")
[ -n "$p6_grab" ] || p6_grab=$(sed -n 's/^desktop grab, GetImage: *\([0-9.]*\) ms.*/\1/p' <<<"$grab")
p6_copy=$(sed -n 's/^memcpy of one frame: *\([0-9.]*\) ms.*/\1/p' <<<"$grab")

# --- table -----------------------------------------------------------------------------------
echo
echo "Tovrimo performance, $(date -u +%Y-%m-%d), $(nproc) cores, $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1), screen 1920x1080"
echo "| figure                             | ours           | peer (median)              | ratio   | target    | met? |"
echo "|------------------------------------|----------------|----------------------------|---------|-----------|------|"
echo "$bare_rows"
[ -z "$ipp_rows" ] || echo "$ipp_rows"
row "P2 idle RSS 5 s after start" "$(awk -v k="$p2_ours" 'BEGIN{print k/1024}')" flameshot "$(awk -v k="$p2_fs" 'BEGIN{print k/1024}')" MiB 0.5 ""
row "P3 start -> tray icon embedded" "$p3_ours" flameshot "$p3_fs" ms 0.5 ""
row "P4 preview redraw (median)" "$p4" "" "" ms "" 5
row "P5 region drag step 3840x2160" "$p5" "" "" ms "" 4
row "P6 desktop grab 1920x1080" "$p6_grab" memcpy "$p6_copy" ms 3 ""
echo
echo "Writing the page (A4, fitted), in-process:"
echo "$page"
