#!/usr/bin/env bash
# Cross-checks hextant-inspect against PROJ and GDAL on the 15' EGM96 grid of proj-data.
#  1. GDAL writes /usr/share/proj/egm96_15.gtx as XYZ text, its longitudes -180..-0.25 moved to
#     180..359.75 with their values (the tool refuses -180 exactly, see
#     bench/convert_egm96_xyz.sh), and hextant-convert turns it into a model. Its separations
#     span 192 m, too much for millimetres: the model stores centimetres.
#  2. 300 random points (longitudes in -180..180 and 0..360 alike) answered by
#     `hextant-inspect --points` (bilinear) and by `cct +proj=vgridshift +grids=egm96_15.gtx
#     +multiplier=1` agree within 1 cm: the nodes are rounded to the centimetre (±5 mm) and so is
#     the answer (±5 mm).
#  3. The same on a European part of the grid (0..40 E, 35..60 N, a span of 44 m, stored in
#     millimetres): within 2 mm.
#  4. The global model's `--export gtx` file read through gdallocationinfo gives, at 300 random
#     nodes, the values of the original grid within half a centimetre.
#   bench/crosscheck_egm96.sh [BUILD_DIR]
# Exits 77 (skipped) when gdal-bin, proj-bin or proj-data are not installed.
set -euo pipefail
build=${1:-build}
grid=/usr/share/proj/egm96_15.gtx
for tool in gdal_translate gdallocationinfo cct awk; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is not installed (apt-get install gdal-bin proj-bin proj-data)"
    exit 77
  fi
done
if [ ! -f "$grid" ]; then
  echo "SKIP: $grid is missing (apt-get install proj-data)"
  exit 77
fi
convert=$(realpath "$build/src/app/hextant-convert")
inspect=$(realpath "$build/src/app/hextant-inspect")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# model NAME [gdal_translate options]: $work/NAME.HDM from the grid (or a part of it).
model() {
  local name=$1
  shift
  gdal_translate -q -of XYZ "$@" "$grid" /vsistdout/ |
    awk '{ if ($1 < 0) $1 += 360; print }' > "$work/$name.xyz"
  "$convert" --format wizard --angular-unit decimal-degrees --spacing-x 0.25 --spacing-y 0.25 \
    --delimiter space --column x=1 --column y=2 --column separation=3 --quiet \
    --output "$work/$name.HDM" "$work/$name.xyz" > /dev/null
  echo "$name: $("$inspect" "$work/$name.HDM" | grep -E '^(nodes|resolution)' | tr '\n' ' ')"
}

# compare NAME TOLERANCE LON0 LONSPAN LAT0 LATSPAN: 300 random points against cct.
compare() {
  local name=$1 tolerance=$2
  awk -v lon0="$3" -v dlon="$4" -v lat0="$5" -v dlat="$6" 'BEGIN { srand(14);
    for (i = 0; i < 300; i++) {
      lon = lon0 + dlon * rand(); if (i % 2 && lon > 180) lon -= 360;
      printf "%.6f %.6f\n", lon, lat0 + dlat * rand() } }' > "$work/$name.points"
  "$inspect" "$work/$name.HDM" --interpolation 4 --points "$work/$name.points" > "$work/$name.hex"
  awk '{ print $1, $2, 0 }' "$work/$name.points" |
    cct -d 6 +proj=vgridshift +grids=egm96_15.gtx +multiplier=1 > "$work/$name.cct"
  paste "$work/$name.hex" "$work/$name.cct" | awk -v name="$name" -v tolerance="$tolerance" '
    { if ($3 == "null") { nulls++; next }
      d = $3 - $6; if (d < 0) d = -d; if (d > max) max = d; sum += d; n++ }
    END { printf "%s: %d points against cct, %d null, max |difference| %.4f m, mean %.4f m (limit %s m)\n",
                 name, n, nulls, max, sum / n, tolerance
          exit (n == 300 && max <= tolerance) ? 0 : 1 }' || { echo "FAIL: $name differs from cct"; status=1; }
}

model global
compare global 0.010 0 360 -89.9 179.8
model europe -projwin -0.125 60.125 40.125 34.875
compare europe 0.002 0.01 39.98 35.01 24.98

"$inspect" "$work/global.HDM" --export gtx "$work/export.gtx"
awk 'BEGIN { srand(41); for (i = 0; i < 300; i++)
  printf "%.2f %.2f\n", -180 + 0.25 * int(1440 * rand()), -90 + 0.25 * int(721 * rand()) }' \
  > "$work/nodes.txt"
gdallocationinfo -valonly -geoloc "$grid" < "$work/nodes.txt" > "$work/original.txt"
gdallocationinfo -valonly -geoloc "$work/export.gtx" < "$work/nodes.txt" > "$work/export.txt"
echo "export.gtx: $(gdalinfo "$work/export.gtx" | grep -E '^(Size is|Origin)' | tr '\n' ' ')"
paste "$work/original.txt" "$work/export.txt" | awk '
  { if ($2 == "") { missing++; next } d = $1 - $2; if (d < 0) d = -d; if (d > max) max = d; n++ }
  END { printf "export.gtx: %d nodes through gdallocationinfo, %d missing, max |difference| %.6f m (limit 0.005 m)\n",
               n, missing, max
        exit (n == 300 && max <= 0.005) ? 0 : 1 }' || { echo "FAIL: the GTX export differs"; status=1; }
[ "$status" -eq 0 ] && echo "crosscheck: hextant agrees with PROJ and GDAL"
exit "$status"
