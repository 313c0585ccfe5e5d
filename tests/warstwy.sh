#!/usr/bin/env bash
# The program's folders include only what lies below them: every quoted include of a header that lives in another
# folder of src/ must name a folder this one may use. A new folder, or a new arrow between folders, is added here.
set -euo pipefail
zrodla=$1/src
declare -A wolno=(
    [data]=""
    [engine]="data"
    [harmonogram]=""
    [slownik]=""
    [baza]="data"
    [warning]=""
    [postepy]="data baza harmonogram"
    [wybory]="postepy data baza"
    [pages]="engine data baza warning wybory postepy harmonogram slownik"
    [speech]="data baza warning"
    [update]="data baza speech warning"
    [moje]="data baza warning slowa slownik"
    [slowa]="slownik data baza"
    [help]=""
    [app]="data engine baza warning postepy wybory pages speech update moje help slownik harmonogram slowa"
)
declare -A folderNaglowka=()
for naglowek in "$zrodla"/*/*.h; do
    folderNaglowka[$(basename "$naglowek")]=$(basename "$(dirname "$naglowek")")
done
bledy=0
for folder in "$zrodla"/*/; do
    nazwa=$(basename "$folder")
    if [ -z "${wolno[$nazwa]+jest}" ]; then
        echo "warstwy: folder src/$nazwa nie ma swojego miejsca w warstwach"
        bledy=$((bledy + 1))
        continue
    fi
    while IFS=: read -r plik naglowek; do
        cel=${folderNaglowka[$naglowek]:-}
        [ -z "$cel" ] || [ "$cel" = "$nazwa" ] && continue
        if [[ " ${wolno[$nazwa]} " != *" $cel "* ]]; then
            echo "warstwy: ${plik#"$zrodla"/} włącza $cel/$naglowek, a $nazwa nie może sięgać do $cel"
            bledy=$((bledy + 1))
        fi
    done < <(grep -o '#include "[^"]*"' "$folder"*.h "$folder"*.cpp 2>/dev/null | sed 's/#include "\(.*\)"/\1/')
done
echo "warstwy: $bledy błędów"
[ "$bledy" -eq 0 ]
