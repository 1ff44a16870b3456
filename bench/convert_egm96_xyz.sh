#!/usr/bin/env bash
# Converts the whole 15' EGM96 grid, written as XYZ text by GDAL (1,038,240 lines, 33 MB), with
# hextant-convert, side by side with gdal_translate -of GTX on the same file: the median wall time
# of several alternating runs and the peak memory (maximum resident set) of each.
#   bench/convert_egm96_xyz.sh [BUILD_DIR] [RUNS]
# Needs gdal-bin, proj-data and GNU time (apt-get install gdal-bin proj-data time).
#
# The grid is written with longitudes 0..359.75 (gdal_translate -a_ullr): the tool's value of pi
# (3.141592654) puts -180 degrees just beyond its angle limit of -3.14159265359 radians, so the
# original -180..179.75 file is refused with "ANGULAR VALUES OUTSIDE LIMITS", while 180..359.75
# wrap into the negative half as they should.
set -euo pipefail
build=${1:-build}
runs=${2:-5}
convert=$(realpath "$build/src/app/hextant-convert")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gdal_translate -q -of XYZ -a_ullr -0.125 90.125 359.875 -90.125 \
  /usr/share/proj/egm96_15.gtx "$work/egm96.xyz"
echo "input: $(wc -l < "$work/egm96.xyz") lines, $(du -m "$work/egm96.xyz" | cut -f1) MB"

hextant() {
  rm -f "$work/egm96.HDM"
  "$convert" --format wizard --angular-unit decimal-degrees --spacing-x 0.25 --spacing-y 0.25 \
    --delimiter space --column x=1 --column y=2 --column separation=3 --quiet \
    --output "$work/egm96.HDM" "$work/egm96.xyz" > "$work/hextant.out"
}
gdal() { gdal_translate -q -of GTX "$work/egm96.xyz" "$work/egm96.gtx"; }

# measure NAME: runs NAME under GNU time, appends "seconds kilobytes" to $work/NAME.times
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time" bash -c "$(declare -f "$1"); $(declare -p convert work); $1"
  cat "$work/time" >> "$work/$1.times"
}

for ((i = 0; i < runs; i++)); do
  measure hextant
  measure gdal
done
cat "$work/hextant.out"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for tool in hextant gdal; do
  seconds=$(cut -d' ' -f1 "$work/$tool.times" | median)
  mib=$(cut -d' ' -f2 "$work/$tool.times" | median | awk '{ printf "%.0f", $1 / 1024 }')
  printf '%-8s median %s s over %d runs, peak memory %s MiB\n' "$tool" "$seconds" "$runs" "$mib"
done
