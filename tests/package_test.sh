#!/usr/bin/env bash
# The Debian package as a hotel gets it: built by CPack, unpacked into a throw-away root, the
# demonstration hotel made and the program started from there, lintian without errors.
set -euo pipefail
build=$1
work=$(mktemp -d)
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/kalvhotel_*.deb)
root=$work/root
dpkg-deb -x "$deb" "$root"

fail() { echo "FAIL: $*"; exit 1; }
for file in usr/bin/kalvhotel usr/bin/kalvhotel-admin usr/lib/kalvhotel/libHashingKey.so \
            usr/lib/kalvhotel/libNetlbr.so usr/share/kalvhotel/Settings.ini usr/share/kalvhotel/Settings.en.ini usr/share/kalvhotel/sql/sqlite \
            usr/share/kalvhotel/guide/en/index.html usr/share/kalvhotel/guide/images/bg/FHotel.png \
            usr/share/applications/bg.kalv.KalvHotel.desktop usr/share/metainfo/bg.kalv.KalvHotel.metainfo.xml \
            usr/share/icons/hicolor/48x48/apps/kalvhotel.png usr/share/icons/hicolor/scalable/apps/kalvhotel.svg \
            usr/share/man/man1/kalvhotel.1.gz usr/share/man/man1/kalvhotel-admin.1.gz usr/share/doc/kalvhotel/copyright; do
  [ -e "$root/$file" ] || fail "$file is not in the package"
done
readelf -d "$root/usr/bin/kalvhotel" | grep -q 'RUNPATH.*\$ORIGIN/../lib/kalvhotel' || fail "no run path to the private libraries"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6sql6-sqlite' || fail "the database drivers are not declared"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6core6' || fail "the libraries the program links are not declared"

home=$work/home
mkdir -p "$home"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/share QT_QPA_PLATFORM=offscreen
"$root/usr/bin/kalvhotel-admin" demo || fail "kalvhotel-admin demo"
"$root/usr/bin/kalvhotel" &
program=$!
sleep 5
kill -0 "$program" 2>/dev/null || fail "kalvhotel ended on its own"
kill "$program"
wait "$program" 2>/dev/null || true
program=
settings=$(find "$home" -name Settings.ini | head -1)
[ -n "$settings" ] || fail "the delivered Settings.ini was not found under share/"
[ -z "$(find "$home" "$root" -name Log.txt)" ] || fail "errors were logged: $(cat $(find "$home" "$root" -name Log.txt))"

appstreamcli validate --no-net "$root/usr/share/metainfo/bg.kalv.KalvHotel.metainfo.xml" >/dev/null || fail "appstream"
desktop-file-validate "$root/usr/share/applications/bg.kalv.KalvHotel.desktop" || fail "desktop entry"
errors=$(lintian "$deb" 2>&1 | grep '^E:' || true)
[ -z "$errors" ] || fail "lintian: $errors"
echo "package ok: $(basename "$deb")"
