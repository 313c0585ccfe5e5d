#!/usr/bin/env bash
# Crash check of the update, run by hand: the real program under Xvfb is killed (strace injects SIGKILL) at the Nth
# link or rename while an update moves new data in, then started again; the data folder must be wholly old or
# wholly new and the program must start. Usage: awarie.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
zrodla=$(cd "$2" && pwd)
tmp=$(mktemp -d)
# shellcheck source=srodowisko.sh
. "$zrodla/tests/e2e/srodowisko.sh"
bledy=0
blad() {
    echo "FAIL: $*" >&2
    bledy=$((bledy + 1))
}
trap 'zatrzymaj_wszystko; rm -rf "$tmp"' EXIT
uruchom_x

# A newer data version: two changed sets and one new one.
strona="$tmp/strona"
mkdir -p "$strona/vokara/dane"
printf '09.12.2026*1.0\r\nZwierz\xeata*zwierzeta.txt\r\nDom*dom.txt\r\nNowy*nowy.txt\r\n' > "$strona/vokara/dane/a_spis.txt"
for f in zwierzeta dom; do sed 's/$/ x/' "$zrodla/dane/$f.txt" > "$strona/vokara/dane/$f.txt"; done
printf 'w*o\r\nnew*nowy\r\n' > "$strona/vokara/dane/nowy.txt"
uruchom_serwer "$strona"

# A digest of the data folder's files (the recordings aside).
suma() { (cd "$1" && find . -path ./voice -prune -o -type f -print | sort | xargs md5sum | md5sum | cut -c1-12); }

for wywolanie in link rename; do
    for n in 1 2 3 4 5 6; do
        praca="$tmp/praca-$wywolanie-$n"
        mkdir -p "$praca"
        cp -r "$zrodla/dane" "$praca/dane"
        stara=$(suma "$praca/dane")
        rm -rf "$tmp/nowa" && cp -r "$praca/dane" "$tmp/nowa" && cp "$strona/vokara/dane/"*.txt "$tmp/nowa/"
        nowa=$(suma "$tmp/nowa")
        (cd "$praca" && exec strace -o /dev/null \
            -e "inject=$wywolanie,${wywolanie}at,renameat2:signal=SIGKILL:when=$n" "$build/vokara") \
            > "$tmp/vokara.log" 2>&1 &
        vokara=$!
        okno=$(timeout 20 xdotool search --sync --onlyvisible --name '^VOKARA  1\.0' | head -n1) ||
            { blad "the main window did not show"; continue; }
        sleep 0.5
        X=$(xwininfo -id "$okno" | awk '/Absolute upper-left X/ {print $4}')
        Y=$(xwininfo -id "$okno" | awk '/Absolute upper-left Y/ {print $4}')
        kliknij_na_stronie $((736 + 104)) $((407 + 32))
        sleep 2
        zabity=tak
        if kill -0 "$vokara" 2>/dev/null; then
            zabity=nie
            dziecko=$(pgrep -P "$vokara")
            [ -n "$dziecko" ] && kill "$dziecko"
        fi
        wait "$vokara" 2>/dev/null
        (cd "$praca" && exec "$build/vokara") > "$tmp/ponownie.log" 2>&1 &
        ponownie=$!
        sleep 2
        if kill -0 "$ponownie" 2>/dev/null; then kill "$ponownie"; else blad "$wywolanie #$n: no start after the crash"; fi
        wait "$ponownie" 2>/dev/null
        po=$(suma "$praca/dane")
        stan=MIXED
        [ "$po" = "$stara" ] && stan=old
        [ "$po" = "$nowa" ] && stan=new
        [ "$stan" = MIXED ] && blad "$wywolanie #$n: the data folder is neither old nor new"
        [ -e "$praca/dane/.aktualizacja" ] && blad "$wywolanie #$n: the staging folder is left"
        echo "$wywolanie #$n: killed $zabity, data folder after the next start: $stan"
    done
done
[ "$bledy" = 0 ] && echo "crash check passed"
exit $((bledy > 0))
