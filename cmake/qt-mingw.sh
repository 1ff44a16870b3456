#!/usr/bin/env bash
# qt-mingw.sh [--prefix]: Qt for 64-bit Windows, cross-built with MinGW-w64 from the distribution's
# source package of the very Qt the native build uses (qt6-base-dev), and installed into a cache
# folder outside every build folder:
#   ${XDG_CACHE_HOME:-~/.cache}/hextant/qt-mingw-<Debian version>-<hash of the options, the
#     toolchain file's settings and the compiler>
# so that only a machine that has never built this Qt with these options pays for it (about
# 10 minutes on 2 cores). With --prefix it prints that folder and builds nothing.
#
# Built: Core, Gui, Widgets and Test, the `windows` and `offscreen` platform plugins and the
# `windowsvista` style; no OpenGL, DBus, SQL, network, XML, printing or image format plugins. The
# host tools (moc, rcc, uic) are the native Qt's, so the two builds share one Qt version.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=deb-source.sh
. "$here/deb-source.sh"
toolchain=$here/mingw-w64-x86_64.cmake
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
cache=${HEXTANT_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/hextant}

configure_options=(
  -G Ninja
  -DCMAKE_BUILD_TYPE=Release
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake"
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF
  # The libraries Windows lacks come from Qt's own sources.
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_zstd=OFF
  # The offscreen platform draws text with FreeType from a folder of fonts (QT_QPA_FONTDIR).
  -DFEATURE_freetype=ON
  -DFEATURE_harfbuzz=ON
  # The modules and plugins the programs and their tests do not use.
  -DFEATURE_network=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_imageformatplugin=OFF
  -DFEATURE_jpeg=OFF
  -DFEATURE_gif=OFF
  -DFEATURE_ico=OFF
  -DFEATURE_vulkan=OFF
  # Without OpenGL, also without its dynamic loading, which the windows plugin would compile in.
  -DINPUT_opengl=no
  -DFEATURE_opengl=OFF
  -DFEATURE_dynamicgl=OFF
  # No Direct2D platform plugin; DirectWrite 3 is used only with it.
  -DFEATURE_direct2d=OFF
  -DFEATURE_directwrite3=OFF
  # The source package leaves out the Wintab header that tablet events need.
  -DFEATURE_tabletevent=OFF
)

# The cache folder's name: the Qt version, and a hash of what else decides the build: the options,
# the toolchain file's settings and the compiler.
key=$({
  printf '%s\n' "${configure_options[@]}"
  grep -v '^#' "$toolchain"
  x86_64-w64-mingw32-g++-posix --version | head -1
} | sha256sum | cut -c1-12)
prefix=$cache/qt-mingw-$version-$key
if [[ ${1-} == --prefix ]]; then
  echo "$prefix"
  exit 0
fi

build() {
  local src
  work=$(mktemp -d "$cache/qt-mingw-work.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  src=$(fetch_source qt6-base "$work" "$version" | head -1)
  rm -rf "$prefix"
  cmake -S "$src" -B "$work/build" "${configure_options[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    > "$work/configure.log" 2>&1 || { tail -50 "$work/configure.log"; exit 1; }
  cmake --build "$work/build" -j "${JOBS:-$(nproc)}" > "$work/build.log" 2>&1 ||
    { tail -50 "$work/build.log"; exit 1; }
  cmake --install "$work/build" > /dev/null
  touch "$prefix/.complete"
}

# One build at a time: a second caller waits and then finds it done.
mkdir -p "$cache"
exec 9> "$cache/qt-mingw.lock"
flock 9
if [[ -f $prefix/.complete ]]; then
  echo "Qt for MinGW-w64: $prefix"
  exit 0
fi
echo "Building Qt $version for MinGW-w64 into $prefix (about 10 minutes on 2 cores)"
start=$(date +%s)
build
echo "Qt for MinGW-w64 built in $(($(date +%s) - start)) s: $prefix"
