#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and is not there yet.
set -euo pipefail
PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev qt6-base-dev libcups2-dev zlib1g-dev
  libx11-dev libxcb1-dev libxcb-keysyms1-dev libxfixes-dev libxcb-xfixes0-dev libxcb-shm0-dev
  xvfb xauth openbox trayer xdotool xclip x11-utils cups cups-client cups-bsd
  poppler-utils fonts-ipafont-gothic x11-xserver-utils x11-xkb-utils xkb-data
  xfce4-panel dbus-x11 dbus avahi-daemon cups-ipp-utils clang-format-14
  sway xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire grim wtype
  wl-clipboard qt6-wayland libglib2.0-bin libwayland-dev libwayland-bin waybar)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
