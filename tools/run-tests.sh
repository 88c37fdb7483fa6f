#!/bin/sh
# Builds Quillemarch twice (plain, and with AddressSanitizer + UndefinedBehavior-
# Sanitizer) and runs every test in both, on a private Xvfb with OpenAL's null
# output, so it needs neither a display nor a sound card.
#   tools/run-tests.sh
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

build() {  # build <dir> <extra cmake args...>
    dir=$1; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

build build
build build-asan -DQM_SANITIZE=ON

. "$ROOT/tools/private-display.sh"
# Allegro and Mesa keep some allocations until exit on purpose; the start-up
# table's runs of the real game look for the game's own leaks, with their own
# suppressions.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
# A game recorded by one build must verify in the other.
for dir in build build-asan; do
    other=build-asan
    [ "$dir" = build ] || other=build
    echo "=== tests in $dir"
    (cd "$dir" && QM_OTHER_BUILD_GAME="$ROOT/$other/bin/quillemarch" \
        ctest --output-on-failure -j "$JOBS" --timeout 900) || status=1
done
exit $status
