#!/usr/bin/env bash
# Installs what is missing, builds Vokara and runs every test headless: the whole suite on a normal build and again
# with AddressSanitizer and UndefinedBehaviorSanitizer, then the readers of outside bytes under libFuzzer for a
# minute shared between the fuzz targets.
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

# Each fuzz target with the files its corpus starts from; the minute is shared between them.
cele=("fuzz_dane:dane/*.txt" "fuzz_import:tests/fuzz/korpus_import/*" "fuzz_slownik:tests/fuzz/korpus_slownik/*")
sekundy=$((60 / ${#cele[@]}))
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DVOKARA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target "${cele[@]%%:*}"
korpusy=$(mktemp -d)
trap 'rm -rf "$korpusy"' EXIT
udane=0
nieudane=0
for cel in "${cele[@]}"; do
    nazwa=${cel%%:*}
    mkdir "$korpusy/$nazwa"
    # shellcheck disable=SC2086 # the pattern after the colon is meant to expand here
    cp ${cel#*:} "$korpusy/$nazwa/"
    if ./build-fuzz/tests/"$nazwa" -max_total_time="$sekundy" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "$korpusy/$nazwa" > "build-fuzz/$nazwa.log" 2>&1; then
        grep -E '^stat::number_of_executed_units' "build-fuzz/$nazwa.log" || true
        udane=$((udane + 1))
    else
        tail -n 40 "build-fuzz/$nazwa.log"
        nieudane=$((nieudane + 1))
    fi
done
echo "fuzz: $udane passed, $nieudane failed"
[ "$nieudane" -eq 0 ]
