#!/usr/bin/env bash
# Builds the picture generator in a throw-away folder and redraws resources/obrazy from it.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$(cd "$here/.." && pwd)/resources/obrazy"
build="$(mktemp -d "${TMPDIR:-/tmp}/rysunki.XXXXXX")"
trap 'rm -rf "$build"' EXIT

cmake -S "$here/rysunki" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
make -C "$build" --no-print-directory -j"$(nproc)" >/dev/null
mkdir -p "$out"
# Qt wants a private runtime folder even off screen; a fresh one keeps the run quiet and independent of the session.
mkdir -m 700 "$build/runtime"
XDG_RUNTIME_DIR="$build/runtime" QT_QPA_PLATFORM=offscreen "$build/rysunki" -platform offscreen "$out"
echo "rysunki: pictures written to $out"
