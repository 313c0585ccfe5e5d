#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the layout, the desktop files and the launcher's working
# folder for a user (created once from the shipped data, never overwritten).
# Usage: instalacja.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'kill "${pid:-0}" 2>/dev/null || true; rm -rf "$tmp"' EXIT
blad() { echo "INSTALL FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
for f in lib/vokara/vokara lib/vokara/pomoc/index.htm lib/vokara/pomoc/notes_wood.qss bin/vokara \
         share/vokara/dane/a_spis.txt share/vokara/dane/voice share/applications/vokara.desktop \
         share/metainfo/invalid.vokara.vokara.metainfo.xml share/icons/hicolor/256x256/apps/vokara.png \
         share/icons/hicolor/48x48/apps/vokara.png; do
    [ -e "$tmp/usr/$f" ] || blad "missing $f"
done
desktop-file-validate "$tmp/usr/share/applications/vokara.desktop" || blad "desktop entry"
appstreamcli validate --no-net "$tmp/usr/share/metainfo/invalid.vokara.vokara.metainfo.xml" >/dev/null || blad "AppStream"

uruchom() { # starts the launcher, checks where the program runs, stops it
    XDG_DATA_HOME="$tmp/xdg" HOME="$tmp/dom" QT_QPA_PLATFORM=offscreen "$tmp/usr/bin/vokara" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do
        [ "$(readlink /proc/$pid/exe 2>/dev/null)" = "$tmp/usr/lib/vokara/vokara" ] && break
        sleep 0.1
    done
    [ "$(readlink /proc/$pid/exe)" = "$tmp/usr/lib/vokara/vokara" ] || blad "the program did not start"
    [ "$(readlink /proc/$pid/cwd)" = "$tmp/xdg/vokara" ] || blad "wrong working folder: $(readlink /proc/$pid/cwd)"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}
uruchom
cmp -s "$tmp/xdg/vokara/dane/a_spis.txt" "$tmp/usr/share/vokara/dane/a_spis.txt" || blad "data not copied"
[ -d "$tmp/xdg/vokara/dane/voice" ] || blad "no recording cache folder"
echo "moje" > "$tmp/xdg/vokara/dane/a_spis.txt"
uruchom
[ "$(cat "$tmp/xdg/vokara/dane/a_spis.txt")" = "moje" ] || blad "the user's data were overwritten"
echo "1 passed, 0 failed"
