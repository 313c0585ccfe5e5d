#!/usr/bin/env bash
# Installs what is missing, builds Vokara and runs every test headless: the whole suite on a normal build and again
# with AddressSanitizer and UndefinedBehaviorSanitizer, then the data readers under libFuzzer for a minute.
set -euo pipefail
cd "$(dirname "$0")"
tools/instaluj.sh testy
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure)

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVOKARA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DVOKARA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_dane
korpus=$(mktemp -d)
trap 'rm -rf "$korpus"' EXIT
cp dane/*.txt "$korpus/"
if ./build-fuzz/tests/fuzz_dane -max_total_time=60 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "$korpus" > build-fuzz/fuzz.log 2>&1; then
    grep -E '^stat::number_of_executed_units' build-fuzz/fuzz.log || true
    echo "fuzz: 1 passed, 0 failed"
else
    tail -n 40 build-fuzz/fuzz.log
    echo "fuzz: 0 passed, 1 failed"
    exit 1
fi
