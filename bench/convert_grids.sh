#!/usr/bin/env bash
# Converts the whole EGM96 geoid resampled to 3' (gdalwarp -tr 0.05 0.05 of egm96_15.gtx:
# 3601 x 7200 = 25,927,200 nodes) from a GTX file, an ISG 2.0 file and a PROJ-style GeoTIFF
# (beside gdal_translate of that GeoTIFF to GTX) with hextant-convert,
# side by side with copying the GTX file (cp from the page cache to a new file, then fsync) and
# with the single-thread mmap + from_chars floor of the ISG file (bench/parse_floor --grid):
# alternating runs, median wall times, peak memory (maximum resident set), and the ratios.
#   bench/convert_grids.sh [BUILD_DIR] [RUNS]
# Needs gdal-bin, proj-data and GNU time (apt-get install gdal-bin proj-data time).
set -euo pipefail
export LC_ALL=C
build=${1:-build}
runs=${2:-5}
convert=$(realpath "$build/src/app/hextant-convert")
floor=$(realpath "$build/bench/parse_floor")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gtx() { "$convert" --quiet --overwrite --output "$work/gtx.HDM" "$work/egm96_3.gtx" > /dev/null 2>&1; }
isg() { "$convert" --quiet --overwrite --output "$work/isg.HDM" "$work/egm96_3.isg" > /dev/null 2>&1; }
copy() { rm -f "$work/copy.gtx"; cp "$work/egm96_3.gtx" "$work/copy.gtx"; sync "$work/copy.gtx"; }
floor() { "$floor" --grid "$work/egm96_3.isg" > /dev/null; }
tif() { "$convert" --quiet --overwrite --output "$work/tif.HDM" "$work/egm96_3.tif" > /dev/null 2>&1; }
# GDAL reading the same GeoTIFF into a GTX: the peer's decoding of the file.
gdal() { gdal_translate -q -of GTX "$work/egm96_3.tif" "$work/gdal.gtx"; }

source "$(dirname "$0")/measure.sh"

gdalwarp -q -of GTX -te -180.025 -90.025 179.975 90.025 -tr 0.05 0.05 \
  /usr/share/proj/egm96_15.gtx "$work/egm96_3.gtx"
rm -f "$work/egm96_3.gtx.aux.xml"
# The same grid as PROJ publishes GeoTIFF grids: tiled, DEFLATE, floating-point predictor.
gdal_translate -q -co TILED=YES -co COMPRESS=DEFLATE -co PREDICTOR=3 -mo AREA_OR_POINT=Point \
  "$work/egm96_3.gtx" "$work/egm96_3.tif"
# The same grid as ISG 2.0, values to four decimals as published files give them.
python3 - "$work/egm96_3.gtx" "$work/egm96_3.isg" <<'PY'
import array, struct, sys
data = open(sys.argv[1], "rb").read()
south, west, dlat, dlon, rows, cols = struct.unpack(">4d2i", data[:40])
values = array.array("f")
values.frombytes(data[40:])
values.byteswap()
with open(sys.argv[2], "w") as out:
    out.write("EGM96 resampled to 3', for the benchmark\nbegin_of_head ====\n")
    for key, value in [("lat min", south), ("lat max", south + (rows - 1) * dlat),
                       ("lon min", west), ("lon max", west + (cols - 1) * dlon),
                       ("delta lat", dlat), ("delta lon", dlon)]:
        out.write("%-15s= %.6f\n" % (key, value))
    out.write("nrows          = %d\nncols          = %d\nnodata         = -9999.0000\n"
              "ISG format     = 2.0\nend_of_head ====\n" % (rows, cols))
    for r in range(rows - 1, -1, -1):
        row = values[r * cols:(r + 1) * cols]
        out.write(" ".join("%10.4f" % v for v in row) + "\n")
PY
nodes=25927200
echo "== EGM96 3': $nodes nodes; GTX $(du -m "$work/egm96_3.gtx" | cut -f1) MB, ISG 2.0 $(du -m "$work/egm96_3.isg" | cut -f1) MB; $runs alternating runs"
for ((i = 0; i < runs; i++)); do
  measure gtx convert work
  measure copy work
  measure isg convert work
  measure floor floor work
  measure tif convert work
  measure gdal work
done
declare -A seconds kib
for tool in gtx copy isg floor tif gdal; do
  seconds[$tool]=$(cut -d' ' -f1 "$work/$tool.times" | median)
  kib[$tool]=$(cut -d' ' -f2 "$work/$tool.times" | median)
  awk -v t="$tool" -v s="${seconds[$tool]}" -v k="${kib[$tool]}" -v n="$nodes" 'BEGIN {
    printf "%-6s median %7.3f s, peak memory %5.0f MiB (%.1f bytes per node)\n", t, s, k / 1024, k * 1024 / n }'
done
awk -v g="${seconds[gtx]}" -v c="${seconds[copy]}" -v i="${seconds[isg]}" -v f="${seconds[floor]}" \
    -v t="${seconds[tif]}" -v d="${seconds[gdal]}" -v k="${kib[gtx]}" -v n="$nodes" 'BEGIN {
  printf "GTX -> HDM / copy with fsync:      %.2f (target <= 1.5)\n", g / c
  printf "GTX -> HDM peak memory:            %.0f MiB (target <= %.0f MiB, 8 bytes per node + 64 MiB)\n", k / 1024, (8 * n) / 1048576 + 64
  printf "ISG 2.0 -> HDM / parse floor:      %.2f (target <= 1.0)\n", i / f
  printf "GeoTIFF -> HDM / GDAL to GTX:      %.2f\n", t / d }'
