#!/bin/sh
# Installs every Debian 12 package that building, running and testing Quillemarch needs.
set -e
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
    build-essential cmake pkg-config git \
    liballegro4-dev liballeggl4-dev libloadpng4-dev \
    libx11-dev libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev mesa-utils \
    libopenal-dev libopenal1 libsndfile1-dev libpng-dev zlib1g-dev \
    googletest libgtest-dev \
    clang libclang-rt-14-dev clang-format \
    xvfb xauth xdotool x11-utils \
    python3 file dpkg-dev \
    lintian desktop-file-utils appstream zip unzip
# The Windows build and its test under Wine, with the libraries Wine recommends: it opens
# its windows and GL through them.
$SUDO apt-get install -y mingw-w64 wine wine64
