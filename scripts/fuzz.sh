#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time (default 60 s) over the
# seed corpus in fuzz/corpus/<target>; new inputs go to a scratch folder, not the repository.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup.sh build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DPAGELARK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in build-fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    seeds="fuzz/corpus/${name#fuzz_}"
    mkdir -p "$scratch/$name"
    echo "Fuzzing $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$scratch/" \
        "$scratch/$name" "$seeds" 2>&1 | tail -n 2
done
