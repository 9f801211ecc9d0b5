#!/usr/bin/env bash
# Makes the Debian package from the build tree $1 and inspects it: what it holds, its
# dependencies, an install into a scratch root whose binary answers --version, and lintian,
# desktop-file-validate and appstreamcli on what it installs.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
WORK=$(mktemp -d /tmp/tovrimo-deb.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1) ||
  { cat "$WORK/cpack.log"; exit 1; }
ARCH=$(dpkg --print-architecture)
DEB="$WORK/out/tovrimo_${VERSION}_${ARCH}.deb"
[ -f "$DEB" ] || { ls "$WORK/out"; fail "no $DEB"; exit 1; }
echo "package: $(basename "$DEB"), $(stat -c %s "$DEB") bytes"

dpkg-deb -c "$DEB" | awk '{print $NF}' | sed 's|^\./|/|' >"$WORK/contents"
for f in /usr/bin/tovrimo /usr/share/tovrimo/tovrimo.html /usr/share/applications/tovrimo.desktop \
  /usr/share/metainfo/org.tovrimo.Tovrimo.metainfo.xml /usr/share/man/man1/tovrimo.1.gz \
  /usr/share/doc/tovrimo/copyright /usr/share/doc/tovrimo/changelog.gz \
  /usr/share/icons/hicolor/scalable/apps/tovrimo.svg; do
  grep -qx -- "$f" "$WORK/contents" || fail "not in the package: $f"
done
for size in 16 22 24 32 48 64 128 256; do
  grep -qx -- "/usr/share/icons/hicolor/${size}x${size}/apps/tovrimo.png" "$WORK/contents" ||
    fail "no ${size}x${size} icon"
done
# Nothing of the tests, the demo or the build tree.
grep -E 'test|demo|bench|/usr/local|/lib/.*\.a$' "$WORK/contents" && fail "stray files above"

depends=$(dpkg-deb -f "$DEB" Depends)
echo "Depends: $depends"
for d in cups-client libc6 libqt6widgets6 libqt6gui6 libqt6core6 libcups2; do
  # Debian 13 renamed some libraries for its 64-bit time ABI (libcups2t64, libqt6core6t64).
  grep -qE "(^|, )$d(t64)?( |,|$)" <<<"$depends" || fail "Depends lacks $d"
done
[ "$(dpkg-deb -f "$DEB" Package)" = tovrimo ] || fail "package name"
[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "version"

# Installed into a scratch root (the dependencies are the system's business here).
ROOT="$WORK/root"
mkdir -p "$ROOT/var/lib/dpkg/updates" "$ROOT/var/lib/dpkg/info"
touch "$ROOT/var/lib/dpkg/status"
dpkg --root="$ROOT" --force-depends --force-not-root --force-script-chrootless \
  --log=/dev/null -i "$DEB" >"$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log"; fail "dpkg -i"; }
[ -x "$ROOT/usr/bin/tovrimo" ] || fail "no binary in the scratch root"
got=$(env -u DISPLAY -u WAYLAND_DISPLAY "$ROOT/usr/bin/tovrimo" --version) || fail "--version failed"
[ "$got" = "tovrimo $VERSION" ] || fail "--version said: $got"
file "$ROOT/usr/bin/tovrimo" | grep -q ', stripped' || fail "the binary is not stripped"
zcat "$ROOT/usr/share/man/man1/tovrimo.1.gz" | grep -q 'tovrimo /a /h=1050' || fail "man page"

desktop-file-validate "$ROOT/usr/share/applications/tovrimo.desktop" || fail "desktop-file-validate"
# KWin lets the binary the entry names by its absolute path take screenshots without asking.
grep -qx 'Exec=/usr/bin/tovrimo' "$ROOT/usr/share/applications/tovrimo.desktop" ||
  fail "the entry does not name /usr/bin/tovrimo"
grep -qx 'X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2' \
  "$ROOT/usr/share/applications/tovrimo.desktop" || fail "the entry does not ask KWin for screenshots"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/org.tovrimo.Tovrimo.metainfo.xml" ||
  fail "appstreamcli validate"
grep -q '<screenshot' "$ROOT/usr/share/metainfo/org.tovrimo.Tovrimo.metainfo.xml" || fail "no screenshot"
# lintian: errors fail; warnings are shown.
lintian --tag-display-limit 0 "$DEB" >"$WORK/lintian.log" 2>&1 || true
cat "$WORK/lintian.log"
grep -q '^E: ' "$WORK/lintian.log" && fail "lintian reports errors"
[ $status -eq 0 ] && echo "package checks passed"
exit $status
