#!/usr/bin/env bash
# The Windows hextant-convert, run under Wine, writes every sample's model and HdmToTarvo.INI
# byte for byte as the native one does; its source paths are given the Windows way, relative and
# with "\". hdmfile.dll exports exactly the four writer entry points.
#   windows_same_bytes_test.sh NATIVE_CONVERT WINDOWS_CONVERT HDMFILE_DLL SAMPLES_DIR
set -u
native=$1 windows=$2 dll=$3 samples=$4
wine=$(command -v wine || command -v wine64) || { echo "FAIL: no wine"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

exported=$(x86_64-w64-mingw32-objdump -p "$dll" |
  awk '/^\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && NF == 0 {on = 0} on {print $NF}' |
  sort | tr '\n' ' ')
want="WriteBodyFileHDM WriteCoordTypeFileHDM WriteHeaderFileHDM WritePtsFileHDM "
[ "$exported" = "$want" ] || fail "hdmfile.dll exports '$exported', expected '$want'"

# same FORMAT SAMPLE [OPTION...]
same() {
  local format=$1 sample=$2 name=${2%.*}
  local dir=$work/$format/$name
  shift 2
  mkdir -p "$dir/native" "$dir/windows"
  cp "$samples/$sample" "$dir/native/" && cp "$samples/$sample" "$dir/windows/" ||
    { fail "$format: no sample $sample"; return; }
  "$native" --format "$format" --quiet "$@" "$dir/native/$sample" > /dev/null 2>&1 ||
    { fail "$format $sample: the native program stopped with $?"; return; }
  (cd "$dir" && "$wine" "$windows" --format "$format" --quiet "$@" "windows\\$sample") \
    > "$dir/out" 2>&1 ||
    { fail "$format $sample: the Windows program stopped with $?: $(cat "$dir/out")"; return; }
  for file in "$name.HDM" HdmToTarvo.INI; do
    cmp "$dir/native/$file" "$dir/windows/$file" || fail "$format $sample: $file differs"
  done
  converted=$((converted + 1))
}
converted=0

same catalunya catalunya_egm96.gr
same netherlands netherlands_egm96.txt
same norway norway_egm96.bin
same norway-nn2000 norway_egm96.bin
same switzerland switzerland_egm96.txt
same italy italy_egm96.txt
same la-reunion la_reunion_egm96.txt
same poland poland_egm96.txt
# Every grid sample, each layout told apart by its content; and GTX forced by its name.
for sample in "$samples"/egm96_*.{tif,bin,byn,asc,grd,gtx} "$samples"/isg*.isg; do
  same grid "${sample##*/}"
done
same gtx egm96_cut.gtx
same wizard generic_egm96.xyz --angular-unit decimal-degrees --spacing-x 0.25 --spacing-y 0.25 \
  --delimiter space --column x=1 --column y=2 --column separation=3

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "windows same bytes: $exported; $converted models and HdmToTarvo.INI files identical"
