#!/usr/bin/env bash
# hextant-convert on the Catalunya EGM96 sample, end to end: the results it prints, the settings
# file, and every node of the model (read back with hextant-inspect) against the sample's values
# to the millimetre; then the overwrite question without and with --overwrite.
#   convert_catalunya_test.sh CONVERT INSPECT SAMPLE
set -u
convert=$1 inspect=$2 sample=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp "$sample" "$work/catalunya.gr"
"$convert" --format catalunya --quiet "$work/catalunya.gr" > "$work/out" 2> "$work/err"
status=$?
[ $status -eq 0 ] || fail "exit status $status: $(cat "$work/err")"
printf 'Output File: %s\nNumber of points: 7081\nGrid Rows: 73\nGrid Columns: 97\nUnits: mm\n' \
  "$work/catalunya.HDM" > "$work/expected_out"
diff -u "$work/expected_out" "$work/out" || fail "results differ"
[ -s "$work/err" ] && fail "unexpected stderr: $(cat "$work/err")"

grep -q $'^\\[File\\]=catalunya.HDM\r$' "$work/HdmToTarvo.INI" || fail "INI lacks [File]=catalunya.HDM"
grep -q $'^\\[Interpolation\\]=1\r$' "$work/HdmToTarvo.INI" || fail "INI lacks [Interpolation]=1"

# The sample lists rows from north to south; the model stores them from south to north.
"$inspect" --nodes "$work/catalunya.HDM" > "$work/nodes" || fail "hextant-inspect refused the model"
awk -v columns=97 -v rows=73 '
  NR == FNR { if (started) { value[count++] = $1 } if ($0 ~ /^\\DATA/) started = 1; next }
  {
    k = FNR - 1; row = int(k / columns); col = k % columns
    expected = value[(rows - 1 - row) * columns + col] + 0
    lon = 10 / 60 + col * 2 / 60; lat = 40.5 + row * 2 / 60
    d = $3 - expected; if (d < 0) d = -d
    if ($3 == "null" || d > 0.0005) { print "node " k ": " $3 " instead of " expected; bad++ }
    dx = $1 - lon; dy = $2 - lat; if (dx < 0) dx = -dx; if (dy < 0) dy = -dy
    if (dx > 1e-6 || dy > 1e-6) { print "node " k " at " $1 " " $2; bad++ }
  }
  END { if (FNR != rows * columns) { print FNR " nodes"; bad++ } exit bad > 0 }
' "$work/catalunya.gr" "$work/nodes" || fail "model nodes differ from the sample"

"$convert" --format catalunya --quiet "$work/catalunya.gr" > /dev/null 2> "$work/err"
status=$?
[ $status -eq 1 ] || fail "existing model without --overwrite: exit status $status"
grep -q "^Warning: The file $work/catalunya.HDM already exists, overwrite?$" "$work/err" ||
  fail "no overwrite question: $(cat "$work/err")"
"$convert" --format catalunya --quiet --overwrite "$work/catalunya.gr" > /dev/null 2>&1 ||
  fail "--overwrite: exit status $?"

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "convert catalunya: all checks passed"
