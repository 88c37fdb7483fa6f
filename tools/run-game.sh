#!/bin/sh
# Builds the game and plays it in a game directory of its own, build/play/,
# the way the installed launcher gives each player one: the pictures and
# sounds are linked, the high-score table is copied on the first run and is
# that directory's from then on, so playing never changes a tracked file.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target quillemarch
PLAY="$ROOT/build/play"
mkdir -p "$PLAY/data/audio"
for sounds in sfx mus; do
    ln -sfn "$ROOT/data/audio/$sounds" "$PLAY/data/audio/$sounds"
done
ln -sfn "$ROOT/data/gfx" "$PLAY/data/gfx"
for table in scores.hst names.hst; do
    [ -e "$PLAY/data/$table" ] || cp "$ROOT/data/$table" "$PLAY/data/$table"
done
cd "$PLAY"
exec "$ROOT/build/bin/quillemarch" "$@"
