#!/usr/bin/env bash
# Installs what is missing, builds Vokara and runs every test headless: the whole suite on a normal build and again
# with AddressSanitizer and UndefinedBehaviorSanitizer, then the data readers and the import reader under libFuzzer
# for a minute.
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
cmake --build build-fuzz -j"$jobs" --target fuzz_dane fuzz_import
korpus=$(mktemp -d)
trap 'rm -rf "$korpus"' EXIT
mkdir "$korpus/fuzz_dane" "$korpus/fuzz_import"
cp dane/*.txt "$korpus/fuzz_dane/"
cp tests/fuzz/korpus_import/* "$korpus/fuzz_import/"
# The minute is shared between the targets, each starting from its own seeds.
cele=(fuzz_dane fuzz_import)
czas=$((60 / ${#cele[@]}))
zdane=0
oblane=0
for cel in "${cele[@]}"; do
    if "./build-fuzz/tests/$cel" -max_total_time="$czas" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "$korpus/$cel" > "build-fuzz/$cel.log" 2>&1; then
        grep -E '^stat::number_of_executed_units' "build-fuzz/$cel.log" || true
        zdane=$((zdane + 1))
    else
        tail -n 40 "build-fuzz/$cel.log"
        oblane=$((oblane + 1))
    fi
done
echo "fuzz: $zdane passed, $oblane failed"
[ "$oblane" -eq 0 ]
