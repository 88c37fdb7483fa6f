#!/bin/sh
# Builds the .deb of the release build and puts it through Debian's checker, and what it
# installs through the desktop-entry and software-centre validators: an error, a warning or
# an unhardened binary fails.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config build/CPackConfig.cmake -B "$out" >/dev/null
deb=$(ls "$out"/quillemarch_*_amd64.deb)
dpkg-deb -x "$deb" "$out/root"
report=$(lintian --fail-on error,warning --display-info "$deb") || { echo "$report"; exit 1; }
echo "$report"
case $report in *hardening-*) echo "the game is not hardened"; exit 1 ;; esac
desktop-file-validate "$out"/root/usr/share/applications/*.desktop
report=$(appstreamcli validate-tree --no-net "$out/root" 2>&1) || { echo "$report"; exit 1; }
case $report in *arning*) echo "$report"; exit 1 ;; esac
echo "The package passes."
