#!/usr/bin/env bash
# Writes generic_egm96.xyz: a GDAL-written XYZ file (space-separated "longitude latitude height",
# rows from north to south) of EGM96 over central Europe, 5-15E 45-55N on its own 15' grid, and
# generic_egm96.expected, the nodes a model of it must hold (south to north, west to east).
#   apt-get install gdal-bin proj-data && samples/make_generic_sample.sh
set -euo pipefail
cd "$(dirname "$0")"
gdal_translate -q -of XYZ -srcwin 740 140 41 41 /usr/share/proj/egm96_15.gtx generic_egm96.xyz
rm -f generic_egm96.xyz.aux.xml
# Reverse the order of the rows: the last 41 lines first.
awk '{ line[NR] = $0 } END { for (r = NR / 41 - 1; r >= 0; r--) for (c = 1; c <= 41; c++) {
       split(line[r * 41 + c], f, " "); printf "%.10g %.10g %s\n", f[1], f[2], f[3] } }' \
  generic_egm96.xyz > generic_egm96.expected
