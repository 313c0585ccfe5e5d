#!/bin/sh
# Starts Vokara in the user's own working folder, made on first start from a copy of the shipped data and never
# overwritten later, so the data folder, the recordings and updates belong to the user.
set -e
prefix=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
folder="${XDG_DATA_HOME:-$HOME/.local/share}/vokara"
if [ ! -d "$folder/dane" ]; then
    mkdir -p "$folder"
    cp -r "$prefix/share/vokara/dane" "$folder/dane.nowe"
    mv "$folder/dane.nowe" "$folder/dane"
fi
cd "$folder"
exec "$prefix/lib/vokara/vokara" "$@"
