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

# A display number nobody uses, killed by its process id when we leave.
display=90
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
    display=$((display + 1))
done
Xvfb :$display -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT INT TERM
for _ in $(seq 50); do
    [ -e /tmp/.X11-unix/X$display ] && break
    sleep 0.1
done
export DISPLAY=:$display
export ALSOFT_DRIVERS=null
# Allegro and Mesa keep some allocations until exit on purpose; leaks are
# checked by the soak test with its own suppressions.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for dir in build build-asan; do
    echo "=== tests in $dir"
    (cd "$dir" && ctest --output-on-failure -j "$JOBS" --timeout 900) || status=1
done
exit $status
