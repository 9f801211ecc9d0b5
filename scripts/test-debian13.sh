#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) inside a Debian 13 (trixie) chroot, as on a fresh
# Debian 13 machine: the chroot is made with debootstrap when it is missing and kept between
# runs (in /var/cache/tovrimo/debian13, or $TOVRIMO_DEBIAN13_ROOT), the tracked tree is copied
# into it anew, and the suite builds there and starts its own Xvfb, cupsd, sway … as on the
# host. Needs root. Exits with the test command's status.
#   bash scripts/test-debian13.sh              (the whole test command)
#   bash scripts/test-debian13.sh run          (the run command instead)
#   bash scripts/test-debian13.sh shell CMD…   (any command in the copied tree)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
# TOVRIMO_DEBIAN_SUITE=bookworm does the same on a fresh Debian 12, for comparison.
SUITE=${TOVRIMO_DEBIAN_SUITE:-trixie}
CHROOT=${TOVRIMO_DEBIAN13_ROOT:-/var/cache/tovrimo/$SUITE}
MIRROR=${TOVRIMO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "test-debian13.sh needs root (debootstrap, mount, chroot)." >&2; exit 2; }

if [ ! -e "$CHROOT/.tovrimo-ready" ]; then
  if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  fi
  echo "Making the $SUITE chroot in $CHROOT (a few minutes, once)..."
  rm -rf "$CHROOT.new"
  mkdir -p "$(dirname "$CHROOT")"
  # git: the tree is a clone there, as a user's would be.
  debootstrap --variant=minbase --include=ca-certificates,git "$SUITE" "$CHROOT.new" "$MIRROR" \
    >"$(dirname "$CHROOT")/debootstrap.log" 2>&1 ||
    { tail -20 "$(dirname "$CHROOT")/debootstrap.log" >&2; exit 1; }
  # Names resolve as on the host; packages come from the same mirror.
  cp /etc/resolv.conf "$CHROOT.new/etc/resolv.conf"
  touch "$CHROOT.new/.tovrimo-ready"
  rm -rf "$CHROOT"
  mv "$CHROOT.new" "$CHROOT"
fi
cp /etc/resolv.conf "$CHROOT/etc/resolv.conf" 2>/dev/null || true

# The tree as it would be cloned (tracked files, plus new ones not ignored), copied with its
# files' times. The build folder of the last run stays, as a build tree on one machine does:
# what did not change is not compiled again (a fresh clone, with new times, builds it all).
DEST="$CHROOT/tovrimo"
mkdir -p "$DEST"
find "$DEST" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do
  [ -e "$f" ] && printf '%s\0' "$f"
done | tar -C "$ROOT" --null -T - -cf - | tar -C "$DEST" -xf -
chroot "$CHROOT" /bin/sh -c 'cd /tovrimo && git init -q && git add -A' >/dev/null

MOUNTED=()
cleanup() {
  local i
  for ((i = ${#MOUNTED[@]} - 1; i >= 0; i--)); do
    umount -R "${MOUNTED[$i]}" 2>/dev/null || umount -lR "${MOUNTED[$i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT
mountpoint -q "$CHROOT/proc" || { mount -t proc proc "$CHROOT/proc"; MOUNTED+=("$CHROOT/proc"); }
mountpoint -q "$CHROOT/sys" || { mount --rbind /sys "$CHROOT/sys"; mount --make-rslave "$CHROOT/sys"; MOUNTED+=("$CHROOT/sys"); }
mountpoint -q "$CHROOT/dev" || { mount --rbind /dev "$CHROOT/dev"; mount --make-rslave "$CHROOT/dev"; MOUNTED+=("$CHROOT/dev"); }
# Certificate authorities added on the host (a company proxy's, say) are trusted inside too,
# as on any machine of the same network; npm reaches its registry over TLS.
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
  mkdir -p "$CHROOT/usr/local/share/ca-certificates"
  cp /usr/local/share/ca-certificates/*.crt "$CHROOT/usr/local/share/ca-certificates/"
  chroot "$CHROOT" update-ca-certificates >/dev/null 2>&1 || true
fi
# A private /tmp: X sockets and lock files of the host's own displays stay out of the way, and
# /dev/shm for Qt's and X's shared memory comes with /dev.
mkdir -p "$CHROOT/tmp"; chmod 1777 "$CHROOT/tmp"

case "${1:-test}" in
  test) CMD=(bash scripts/test.sh) ;;
  run) CMD=(bash scripts/run.sh) ;;
  shell) shift; CMD=("$@") ;;
  *) echo "usage: $0 [test|run|shell CMD...]" >&2; exit 2 ;;
esac
# The host's choice of certificate bundle, where it made one, holds inside as well.
pass=()
for v in NODE_EXTRA_CA_CERTS SSL_CERT_FILE; do
  [ -n "${!v:-}" ] && pass+=("$v=${!v}")
done
set +e
chroot "$CHROOT" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 CI="${CI:-}" "${pass[@]}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c 'cd /tovrimo && exec "$@"' bash "${CMD[@]}"
status=$?
set -e
exit $status
