#!/bin/sh
# Builds the game and starts it from the build's bin/ directory, where data/
# stands beside the executable.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target quillemarch
cd build/bin
exec ./quillemarch "$@"
