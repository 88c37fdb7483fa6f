#!/bin/sh
# Builds Quillemarch twice (plain, and with AddressSanitizer + UndefinedBehavior-
# Sanitizer) and runs every test in both, on a private Xvfb with OpenAL's null
# output, so it needs neither a display nor a sound card. With clang in
# build-fuzz it also checks the tests for comma-operator chains and fuzzes the
# replay reader for 30 s; every C++ file must be in the house format. Last, the
# Windows build (tools/build-windows.sh) is played under Wine.
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
cmake -S "$ROOT" -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DQM_SANITIZE=ON -DQM_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$JOBS" --target replay_fuzz
# The tests hold no comma-operator chains: clang's -Werror=comma, compiled and never linked.
cmake --build build-fuzz -j "$JOBS" --target test_comma_check

# The Windows game builds at the lowest priority while the Linux tests run, on the
# cores they leave idle; its test comes after them.
windows_log=$(mktemp)
nice -n 19 sh tools/build-windows.sh >"$windows_log" 2>&1 &
windows_build=$!

. "$ROOT/tools/private-display.sh"
# Allegro and Mesa keep some allocations until exit on purpose; the start-up
# table's runs of the real game look for the game's own leaks, with their own
# suppressions.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
# Every C++ file in the house format of .clang-format.
echo "=== format"
sh tools/check-format.sh || status=1
# A game recorded by one build must verify in the other.
for dir in build build-asan; do
    other=build-asan
    [ "$dir" = build ] || other=build
    echo "=== tests in $dir"
    (cd "$dir" && QM_OTHER_BUILD_GAME="$ROOT/$other/bin/quillemarch" \
        ctest --output-on-failure -j "$JOBS" --timeout 900) || status=1
done

# The Windows game, built from the same source, under Wine: a fresh prefix in a scratch home
# whose ALSA writes into a file, no Mono or Gecko prompts, and a time limit on every start.
echo "=== the Windows game under Wine"
if wait $windows_build; then
    wine_home=$(mktemp -d)
    # Wine's sound goes through ALSA into a file, where the test listens for it.
    printf 'pcm.!default { type file slave.pcm null file "%s" format raw }\n' \
        "$wine_home/sound.raw" >"$wine_home/.asoundrc"
    (cd "$wine_home" && unzip -q "$ROOT"/build-windows/quillemarch-*-win64.zip)
    (
        export HOME="$wine_home" WINEPREFIX="$wine_home/prefix" WINEDEBUG=-all
        export WINEDLLOVERRIDES="mscoree,mshtml="
        timeout 120 wineboot --init >/dev/null 2>&1
        QM_WINDOWS_GAME=$(echo "$wine_home"/quillemarch-*-win64) QM_WINDOWS_SOUND=$wine_home/sound.raw \
            timeout 300 build/bin/test_windows
        status=$?
        wineserver -k 2>/dev/null
        exit $status
    ) || status=1
    rm -rf "$wine_home"
else
    tail -n 30 "$windows_log"
    status=1
fi
rm -f "$windows_log"

# Replays come from strangers. Seeded with the bad files of the tests and any
# golden replays; the new inputs it finds go to a scratch directory, a crash to
# build-fuzz/. One allocation past the 16 MiB read limit fails the run.
echo "=== fuzzing the replay reader for 30 s"
found=$(mktemp -d)
seeds=tests/fuzz/corpus
[ -d tests/replays ] && seeds="$seeds tests/replays"
ASAN_OPTIONS=detect_leaks=1 build-fuzz/bin/replay_fuzz -max_total_time=30 -timeout=5 \
    -rss_limit_mb=1024 -malloc_limit_mb=16 -artifact_prefix=build-fuzz/ -print_final_stats=1 \
    "$found" $seeds 2>build-fuzz/fuzz.log || { tail -n 40 build-fuzz/fuzz.log; status=1; }
grep -E '^(Done|stat::number_of_executed_units)' build-fuzz/fuzz.log || true
rm -rf "$found"
exit $status
