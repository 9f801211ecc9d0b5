#!/usr/bin/env bash
# Installs, with apt-get, the packages of the purposes named that are not there yet. The lists
# below are the only place the project names Debian packages; each name resolves on Debian 12
# (bookworm) and Debian 13 (trixie).
#   bash scripts/deps.sh build run               (what scripts/run.sh needs)
#   bash scripts/deps.sh build run test format package  (what scripts/test.sh needs)
#   bash scripts/deps.sh --dry-run PURPOSE...    (print the list and what is missing; install nothing)
set -euo pipefail

# Compiling the program (and the demo's test card).
BUILD=(cmake ninja-build g++ pkg-config qt6-base-dev libcups2-dev zlib1g-dev
  libx11-dev libxcb1-dev libxcb-keysyms1-dev libxfixes-dev libxcb-xfixes0-dev libxcb-shm0-dev)
# Running it: Qt's Wayland plugin, the Wayland clipboard tools, a Japanese font, CUPS's
# client; and for the demo without a display, a private X server with a window manager, a
# private cupsd and pdfinfo.
RUN=(qt6-wayland wl-clipboard fonts-ipafont-gothic cups-client
  xvfb xauth openbox x11-utils x11-xserver-utils cups poppler-utils)
# The tests' own tools: gtest, the stand-in desktops and trays (trayer, XFCE's panel, sway with
# waybar, the portals and PipeWire), input and clipboard tools, the printer simulators with
# avahi, chattr (e2fsprogs) for files that refuse to change, clang-tidy for scripts/tidy.sh, Qt's
# translation tools (a stand-in translation is made from the program's texts), and the desktops
# most users run,
# headless: KWin with KDE's portal (whose dialogs need the QML modules and the workspace) and
# the description of its fake-input protocol, and GNOME Shell with GNOME's portal.
TEST=(libgtest-dev libwayland-dev libwayland-bin
  trayer xdotool xclip x11-xkb-utils xkb-data xfce4-panel dbus dbus-x11 libglib2.0-bin
  sway waybar xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire grim wtype
  cups-bsd cups-ipp-utils avahi-daemon e2fsprogs clang-tidy qt6-l10n-tools
  kwin-wayland xdg-desktop-portal-kde libkf5globalaccel-bin kded5 qtwayland5
  qml-module-qtquick-controls qml-module-qtquick-controls2 qml-module-qtquick-layouts
  qml-module-org-kde-kirigami2 plasma-workspace plasma-wayland-protocols
  gnome-shell mutter xdg-desktop-portal-gnome)
# The format check: node's package manager fetches the one pinned clang-format
# (scripts/formatter/), the same on every release.
FORMAT=(npm)
# Building the Debian package and checking it (scripts/package.sh).
PACKAGE=(dpkg-dev file lintian desktop-file-utils appstream)

DRY=no
[ "${1:-}" = "--dry-run" ] && { DRY=yes; shift; }
[ $# -gt 0 ] || set -- build run test format package
wanted=()
for purpose in "$@"; do
  case "$purpose" in
    build) wanted+=("${BUILD[@]}") ;;
    run) wanted+=("${RUN[@]}") ;;
    test) wanted+=("${TEST[@]}") ;;
    format) wanted+=("${FORMAT[@]}") ;;
    package) wanted+=("${PACKAGE[@]}") ;;
    *) echo "deps.sh: unknown purpose '$purpose' (build, run, test, format, package)" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${wanted[@]}"; do
  # An npm that came with Node.js from elsewhere (NodeSource and the like) serves as well, and
  # Debian's npm package would conflict with that Node.js.
  if [ "$p" = npm ] && command -v npm >/dev/null 2>&1; then continue; fi
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "$DRY" = yes ]; then
  echo "Packages for $*:"
  printf '  %s\n' "${wanted[@]}"
  echo "Missing: ${missing[*]:-none}"
  exit 0
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
