#!/usr/bin/env bash
# `cmake --install` lays out bin/, lib/ and include/, and the shared library exports exactly the
# four writer entry points; the desktop entry and the AppStream metainfo are valid; every document
# and picture an installed document links is installed beside it.
#   install_test.sh BUILD_DIR
set -u
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null || { echo "FAIL: cmake --install"; exit 1; }
status=0
desktop=share/applications/org.hextant.Hextant.desktop
metainfo=share/metainfo/org.hextant.Hextant.metainfo.xml
for f in bin/hextant bin/hextant-inspect bin/hextant-convert lib/libhdmfile.so include/hdmfile.h \
         $desktop $metainfo share/icons/hicolor/scalable/apps/org.hextant.Hextant.svg \
         share/doc/hextant/user-guide.md; do
  [ -e "$prefix/$f" ] || { echo "FAIL: $f is not installed"; status=1; }
done
exported=$(nm -D --defined-only "$prefix/lib/libhdmfile.so" | awk '$2 == "T" {print $3}' | sort | tr '\n' ' ')
want="WriteBodyFileHDM WriteCoordTypeFileHDM WriteHeaderFileHDM WritePtsFileHDM "
[ "$exported" = "$want" ] || { echo "FAIL: exported functions are '$exported', expected '$want'"; status=1; }
docs=$prefix/share/doc/hextant
for doc in "$docs"/*.md; do
  # Links and images [text](TARGET), and documents named in backticks (`name.md`).
  for target in $(grep -oE '\]\([^)#]+' "$doc" | cut -c3- | grep -v '://') \
                $(grep -oE '`[A-Za-z0-9_-]+\.md`' "$doc" | tr -d '`'); do
    [ -e "$docs/$target" ] || { echo "FAIL: ${doc#"$docs"/} links $target, which is not installed"; status=1; }
  done
done
desktop-file-validate "$prefix/$desktop" || { echo "FAIL: desktop entry"; status=1; }
appstreamcli validate --no-net --pedantic "$prefix/$metainfo" > /dev/null ||
  { echo "FAIL: AppStream metainfo"; appstreamcli validate --no-net "$prefix/$metainfo"; status=1; }
[ $status -eq 0 ] && echo "install layout: ok"
exit $status
