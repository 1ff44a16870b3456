#!/usr/bin/env bash
# tiff-mingw.sh [--prefix]: libtiff for 64-bit Windows, a static library cross-built with MinGW-w64
# from the distribution's source package of the libtiff the native build uses (libtiff-dev), and
# installed into a cache folder outside every build folder:
#   ${XDG_CACHE_HOME:-~/.cache}/hextant/tiff-mingw-<upstream version>-<hash of the options, the
#     toolchain file's settings, the compiler and the MinGW zlib>
# so that only a machine that has never built it with these options pays for it. With --prefix it
# prints that folder and builds nothing.
#
# Built: the library alone, with DEFLATE through the MinGW zlib of libz-mingw-w64-dev (linked
# statically by the programs) and LZW and PackBits built in; no JPEG, JBIG, LZMA, ZSTD, WebP, LERC
# or libdeflate, no C++ interface, tools, tests or documentation.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=deb-source.sh
. "$here/deb-source.sh"
toolchain=$here/mingw-w64-x86_64.cmake
cache=${HEXTANT_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/hextant}
if ! version=$(dpkg-query -W -f='${Version}' libtiff-dev 2> /dev/null) || [[ -z $version ]]; then
  echo "tiff-mingw.sh: libtiff-dev is not installed (make deps installs it)" >&2
  exit 1
fi

configure_options=(
  -G Ninja
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DZLIB_USE_STATIC_LIBS=ON
  -Dzlib=ON
  -Dlzw=ON
  -Dpackbits=ON
  -Djpeg=OFF
  -Dold-jpeg=OFF
  -Djbig=OFF
  -Dlzma=OFF
  -Dzstd=OFF
  -Dwebp=OFF
  -Dlerc=OFF
  -Dlibdeflate=OFF
  -Dcxx=OFF
  -Dtiff-tools=OFF
  -Dtiff-tests=OFF
  -Dtiff-contrib=OFF
  -Dtiff-docs=OFF
  -Dtiff-opengl=OFF
  -Dsphinx=OFF
)

# The cache folder's name: libtiff's upstream version (a Debian revision of it changes no file
# format), and a hash of what else decides the build.
key=$({
  printf '%s\n' "${configure_options[@]}"
  grep -v '^#' "$toolchain"
  x86_64-w64-mingw32-gcc-posix --version | head -1
  dpkg-query -W -f='${Version}\n' libz-mingw-w64-dev
} | sha256sum | cut -c1-12)
prefix=$cache/tiff-mingw-$(upstream_version "$version")-$key
if [[ ${1-} == --prefix ]]; then
  echo "$prefix"
  exit 0
fi

build() {
  local fetched src built
  work=$(mktemp -d "$cache/tiff-mingw-work.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  fetched=$(fetch_source tiff "$work" "$version")
  src=$(head -1 <<< "$fetched")
  built=$(tail -1 <<< "$fetched")
  rm -rf "$prefix"
  cmake -S "$src" -B "$work/build" "${configure_options[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    > "$work/configure.log" 2>&1 || { tail -50 "$work/configure.log"; exit 1; }
  # The options above must have taken: DEFLATE on, every external codec but zlib off.
  if ! grep -q 'ZLIB support: *Requested:ON Availability:TRUE Support:TRUE' "$work/configure.log"; then
    grep -A15 'Support for external codecs' "$work/configure.log" || cat "$work/configure.log"
    echo "tiff-mingw.sh: the MinGW zlib was not found for DEFLATE" >&2
    exit 1
  fi
  cmake --build "$work/build" -j "${JOBS:-$(nproc)}" > "$work/build.log" 2>&1 ||
    { tail -50 "$work/build.log"; exit 1; }
  cmake --install "$work/build" > /dev/null
  echo "$built" > "$prefix/.complete"
}

# One build at a time: a second caller waits and then finds it done.
mkdir -p "$cache"
exec 9> "$cache/tiff-mingw.lock"
flock 9
if [[ -f $prefix/.complete ]]; then
  echo "libtiff $(cat "$prefix/.complete") for MinGW-w64: $prefix"
  exit 0
fi
echo "Building libtiff $version for MinGW-w64 into $prefix"
start=$(date +%s)
build
echo "libtiff $(cat "$prefix/.complete") for MinGW-w64 built in $(($(date +%s) - start)) s: $prefix"
