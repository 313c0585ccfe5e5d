#!/usr/bin/env bash
# Regenerates tests/data/krotki.mp3: a short spoken English word the player tests decode to their end.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
espeak-ng -v en -s 170 -w "$tmp/slowo.wav" "hello"
lame --quiet -m m -b 32 --resample 22.05 "$tmp/slowo.wav" tests/data/krotki.mp3
