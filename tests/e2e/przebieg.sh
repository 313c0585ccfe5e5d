#!/usr/bin/env bash
# End-to-end run of the built program as a person would use it: a real X server (Xvfb) with a window manager, real
# input events (xdotool), a loopback dictionary and home site. Screenshots of each step go to the build folder.
# Usage: przebieg.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
zrodla=$(cd "$2" && pwd)
artefakty="$build/e2e"
rm -rf "$artefakty"
mkdir -p "$artefakty"
tmp=$(mktemp -d)
# shellcheck source=srodowisko.sh
. "$zrodla/tests/e2e/srodowisko.sh"
trap 'zatrzymaj_wszystko; rm -rf "$tmp"' EXIT

blad() {
    echo "E2E FAIL: $*" >&2
    [ -s "$tmp/vokara.log" ] && sed "s/^/    vokara: /" "$tmp/vokara.log" | head -n 80 >&2
    zrzut "blad" || true
    exit 1
}
krok=0
zrzut() {
    krok=$((krok + 1))
    import -display "$DISPLAY" -window root "$artefakty/$(printf '%02d' "$krok")-$1.png"
}

uruchom_x

# The loopback site: a newer data version of three sets, and one recording in the dictionary.
strona="$tmp/strona"
mkdir -p "$strona/vokara/dane" "$strona/images-common/en/mp3"
printf '09.12.2026*1.0\r\nZwierz\xeata*zwierzeta.txt\r\nDom*dom.txt\r\nPogoda*pogoda.txt\r\n' > "$strona/vokara/dane/a_spis.txt"
cp "$zrodla/dane/zwierzeta.txt" "$zrodla/dane/dom.txt" "$zrodla/dane/pogoda.txt" "$strona/vokara/dane/"
cp "$zrodla/tests/data/krotki.mp3" "$strona/images-common/en/mp3/hello.mp3"
uruchom_serwer "$strona"

# The program in a working folder of its own with a copy of the shipped data.
praca="$tmp/praca"
mkdir -p "$praca"
cp -r "$zrodla/dane" "$praca/dane"
uruchom_vokara "$praca"
[ "$(xdotool getwindowname "$okno")" = "VOKARA  1.0" ] || blad "wrong title: $(xdotool getwindowname "$okno")"
zrzut powitanie

# The update brings the newer data (outcome 5); the notice is closed from the keyboard.
kliknij_na_stronie $((736 + 104)) $((407 + 32))
czekaj_na 'grep -q "/vokara/dane/pogoda.txt" "$tmp/zapytania"' 20 "the update downloads"
sleep 1
zrzut aktualizacja
xdotool key Return
sleep 0.5
cmp -s "$praca/dane/a_spis.txt" "$strona/vokara/dane/a_spis.txt" || blad "the list was not updated"
[ ! -e "$praca/a_spis.txt" ] || blad "the temporary list was left behind"

# Typing page: pick the first set, start, answer with Enter.
rozpocznij_runde 2
xdotool type --delay 50 "kot"
xdotool key Return
sleep 0.4
zrzut wpisywanie

# Free listening page: a word typed and Enter fetches it from the dictionary into dane/voice and plays it.
zakladka 4
xdotool type --delay 50 "Hello"
xdotool key Return
czekaj_na '[ -s "$praca/dane/voice/hello.mp3" ]' 20 "the recording in the cache"
cmp -s "$praca/dane/voice/hello.mp3" "$strona/images-common/en/mp3/hello.mp3" || blad "the cached recording differs"
[ "$(grep -c '^/images-common/en/mp3/hello.mp3$' "$tmp/zapytania")" = 2 ] || blad "expected a status check and a download"
sleep 0.5
zrzut odsluchanie

# Closing the window ends the program with status 0.
wmctrl -c 'VOKARA  1.0'
for ((i = 0; i < 100; i++)); do kill -0 "$vokara" 2>/dev/null || break; sleep 0.1; done
kill -0 "$vokara" 2>/dev/null && blad "the program did not end after its window closed"
status=0
wait "$vokara" || status=$?
[ "$status" = 0 ] || blad "exit status $status"
if grep -qiE 'error|critical' "$tmp/vokara.log"; then
    cat "$tmp/vokara.log" >&2
    blad "the program reported errors"
fi
# Own sets: `vokara FILE` opens the editor with the file imported; Ctrl+S saves it, and the set is the last item
# of the listening page's picker (its word is asked of the dictionary when the round starts).
# The rounds above were remembered; without that memory no "Powtórka" item follows the own set in the pickers.
[ -s "$praca/dane/postepy.sqlite" ] || blad "the answers were not remembered"
rm -f "$praca/dane/postepy.sqlite"*
printf 'sunflower\tsłonecznik\n' > "$tmp/Kwiaty.tsv"
cp "$zrodla/tests/data/krotki.mp3" "$strona/images-common/en/mp3/sunflower.mp3"
uruchom_vokara "$praca" "$tmp/Kwiaty.tsv"
edytor=$(timeout 20 xdotool search --sync --onlyvisible --name '^Moje zestawy' | head -n1) || blad "the editor did not show"
sleep 0.5
zrzut moje_zestawy
xdotool windowactivate --sync "$edytor" key ctrl+s
czekaj_na 'grep -q "moje_kwiaty.txt" "$praca/dane/a_moje.txt" 2>/dev/null' 10 "the own set saved"
[ "$(head -n1 "$praca/dane/moje_kwiaty.txt" | tr -d '\r')" = "Angielskie s$(printf '\xb3')owo*Polskie znaczenie" ] ||
    blad "the own set's file is not in the set format"
wmctrl -c 'Moje zestawy'
sleep 0.5
xdotool windowactivate --sync "$okno"
zakladka 3
kliknij_na_stronie $((32 + 120)) $((65 + 11))
xdotool key End Return
sleep 0.4
kliknij_na_stronie $((665 + 128)) $((359 + 24))
czekaj_na 'grep -q "/sunflower.mp3" "$tmp/zapytania"' 20 "the own set's word asked of the dictionary"
sleep 0.5
zrzut moj_zestaw_w_cwiczeniu
wmctrl -c 'VOKARA  1.0'
for ((i = 0; i < 100; i++)); do kill -0 "$vokara" 2>/dev/null || break; sleep 0.1; done
kill -0 "$vokara" 2>/dev/null && blad "the program did not end after its window closed"
status=0
wait "$vokara" || status=$?
[ "$status" = 0 ] || blad "exit status $status"
echo "1 passed, 0 failed"
