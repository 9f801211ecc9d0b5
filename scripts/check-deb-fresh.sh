#!/usr/bin/env bash
# Installs a built package with apt on a fresh Debian root, as a user would on a new machine:
# a minimal debootstrap of the release (made anew each time, nothing else installed), then
# `apt install ./tovrimo_<version>_<arch>.deb`, which must pull in every dependency by itself,
# then the installed program answers --version and --help there. Needs root and the network.
#   bash scripts/check-deb-fresh.sh bookworm build/tovrimo_1.0.0_amd64.deb
#   bash scripts/check-deb-fresh.sh trixie /var/cache/tovrimo/trixie/tovrimo/build/tovrimo_*.deb
# A package is built for the release it was built on (Debian 13 renamed the Qt and CUPS
# libraries): build the Debian 13 one with `bash scripts/test-debian13.sh shell bash
# scripts/package.sh`. Prints the time the install took and the package's size.
set -euo pipefail
SUITE=${1:?usage: check-deb-fresh.sh SUITE PACKAGE.deb}
DEB=${2:?usage: check-deb-fresh.sh SUITE PACKAGE.deb}
MIRROR=${TOVRIMO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "check-deb-fresh.sh needs root (debootstrap, chroot)." >&2; exit 2; }
[ -f "$DEB" ] || { echo "no package $DEB" >&2; exit 2; }
if ! command -v debootstrap >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi
ROOT=$(mktemp -d /var/tmp/tovrimo-fresh-"$SUITE".XXXXXX)
MOUNTED=()
cleanup() {
  local i
  for ((i = ${#MOUNTED[@]} - 1; i >= 0; i--)); do umount -l "${MOUNTED[$i]}" 2>/dev/null || true; done
  rm -rf "$ROOT"
}
trap cleanup EXIT
echo "fresh $SUITE root in $ROOT..."
debootstrap --variant=minbase "$SUITE" "$ROOT" "$MIRROR" >"$ROOT.log" 2>&1 ||
  { tail -20 "$ROOT.log" >&2; rm -f "$ROOT.log"; exit 1; }
rm -f "$ROOT.log"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
mount -t proc proc "$ROOT/proc"; MOUNTED+=("$ROOT/proc")
cp "$DEB" "$ROOT/tmp/"
name=$(basename "$DEB")
start=$(date +%s)
chroot "$ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
  sh -c "apt-get update -qq && apt-get install -y -qq ./tmp/$name >/tmp/install.log 2>&1 ||
    { tail -20 /tmp/install.log; exit 1; }"
took=$(($(date +%s) - start))
version=$(chroot "$ROOT" /usr/bin/env -i PATH=/usr/bin:/bin tovrimo --version)
chroot "$ROOT" /usr/bin/env -i PATH=/usr/bin:/bin tovrimo --help | grep -q -- '--version' ||
  { echo "the installed program gave no usage" >&2; exit 1; }
installed=$(chroot "$ROOT" dpkg-query -W -f='${Status}' tovrimo)
[ "$installed" = "install ok installed" ] || { echo "dpkg says: $installed" >&2; exit 1; }
echo "$SUITE: apt install ./$name took ${took} s (dependencies included), $(du -k "$DEB" | cut -f1) KiB package, --version: $version"
