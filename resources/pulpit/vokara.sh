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
# A file to import is named relative to where the user started the program, not to the working folder.
for argument in "$@"; do
    shift
    case $argument in
    /* | -*) ;;
    *) [ -e "$argument" ] && argument="$PWD/$argument" ;;
    esac
    set -- "$@" "$argument"
done
cd "$folder"
exec "$prefix/lib/vokara/vokara" "$@"
