#!/usr/bin/env bash
# build_msi.sh BUILD_DIR VERSION OUT.msi: the Windows installer of a Windows build. Installs the
# build (stripped) into BUILD_DIR/msi-stage, lists the staged files for the installer with
# wixl-heat and builds OUT.msi with wixl from hextant.wxs beside this script.
set -euo pipefail
build=$(realpath "$1") version=$2 out=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
stage=$build/msi-stage

rm -rf "$stage"
cmake --install "$build" --prefix "$stage" --strip > /dev/null
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) |
  wixl-heat --prefix "" --directory-ref INSTALLDIR --component-group InstalledFiles \
    --var var.Stage --win64 > "$build/msi-files.wxs"
# wixl takes the files to pack by paths relative to the folder it runs in.
cd "$build"
wixl --arch x64 -D Win64=yes -D Version="$version" -D Stage=msi-stage \
  -D Icon="$(realpath --relative-to=. "$here/hextant.ico")" \
  -o "$out" "$here/hextant.wxs" msi-files.wxs
