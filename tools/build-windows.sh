#!/bin/sh
# Builds the 64-bit Windows game on Debian 12 with mingw-w64 and packs it as
# build-windows/quillemarch-VERSION-win64.zip: the game, its console twin for the command
# line, data/, the README, the licence and the libraries' notices. The libraries come from the
# tarballs in third_party/, checked against their SHA-256 sums, and are built
# statically once into build-windows/prefix; later runs reuse them.
#   tools/build-windows.sh
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT=$ROOT/build-windows
PREFIX=$OUT/prefix
HOST=x86_64-w64-mingw32
JOBS=$(nproc 2>/dev/null || echo 2)
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
# pkg-config must see the cross-built libraries, never the host's.
export PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH=
export QM_WINDOWS_PREFIX=$PREFIX
export CC=$HOST-gcc-posix CXX=$HOST-g++-posix AR=$HOST-ar RANLIB=$HOST-ranlib

for tool in $CC $CXX cmake zip; do
    command -v "$tool" >/dev/null || {
        echo "build-windows: $tool is missing; run tools/install-deps.sh" >&2
        exit 1
    }
done
mkdir -p "$OUT/src" "$PREFIX"
(cd third_party && sha256sum --quiet -c SHA256SUMS)

# Unpacks a tarball into build-windows/src/NAME, afresh.
unpack() {  # unpack <tarball> <name>
    rm -rf "$OUT/src/$2"
    mkdir -p "$OUT/src/$2"
    tar -xf "third_party/$1" -C "$OUT/src/$2" --strip-components=1
}

# Configures, builds and installs a CMake library into the prefix.
cmake_library() {  # cmake_library <name> <cmake args...>
    name=$1
    shift
    cmake -S "$OUT/src/$name" -B "$OUT/src/$name/build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DBUILD_SHARED_LIBS=OFF "$@" >"$OUT/src/$name.log" 2>&1 &&
        cmake --build "$OUT/src/$name/build" -j "$JOBS" >>"$OUT/src/$name.log" 2>&1 &&
        cmake --install "$OUT/src/$name/build" >>"$OUT/src/$name.log" 2>&1
}

# Each library is built once; its stamp holds the sums of its tarball and of
# our patches to it, so a new tarball or patch builds it again.
library() {  # library <name> <tarball> <build function>
    stamp=$PREFIX/.$1
    sum=$(cat "third_party/$2" third_party/"$1"-*.patch 2>/dev/null | sha256sum)
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$sum" ] && return 0
    echo "build-windows: building $1"
    unpack "$2" "$1"
    "$3" || {
        echo "build-windows: $1 failed; see build-windows/src/$1.log" >&2
        tail -n 20 "$OUT/src/$1.log" >&2
        exit 1
    }
    echo "$sum" >"$stamp"
}

# Compiles the named C files of a library into lib/lib<name>.a and copies
# its headers; quicker than its own build, which would make a DLL as well.
archive() {  # archive <name> <headers> -- <sources>
    name=$1
    shift
    mkdir -p "$PREFIX/include" "$PREFIX/lib"
    while [ "$1" != -- ]; do
        cp "$OUT/src/$name/$1" "$PREFIX/include/" || return 1
        shift
    done
    shift
    (cd "$OUT/src/$name" && $CC -O2 -I"$PREFIX/include" -c "$@" && $AR rcs "lib$name.a" ./*.o &&
        cp "lib$name.a" "$PREFIX/lib/") >"$OUT/src/$name.log" 2>&1
}

build_z() {
    archive z zlib.h zconf.h -- adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c \
        gzread.c gzwrite.c infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c
}

build_png() {
    cp "$OUT/src/png/scripts/pnglibconf.h.prebuilt" "$OUT/src/png/pnglibconf.h" &&
        archive png png.h pngconf.h pnglibconf.h -- png.c pngerror.c pngget.c pngmem.c \
            pngpread.c pngread.c pngrio.c pngrtran.c pngrutil.c pngset.c pngtrans.c pngwio.c \
            pngwrite.c pngwtran.c pngwutil.c
}

build_allegro() {
    for fix in third_party/allegro-*.patch; do
        patch -d "$OUT/src/allegro" -p1 <"$fix" >>"$OUT/src/allegro.log" || return 1
    done
    cmake_library allegro -DSHARED=OFF -DWANT_ALLEGROGL=ON -DWANT_LOADPNG=ON -DWANT_LOGG=OFF \
        -DWANT_JPGALLEG=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF \
        -DWANT_DOCS=OFF -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include" \
        -DPNG_LIBRARY="$PREFIX/lib/libpng.a" -DPNG_PNG_INCLUDE_DIR="$PREFIX/include"
}

build_libogg() {
    cmake_library libogg -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
}

build_libvorbis() {
    cmake_library libvorbis -DBUILD_TESTING=OFF
}

library z zlib_1.2.13.dfsg.orig.tar.bz2 build_z
library png libpng1.6_1.6.39.orig.tar.gz build_png
library allegro allegro4.4_4.4.3.1.orig.tar.gz build_allegro
library libogg libogg_1.3.5.orig.tar.xz build_libogg
library libvorbis libvorbis_1.3.7.orig.tar.gz build_libvorbis

# The game itself, both programs, in Release with the same floating point as on Linux.
echo "build-windows: building the game"
QM_WINDOWS_PREFIX=$PREFIX cmake -S "$ROOT" -B "$OUT/game" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release >"$OUT/game.log" 2>&1 &&
    cmake --build "$OUT/game" -j "$JOBS" >>"$OUT/game.log" 2>&1 || {
    tail -n 30 "$OUT/game.log" >&2
    exit 1
}

# The zip unpacks into one folder, ready to play; the texts get Windows' line ends.
VERSION=$(sed -n 's/^project(quillemarch VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
NAME=quillemarch-$VERSION-win64
STAGE=$OUT/stage/$NAME
rm -rf "$OUT/stage" "$OUT/$NAME.zip"
mkdir -p "$STAGE"
for program in quillemarch quillemarch-cli; do
    $HOST-strip -o "$STAGE/$program.exe" "$OUT/game/bin/$program.exe"
done
cp -r data "$STAGE/data"
sed 's/$/\r/' README.md >"$STAGE/README.txt"
sed 's/$/\r/' LICENSE >"$STAGE/LICENSE.txt"
# The libraries built into the game, each with the notice its licence asks to travel with it.
for notice in "Allegro:allegro/docs/txt/license.txt" "AllegroGL:allegro/addons/allegrogl/zlib.txt" \
    "loadpng:allegro/addons/loadpng/LICENSE.txt" "zlib:z/LICENSE" "libpng:png/LICENSE" \
    "libogg:libogg/COPYING" "libvorbis:libvorbis/COPYING"; do
    printf '%s\n\n' "== ${notice%%:*}"
    cat "$OUT/src/${notice#*:}"
    printf '\n'
done | sed 's/$/\r/' >"$STAGE/THIRD-PARTY.txt"
(cd "$OUT/stage" && zip -qr -X "$OUT/$NAME.zip" "$NAME")
echo "build-windows: build-windows/$NAME.zip"
