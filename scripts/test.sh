#!/usr/bin/env bash
# Installs what is missing, builds Pagelark and runs every test offscreen: once in a normal
# build, once with AddressSanitizer and UndefinedBehaviorSanitizer; then checks the formatting
# and runs each fuzz target for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

scripts/setup.sh build
ctest --test-dir build --output-on-failure -j "$jobs"

scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DPAGELARK_SANITIZE=ON -DPAGELARK_BENCH=OFF
# A sanitizer finding ends the program with an exit code, not an abort: the test framework's
# own signal handlers must not get in the way of the report.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
echo "Formatting: clean"

scripts/fuzz.sh 5
