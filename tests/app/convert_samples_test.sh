#!/usr/bin/env bash
# hextant-convert on every sample, the import wizard's XYZ sample included, end to end: each model's nodes (read back with
# hextant-inspect) must match the sample's expected nodes - positions, and separations to the
# millimetre - and HdmToTarvo.INI must stand beside it. Then the overwrite question without and
# with --overwrite.
#   convert_samples_test.sh CONVERT INSPECT SAMPLES_DIR
set -u
convert=$1 inspect=$2 samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# compare_nodes NODES EXPECTED XY_TOLERANCE
compare_nodes() {
  awk -v tolerance="$3" '
    function abs(v) { return v < 0 ? -v : v }
    NR == FNR { x[FNR] = $1; y[FNR] = $2; n[FNR] = $3; count = FNR; next }
    {
      if (abs($1 - x[FNR]) > tolerance || abs($2 - y[FNR]) > tolerance) {
        print "node " FNR " at " $1 " " $2 ", expected " x[FNR] " " y[FNR]; bad++
      }
      if (($3 == "null") != (n[FNR] == "null") || ($3 != "null" && abs($3 - n[FNR]) > 0.00051)) {
        print "node " FNR ": " $3 ", expected " n[FNR]; bad++
      }
      if (bad > 5) exit 1
    }
    END { if (FNR != count) { print FNR " nodes, expected " count; bad++ } exit bad > 0 }
  ' "$2" "$1"
}

# check FORMAT SAMPLE XY_TOLERANCE [OPTION...]
check() {
  local format=$1 sample=$2 tolerance=$3 dir="$work/$1"
  shift 3
  local model="$dir/${sample%.*}.HDM"
  mkdir -p "$dir" && cp "$samples/$sample" "$dir/"
  if ! "$convert" --format "$format" --quiet "$@" "$dir/$sample" > "$dir/out" 2> "$dir/err"; then
    fail "$format: exit status $?: $(cat "$dir/err")"
    return
  fi
  grep -q "^Output File: $model$" "$dir/out" || fail "$format: results: $(cat "$dir/out")"
  grep -q $'^\\[File\\]='"${sample%.*}"$'.HDM\r$' "$dir/HdmToTarvo.INI" ||
    fail "$format: HdmToTarvo.INI does not name the model"
  "$inspect" --nodes "$model" > "$dir/nodes" || fail "$format: hextant-inspect refused the model"
  compare_nodes "$dir/nodes" "$samples/${sample%.*}.expected" "$tolerance" ||
    fail "$format: the model's nodes differ from the sample's"
}

check catalunya catalunya_egm96.gr 1e-6
check netherlands netherlands_egm96.txt 1e-6
check norway norway_egm96.bin 1e-6
check norway-nn2000 norway_egm96.bin 1e-6
check switzerland switzerland_egm96.txt 0.001
check italy italy_egm96.txt 1e-6
check la-reunion la_reunion_egm96.txt 1e-6
check poland poland_egm96.txt 1e-6
wizard=(--angular-unit decimal-degrees --spacing-x 0.25 --spacing-y 0.25 --delimiter space
        --column x=1 --column y=2 --column separation=3)
check wizard generic_egm96.xyz 1e-6 "${wizard[@]}"
check grid isg20_egm96_dms.isg 1e-8
check grid isg20_egm96_deg.isg 1e-8
check isg isg10_egm96.isg 1e-8
check gtx egm96_cut.gtx 1e-8
check grid egm96_esri.asc 1e-8
check esri-ascii egm96_esri_centre.asc 1e-8
check grid egm96_ngs_be.bin 1e-8
check ngs egm96_ngs_le.bin 1e-8
check grid egm96_byn4.byn 1e-8
check byn egm96_byn2.byn 1e-8
check grid egm96_surfer.grd 1e-8
check surfer egm96_surfer6.grd 1e-8
check grid egm96_surfer7.grd 1e-8
check grid egm96_proj.tif 1e-8
check geotiff egm96_lzw_area.tif 1e-8
check grid egm96_int16.tif 1e-8
check grid egm96_bands_utm.tif 1e-6

# One node line less: the model is written, the grid is not regular.
sed '100d' "$samples/generic_egm96.xyz" > "$work/missing.xyz"
"$convert" --format wizard --quiet "${wizard[@]}" "$work/missing.xyz" > /dev/null 2> "$work/err"
status=$?
[ $status -eq 3 ] || fail "a missing node: exit status $status, expected 3"
grep -q "^ERROR: THE GRID IS NOT REGULAR$" "$work/err" || fail "no irregular grid message"
[ -f "$work/HdmToTarvo.INI" ] && fail "an irregular grid wrote HdmToTarvo.INI"

