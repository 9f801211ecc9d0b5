#!/usr/bin/env bash
# The run command installs what building and running need, and nothing only the tests use.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/run.sh --dry-run)
mapfile -t listed < <(sed -n 's/^  \([^ ]*\)$/\1/p' <<<"$out")
[ ${#listed[@]} -gt 0 ] || { echo "no package list in: $out"; exit 1; }
status=0
# The tests' own tools, named here by hand: none of them may be in the run command's list.
for p in libgtest-dev sway waybar xfce4-panel trayer pipewire xdg-desktop-portal \
  xdg-desktop-portal-wlr xdg-desktop-portal-gtk grim wtype xdotool xclip avahi-daemon \
  cups-ipp-utils libwayland-dev npm clang-format clang-format-14 lintian appstream \
  desktop-file-utils dbus-x11; do
  for l in "${listed[@]}"; do
    [ "$l" = "$p" ] && { echo "test-only package in the run command's list: $p"; status=1; }
  done
done
# Nor any package of the test list, whatever it holds now.
mapfile -t test_only < <(bash scripts/deps.sh --dry-run test format package | sed -n 's/^  \([^ ]*\)$/\1/p')
for p in "${test_only[@]}"; do
  for l in "${listed[@]}"; do
    [ "$l" = "$p" ] && { echo "package of the test lists in the run command's list: $p"; status=1; }
  done
done
# What building and the demo cannot do without.
for p in g++ cmake ninja-build qt6-base-dev libcups2-dev xvfb openbox cups cups-client; do
  printf '%s\n' "${listed[@]}" | grep -qx -- "$p" || { echo "missing from the run command: $p"; status=1; }
done
grep -qx 'Targets: tovrimo demo_card' <<<"$out" || { echo "builds more than the program and the demo: $out"; status=1; }
with_display=$(DISPLAY=:99 bash scripts/run.sh --dry-run | grep '^Targets:')
[ "$with_display" = "Targets: tovrimo" ] || { echo "with a display: $with_display"; status=1; }
[ $status -eq 0 ] && echo "run command: ${#listed[@]} packages, none of them test-only"
exit $status
