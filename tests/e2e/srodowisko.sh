# Shared by the end-to-end run and the screenshot script: a private X server with a window manager, the loopback
# file server, the program in a working folder, and window-relative input. Source it; it expects $build, $zrodla
# and $tmp, and fills $pids with what it starts.

pids=()
zatrzymaj_wszystko() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
}

czekaj_na() { # condition, seconds, what
    local i
    for ((i = 0; i < $2 * 10; i++)); do
        if eval "$1"; then return 0; fi
        sleep 0.1
    done
    blad "timed out waiting for: $3"
}

# The X server picks a free display itself.
uruchom_x() {
    exec 5> "$tmp/display"
    Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    czekaj_na '[ -s "$tmp/display" ]' 10 "Xvfb"
    export DISPLAY=":$(head -n1 "$tmp/display")"
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
}

# Serves folder $1 on 127.0.0.1 as both the dictionary and the home site; requests are logged in $tmp/zapytania.
uruchom_serwer() {
    "$build/tests/e2e_serwer" "$1" > "$tmp/zapytania" &
    pids+=($!)
    czekaj_na '[ -s "$tmp/zapytania" ]' 10 "the loopback server"
    local port
    port=$(head -n1 "$tmp/zapytania")
    export VOKARA_DICTIONARY_URL="http://127.0.0.1:$port" VOKARA_HOME_URL="http://127.0.0.1:$port"
}

# Starts the program in working folder $1 (with any further arguments); sets $vokara (its pid), $okno and the
# client area's corner $X, $Y.
uruchom_vokara() {
    local folder=$1
    shift
    (cd "$folder" && exec "$build/vokara" "$@") > "$tmp/vokara.log" 2>&1 &
    vokara=$!
    pids+=($vokara)
    okno=$(timeout 20 xdotool search --sync --onlyvisible --name '^VOKARA  1\.0' | head -n1) ||
        blad "the main window did not show"
    sleep 0.5
    # xwininfo gives the client area's true corner (xdotool counts a reparenting manager's frame twice).
    X=$(xwininfo -id "$okno" | awk '/Absolute upper-left X/ {print $4}')
    Y=$(xwininfo -id "$okno" | awk '/Absolute upper-left Y/ {print $4}')
}

# A click at a point of the client area; the pages start below the tab bar inside the page control at (36, 34).
kliknij() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; sleep 0.4; }
kliknij_na_stronie() { kliknij $((36 + 2 + $1)) $((34 + 26 + $2)); }
zakladka() { kliknij $((40 + $1 * 180)) 47; }

# On exercise page $1: pick the first set from the picker and press "Następny" (page 3's button sits higher).
rozpocznij_runde() {
    zakladka "$1"
    kliknij_na_stronie $((32 + 120)) $((65 + 11))
    xdotool key Return
    sleep 0.4
    if [ "$1" = 3 ]; then kliknij_na_stronie $((665 + 128)) $((359 + 24)); else kliknij_na_stronie $((665 + 128)) $((375 + 24)); fi
}
