#!/bin/sh
# Runs every benchmark side by side on a private Xvfb and writes the figures,
# with the machine and the date, to docs/performance.md.
#   bench/run.sh             full run (the tick-rate check takes 60 s, the CPU use a game)
#   TICKRATE_SECONDS=10 CPU_SECONDS=5 bench/run.sh
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
cmake -S "$ROOT" -B build-bench -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF -DQM_BENCH=ON >/dev/null
cmake --build build-bench -j "$(nproc)" >/dev/null
BIN=$ROOT/build-bench/bin

. "$ROOT/tools/private-display.sh"

work=$(mktemp -d)
tick=$(cd "$work" && "$BIN/tick_bench")
layer=$(cd "$work" && "$BIN/ol_frame_bench")
screens=$(cd "$work" && "$BIN/screen_bench")
startup=$(cd "$work" && "$BIN/startup_bench" 7)
rate=$(cd "$work" && "$BIN/tickrate_bench" "${TICKRATE_SECONDS:-60}")
# A real game, recorded, drawn a frame a tick as fast as the machine can.
timedemo=$(cd "$work" && "$BIN/quillemarch" --timedemo "$ROOT/bench/game.qmr")
shares=$("$BIN/cpu_bench" "${CPU_SECONDS:-10}")
rm -rf "$work"

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')
cat > docs/performance.md <<REPORT
# Performance

Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $cpu, $(nproc) cores,
$(free -g | awk '/Mem:/ {print $2}') GiB, Debian 12, Mesa llvmpipe under Xvfb, no GPU.
Release build. Every ratio compares two loops run alternately in the same process
(or, for start-up, the same run), so both see the same machine load. The CPU use is the
whole game process's (its GL and sound threads too) on each screen of one run, as a share
of one core.

| What | Figure | Goal |
|---|---|---|
$(echo "$tick" | sed 's/^/| logic tick, full yard | /; s/$/ | under 5 us |/')
$(echo "$layer" | tail -1 | sed 's/^/| 300 blits + text through the layer | /; s/$/ | ratio 1.2 or better |/')
$(echo "$screens" | sed 's/^\(game\|title\) screen frame at 640x400: /| \1 screen frame | /; s/$/ | ratio 1.2 or better |/')
$(echo "$startup" | sed 's/^startup: /| start-up to first frame | /; s/$/ | ratio |/')
$(echo "$rate" | sed 's/^tick rate: /| tick rate | /; s/$/ | 100 +- 0.5 per s |/')
$(echo "$timedemo" | awk -v bare="$(echo "$screens" | sed -n 's/^game screen frame.*bare GL \([0-9.]*\) ms.*/\1/p')" \
    '{ms = 1000 * $6 / $4; printf "| a recorded game (bench/game.qmr, --timedemo) | %d ticks, %d frames in %s s: %.3f ms a frame (%s fps); bare GL %s ms, ratio %.3f | ratio 1.2 or better |\n", $2, $4, $6, ms, $8, bare, ms / bare}')
$(echo "$shares" | sed 's/^\([^:]*\): /| CPU use: \1 | /; s/$/ | title: no more than play |/')

Run \`bench/run.sh\` to measure again.
REPORT
cat docs/performance.md