# inspect_check MODEL STATUS TEXT: hextant-inspect --check exits with STATUS and prints TEXT.
inspect_check() {
  "$inspect" --check "$1" > "$work/check" 2>&1
  local status=$?
  [ $status -eq "$2" ] || fail "--check $1: exit status $status, expected $2"
  grep -q "$3" "$work/check" || fail "--check $1: no '$3' in: $(cat "$work/check")"
}
inspect_check "$work/wizard/generic_egm96.HDM" 0 "^check: ok$"
inspect_check "$work/missing.HDM" 3 "^grid: not regular, 1680 nodes on 41 rows"
sed '700s/ [^ ]*$/ n\/a/' "$samples/generic_egm96.xyz" > "$work/blank.xyz"
"$convert" --format wizard --quiet "${wizard[@]}" "$work/blank.xyz" > /dev/null 2>&1
inspect_check "$work/blank.HDM" 3 "warning: 1 node(s) hold 0 m unlike their neighbours (the first at 5.5 50.75)"

# A grid file needs no --format: its content tells its layout. Cut to a box of 5 x 4 nodes.
mkdir -p "$work/area" && cp "$samples/egm96_cut.gtx" "$work/area/cut.gtx"
"$convert" --quiet --area -5 36 -4 36.75 "$work/area/cut.gtx" > "$work/out" 2> "$work/err" ||
  fail "a GTX file without --format: exit status $?: $(cat "$work/err")"
grep -q "^Number of points: 20$" "$work/out" && grep -q "^Points read: 861$" "$work/out" ||
  fail "--area: $(cat "$work/out")"
"$inspect" --nodes "$work/area/cut.HDM" | head -1 | grep -q "^-5 36 " ||
  fail "--area: the first node is not at -5 36"
"$convert" --quiet --overwrite --area 10 10 11 11 "$work/area/cut.gtx" > /dev/null 2> "$work/err"
[ $? -eq 1 ] || fail "an area without nodes was not refused"
grep -q "The area 10 10 11 11 holds no node of $work/area/cut.gtx" "$work/err" ||
  fail "an area without nodes: $(cat "$work/err")"
printf 'x y z\n' > "$work/area/plain.txt"
"$convert" --quiet "$work/area/plain.txt" > /dev/null 2> "$work/err"
[ $? -eq 2 ] && grep -q "format is required: $work/area/plain.txt is not a grid file" "$work/err" ||
  fail "a text file without --format: $(cat "$work/err")"

# Round trips: a model exported as ISG 2.0 and as GTX reads back as the same nodes, to the
# millimetre the export prints.
"$inspect" --nodes "$work/wizard/generic_egm96.HDM" > "$work/model.nodes"
for layout in isg gtx; do
  "$inspect" --export $layout "$work/area/back.$layout" "$work/wizard/generic_egm96.HDM" ||
    fail "--export $layout: exit status $?"
  "$convert" --quiet --output "$work/area/back-$layout.HDM" "$work/area/back.$layout" \
    > /dev/null 2> "$work/err" || fail "$layout round trip: exit status $?: $(cat "$work/err")"
  "$inspect" --nodes "$work/area/back-$layout.HDM" > "$work/back.nodes"
  compare_nodes "$work/back.nodes" "$work/model.nodes" 1e-8 ||
    fail "the $layout export read back differs from the model"
done

# GDAL, where it is installed, reads the GTX sample as the same nodes.
if command -v gdal_translate > /dev/null; then
  gdal_translate -q -of XYZ "$samples/egm96_cut.gtx" "$work/gdal.xyz"
  sort -k2,2g -k1,1g "$work/gdal.xyz" | awk '{ printf "%s %s %.4f\n", $1, $2, $3 }' \
    > "$work/gdal.expected"
  compare_nodes "$work/gtx/nodes" "$work/gdal.expected" 1e-8 ||
    fail "the GTX sample's model differs from GDAL's reading"
else
  echo "gdal_translate is not installed: the GTX sample is not compared with GDAL"
fi

source="$work/catalunya/catalunya_egm96.gr"
"$convert" --format catalunya --quiet "$source" > /dev/null 2> "$work/err"
status=$?
[ $status -eq 1 ] || fail "existing model without --overwrite: exit status $status"
grep -q "^Warning: The file ${source%.gr}.HDM already exists, overwrite?$" "$work/err" ||
  fail "no overwrite question: $(cat "$work/err")"
"$convert" --format catalunya --quiet --overwrite "$source" > /dev/null 2>&1 ||
  fail "--overwrite: exit status $?"

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "convert samples: all checks passed"
