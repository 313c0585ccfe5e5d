#!/usr/bin/env bash
# Regenerates the README's screenshots in docs/: every page in use and a message box, taken from the real program
# under Xvfb with a loopback dictionary. Needs a build in build/ (./test.sh or ./run.sh makes one).
set -euo pipefail
zrodla=$(cd "$(dirname "$0")/.." && pwd)
build="$zrodla/build"
tmp=$(mktemp -d)
blad() { echo "zrzuty: $*" >&2; exit 1; }
# shellcheck source=../tests/e2e/srodowisko.sh
. "$zrodla/tests/e2e/srodowisko.sh"
trap 'zatrzymaj_wszystko; rm -rf "$tmp"' EXIT
mkdir -p "$zrodla/docs"
# The whole screen cut to the main window with its frame, so a message box above it shows too.
zrzut() {
    sleep 0.5
    local geometria
    geometria=$(xwininfo -id "$okno" -frame | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /^ *Width/ {w=$2} /^ *Height/ {h=$2} END {print w "x" h "+" x "+" y}')
    import -window root -crop "$geometria" +repage "$zrodla/docs/$1.png"
}

uruchom_x
mkdir -p "$tmp/strona/images-common/en/mp3" "$tmp/praca"
cp -r "$zrodla/dane" "$tmp/praca/dane"
# Every word of the animals set has a recording, so the dictation page plays instead of reporting a missing word.
while IFS='*' read -r slowo _; do
    cp "$zrodla/tests/data/krotki.mp3" "$tmp/strona/images-common/en/mp3/$(printf '%s' "$slowo" | tr 'A-Z' 'a-z').mp3"
done < <(tail -n +2 "$zrodla/dane/zwierzeta.txt" | tr -d '\r')
uruchom_serwer "$tmp/strona"
uruchom_vokara "$tmp/praca"
zrzut powitanie

rozpocznij_runde 1
xdotool key 2 Return
zrzut test-wyboru

rozpocznij_runde 2
xdotool type --delay 40 "pies"
zrzut wpisywanie

rozpocznij_runde 3
xdotool type --delay 40 "cat"
xdotool key Return
zrzut sluchanie

zakladka 4
xdotool type --delay 120 "umbrella"
sleep 1 # the pause in typing, and the dictionary's first load
zrzut odsluchanie
xdotool key ctrl+a BackSpace
xdotool type --delay 40 "łyżka"
sleep 1
zrzut slownik-polskie
xdotool key ctrl+a BackSpace Return
sleep 0.5
zrzut komunikat
xdotool key Return

# The flashcards, on the sixth tab (past the last of zakladka's steps), with a card's answer shown.
kliknij 864 47
kliknij_na_stronie $((32 + 120)) $((65 + 11))
xdotool key Return
sleep 0.4
kliknij_na_stronie $((665 + 128)) $((375 + 24))
xdotool key space
zrzut fiszki

# The words window, as `vokara FILE` opens it for a film's subtitles.
kill "$vokara"
wait "$vokara" 2>/dev/null || true
cat > "$tmp/Spacer.srt" <<'NAPISY'
1
00:00:01,200 --> 00:00:03,800
Take your umbrella, it's going to rain.

2
00:00:04,100 --> 00:00:07,000
I left my umbrella on the train again.

3
00:00:07,500 --> 00:00:10,200
Then buy a new one at the station,
and a newspaper for your father.

4
00:00:11,000 --> 00:00:13,600
The weather in this town is terrible.

5
00:00:14,000 --> 00:00:17,300
We walked along the river to the old bridge,
and the wind was cold.

6
00:00:18,000 --> 00:00:20,500
Look, the bridge is closed. We need another way.

7
00:00:21,000 --> 00:00:24,000
Let's take the bus. The station is near the bridge.
NAPISY
uruchom_vokara "$tmp/praca" "$tmp/Spacer.srt"
okno=$(timeout 20 xdotool search --sync --onlyvisible --name '^Słowa z tekstu$' | head -n1) ||
    blad "the words window did not show"
sleep 1
zrzut slowa-z-tekstu
echo "docs/: $(ls "$zrodla/docs" | tr '\n' ' ')"
