#!/usr/bin/env bash
# The desktop files validate, and the Debian package holds exactly what a user needs.
# usage: packaging.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2
failures=0 checks=0
check() { checks=$((checks + 1)); if "$@"; then echo "PASS: $*"; else echo "FAIL: $*"; failures=$((failures + 1)); fi; }

check desktop-file-validate "$src/data/daystride.desktop"
check appstreamcli validate --no-net --pedantic "$src/data/org.daystride.Daystride.metainfo.xml"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/out/daystride_*.deb)
dpkg-deb -x "$deb" "$scratch/root"

expected="usr/bin/daystride
usr/share/applications/daystride.desktop
usr/share/budgie-desktop/plugins/daystride/DaystrideApplet.plugin
usr/share/budgie-desktop/plugins/daystride/daystride-clock-symbolic.svg
usr/share/budgie-desktop/plugins/daystride/daystride_applet.py
usr/share/cinnamon/applets/daystride@daystride.org/applet.js
usr/share/cinnamon/applets/daystride@daystride.org/clock-symbolic.svg
usr/share/cinnamon/applets/daystride@daystride.org/metadata.json
usr/share/daystride/translations/daystride_de.qm
usr/share/daystride/translations/daystride_fr.qm
usr/share/icons/hicolor/128x128/apps/daystride.png
usr/share/icons/hicolor/256x256/apps/daystride.png
usr/share/icons/hicolor/48x48/apps/daystride.png
usr/share/icons/hicolor/scalable/apps/daystride.svg
usr/share/metainfo/org.daystride.Daystride.metainfo.xml
usr/share/plasma/plasmoids/org.daystride.countdown/contents/images/clock.fill.svg
usr/share/plasma/plasmoids/org.daystride.countdown/contents/ui/main.qml
usr/share/plasma/plasmoids/org.daystride.countdown/metadata.json"
actual=$(cd "$scratch/root" && find . -type f | sed 's|^\./||' | sort)
check test "$actual" = "$expected"
check test -x "$scratch/root/usr/bin/daystride"
# The Plasma applet's metadata as Plasma reads it.
check python3 -c 'import json, sys; m = json.load(open(sys.argv[1])); assert m["KPlugin"]["Id"] == "org.daystride.countdown" and m["X-Plasma-MainScript"] == "ui/main.qml"' \
    "$scratch/root/usr/share/plasma/plasmoids/org.daystride.countdown/metadata.json"
depends=$(dpkg-deb -f "$deb" Depends)
check grep -q fonts-quicksand <<<"$depends"
check grep -q fonts-mplus <<<"$depends"
check grep -q libqt6widgets6 <<<"$depends"
for size in 48 128 256; do
    check test "$(identify -format '%wx%h' \
        "$scratch/root/usr/share/icons/hicolor/${size}x${size}/apps/daystride.png")" = "${size}x${size}"
done

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
