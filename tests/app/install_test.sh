#!/usr/bin/env bash
# `cmake --install` lays out bin/, lib/ and include/, and the shared library exports exactly the
# four writer entry points.
#   install_test.sh BUILD_DIR
set -u
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null || { echo "FAIL: cmake --install"; exit 1; }
status=0
for f in bin/hextant bin/hextant-inspect bin/hextant-convert lib/libhdmfile.so include/hdmfile.h; do
  [ -e "$prefix/$f" ] || { echo "FAIL: $f is not installed"; status=1; }
done
exported=$(nm -D --defined-only "$prefix/lib/libhdmfile.so" | awk '$2 == "T" {print $3}' | sort | tr '\n' ' ')
want="WriteBodyFileHDM WriteCoordTypeFileHDM WriteHeaderFileHDM WritePtsFileHDM "
[ "$exported" = "$want" ] || { echo "FAIL: exported functions are '$exported', expected '$want'"; status=1; }
[ $status -eq 0 ] && echo "install layout: ok"
exit $status
