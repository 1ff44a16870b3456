#!/usr/bin/env bash
# Cross-checks hextant-inspect against PROJ (and GDAL, where installed) on the 15' EGM96 grid of
# proj-data, /usr/share/proj/egm96_15.gtx, converted by hextant-convert as a grid file.
#  1. 300 random points (longitudes in -180..180 and 0..360 alike) answered by
#     `hextant-inspect --points` (bilinear, printed to 0.1 mm) and by
#     `cct -d 4 +proj=vgridshift +grids=egm96_15.gtx +multiplier=1` agree within what the
#     storage allows plus the two prints' half tenths of a millimetre:
#       global  the whole grid, its 192 m of separations stored in centimetres: 5.1 mm;
#       europe  cut to 0..40 E, 35..60 N (44 m, stored in millimetres): 1 mm (0.6 mm expected).
#  2. With GDAL: the global model's `--export gtx` file read through gdallocationinfo gives, at
#     300 random nodes, the values of the original grid within half a centimetre, plus the
#     export's float32 rounding (a few micrometres).
#   bench/crosscheck_egm96.sh [BUILD_DIR]
# Exits 77 (skipped) when proj-bin (cct) or proj-data (the grid) is not installed.
set -euo pipefail
build=${1:-build}
grid=/usr/share/proj/egm96_15.gtx
if ! command -v cct > /dev/null || [ ! -f "$grid" ]; then
  echo "SKIP: cct or $grid is missing (apt-get install proj-bin proj-data)"
  exit 77
fi
convert=$(realpath "$build/src/app/hextant-convert")
inspect=$(realpath "$build/src/app/hextant-inspect")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# compare NAME LIMIT_M LON0 LONSPAN LAT0 LATSPAN [hextant-convert options]: the model of the grid
# against cct at 300 random points of the box.
compare() {
  local name=$1 limit=$2 lon0=$3 dlon=$4 lat0=$5 dlat=$6
  shift 6
  "$convert" --format grid --quiet "$@" --output "$work/$name.HDM" "$grid" > /dev/null
  awk -v lon0="$lon0" -v dlon="$dlon" -v lat0="$lat0" -v dlat="$dlat" 'BEGIN { srand(14);
    for (i = 0; i < 300; i++) {
      lon = lon0 + dlon * rand(); if (i % 2 && lon > 180) lon -= 360;
      printf "%.6f %.6f\n", lon, lat0 + dlat * rand() } }' > "$work/$name.points"
  "$inspect" "$work/$name.HDM" --interpolation 4 --points "$work/$name.points" > "$work/$name.hex"
  awk '{ print $1, $2, 0 }' "$work/$name.points" |
    cct -d 4 +proj=vgridshift +grids=egm96_15.gtx +multiplier=1 > "$work/$name.cct"
  local units
  units=$("$inspect" "$work/$name.HDM" | sed -n 's/^resolution: 1 //p')
  paste "$work/$name.hex" "$work/$name.cct" | awk -v name="$name ($units)" -v limit="$limit" '
    { if ($3 == "null") { nulls++; next }
      d = $3 - $6; if (d < 0) d = -d; if (d > max) { max = d; at = $1 " " $2 } n++ }
    END { printf "%s: %d points against cct, %d null, largest difference %.2f mm at %s (limit %.1f mm)\n",
                 name, n, nulls, 1000 * max, at, 1000 * limit
          exit (n == 300 && max <= limit) ? 0 : 1 }' || { echo "FAIL: $name differs from cct"; status=1; }
}

compare global 0.0051 0 360 -89.9 179.8
compare europe 0.001 0.01 39.98 35.01 24.98 --area 0 35 40 60

if command -v gdallocationinfo > /dev/null; then
  "$inspect" "$work/global.HDM" --export gtx "$work/export.gtx"
  awk 'BEGIN { srand(41); for (i = 0; i < 300; i++)
    printf "%.2f %.2f\n", -180 + 0.25 * int(1440 * rand()), -90 + 0.25 * int(721 * rand()) }' \
    > "$work/nodes.txt"
  gdallocationinfo -valonly -geoloc "$grid" < "$work/nodes.txt" > "$work/original.txt"
  gdallocationinfo -valonly -geoloc "$work/export.gtx" < "$work/nodes.txt" > "$work/export.txt"
  paste "$work/original.txt" "$work/export.txt" | awk '
    { if ($2 == "") { missing++; next } d = $1 - $2; if (d < 0) d = -d; if (d > max) max = d; n++ }
    END { printf "export.gtx: %d nodes through gdallocationinfo, %d missing, largest difference %.3f mm (limit 5.01 mm)\n",
                 n, missing, 1000 * max
          exit (n == 300 && max <= 0.00501) ? 0 : 1 }' || { echo "FAIL: the GTX export differs"; status=1; }
else
  echo "gdallocationinfo is not installed (gdal-bin): the GTX export is not compared"
fi
[ "$status" -eq 0 ] && echo "crosscheck: hextant agrees with PROJ"
exit "$status"
