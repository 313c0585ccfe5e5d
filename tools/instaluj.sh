#!/usr/bin/env bash
# Installs the Debian packages Vokara needs to build and run it, and with "testy" also those its tests use;
# quiet and quick when all are present.
set -euo pipefail

pakiety=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite
    qt6-translations-l10n
    libjpeg-dev flite1-dev libmpg123-dev
    dict-freedict-eng-pol dict-freedict-pol-eng libespeak-ng-dev zlib1g-dev
    fonts-liberation2 fonts-dejavu-core
)
if [ "${1:-}" = "testy" ]; then
    # A real X server, a window manager and X input for the end-to-end run; validators for the desktop files;
    # clang for the fuzzer; strace for the by-hand crash check of the update (tests/e2e/awarie.sh); a private sound
    # server and its recorder for the sound test and bench_dzwiek.
    pakiety+=(xvfb openbox wmctrl xdotool x11-utils imagemagick desktop-file-utils appstream clang libclang-rt-14-dev
              strace pulseaudio pulseaudio-utils)
fi

brakujace=()
for p in "${pakiety[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        brakujace+=("$p")
    fi
done
[ ${#brakujace[@]} -eq 0 ] && exit 0

echo "Instaluję brakujące pakiety: ${brakujace[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${brakujace[@]}" >/dev/null
