#!/usr/bin/env bash
# Converts the whole EGM96 grid written as XYZ text by GDAL, at 15' (1,038,240 lines, 33 MB) and
# at 3' (25,956,000 lines, 1.4 GB, resampled with gdalwarp -tr 0.05 0.05), with hextant-convert,
# side by side with gdal_translate -of GTX on the same file and with the single-thread
# mmap + from_chars floor (bench/parse_floor): alternating runs, median wall times, peak memory
# (maximum resident set), and the ratios.
#   bench/convert_egm96_xyz.sh [BUILD_DIR] [RUNS_15] [RUNS_3]   (RUNS_3 = 0 skips the 3' grid)
# Needs gdal-bin, proj-data and GNU time (apt-get install gdal-bin proj-data time).
#
# The grids are written with longitudes from 0 to 360: the tool's value of pi (3.141592654) puts
# -180 degrees just beyond its angle limit of -3.14159265359 radians, so a -180..180 file is
# refused with "ANGULAR VALUES OUTSIDE LIMITS", while 180..360 wrap into the negative half as they
# should. egm96_15.gtx starts at -180, so its western half is moved past 180 (its columns taken
# with -srcwin and given the bounds 180..360, then joined after the eastern half with
# gdalbuildvrt): every value keeps its own longitude. The 3' grid is warped from that grid.
set -euo pipefail
export LC_ALL=C  # a point in $EPOCHREALTIME and in the figures
build=${1:-build}
runs15=${2:-5}
runs3=${3:-3}
convert=$(realpath "$build/src/app/hextant-convert")
floor=$(realpath "$build/bench/parse_floor")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

hextant() {
  rm -f "$work/egm96.HDM"
  "$convert" --format wizard --angular-unit decimal-degrees --spacing-x "$spacing" \
    --spacing-y "$spacing" --delimiter space --column x=1 --column y=2 --column separation=3 \
    --quiet --output "$work/egm96.HDM" "$work/egm96.xyz" > "$work/hextant.out"
}
gdal() { gdal_translate -q -of GTX "$work/egm96.xyz" "$work/egm96.gtx"; }
floor() { "$floor" "$work/egm96.xyz" > /dev/null; }

source "$(dirname "$0")/measure.sh"

# grid NAME SPACING RUNS: converts $work/egm96.xyz RUNS times with each tool and prints the figures
grid() {
  local name=$1 runs=$3 lines
  spacing=$2
  lines=$(wc -l < "$work/egm96.xyz")
  echo "== $name: $lines lines, $(du -m "$work/egm96.xyz" | cut -f1) MB, $runs alternating runs"
  rm -f "$work"/*.times
  for ((i = 0; i < runs; i++)); do
    measure hextant convert work spacing
    measure gdal work
    measure floor floor work
  done
  cat "$work/hextant.out"
  declare -A seconds
  for tool in hextant gdal floor; do
    seconds[$tool]=$(cut -d' ' -f1 "$work/$tool.times" | median)
    local kib
    kib=$(cut -d' ' -f2 "$work/$tool.times" | median)
    awk -v t="$tool" -v s="${seconds[$tool]}" -v k="$kib" -v n="$lines" 'BEGIN {
      printf "%-8s median %7.3f s, peak memory %5.0f MiB (%.1f bytes per line)\n", t, s, k / 1024, k * 1024 / n }'
  done
  awk -v h="${seconds[hextant]}" -v g="${seconds[gdal]}" -v f="${seconds[floor]}" 'BEGIN {
    printf "gdal_translate / hextant-convert: %.2f (target >= 5)\n", g / h
    printf "hextant-convert / parse floor:    %.2f (target <= 1.5)\n", h / f }'
}

gtx=/usr/share/proj/egm96_15.gtx
gdal_translate -q -of VRT -srcwin 720 0 720 721 "$gtx" "$work/east.vrt"
gdal_translate -q -of VRT -srcwin 0 0 720 721 -a_ullr 179.875 90.125 359.875 -90.125 \
  "$gtx" "$work/west.vrt"
gdalbuildvrt -q "$work/egm96_0_360.vrt" "$work/east.vrt" "$work/west.vrt"
gdal_translate -q -of XYZ "$work/egm96_0_360.vrt" "$work/egm96.xyz"
grid "15' grid" 0.25 "$runs15"
if [ "$runs3" -gt 0 ]; then
  # The target extent keeps gdalwarp from moving the grid back to -180..180.
  gdalwarp -q -te -0.125 -90.125 359.875 90.125 -tr 0.05 0.05 "$work/egm96_0_360.vrt" \
    "$work/egm96_3.tif"
  gdal_translate -q -of XYZ "$work/egm96_3.tif" "$work/egm96.xyz"
  rm -f "$work/egm96_3.tif" "$work/egm96.gtx"
  grid "3' grid" 0.05 "$runs3"
fi
