#!/usr/bin/env bash
# Installs what is missing, builds Vokara and starts it on a working copy of the shipped data.
set -euo pipefail
cd "$(dirname "$0")"
tools/instaluj.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vokara
# The program reads `dane` from its current directory and writes recordings and updates there, so it runs in a
# folder of its own: the repository's data stay as they were.
mkdir -p build/praca
[ -d build/praca/dane ] || cp -r dane build/praca/dane
cd build/praca
exec ../vokara "$@"
