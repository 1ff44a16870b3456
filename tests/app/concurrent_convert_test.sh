#!/usr/bin/env bash
# Runs that write one output at the same time: every run that exits 0 leaves a complete model, the
# model at the path at the end is exactly one of the two sources' models, HdmToTarvo.INI is whole,
# and no staging file is left behind.
#   concurrent_convert_test.sh CONVERT SAMPLES_DIR
set -u
convert=$1 samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Two sources whose models differ: the sample, and the sample 1 m higher everywhere.
cp "$samples/catalunya_egm96.gr" "$work/a.gr"
awk 'BEGIN { body = 0 } /^\\DATA/ { body = 1; print; next } /^\\END/ { body = 0 }
     body && NF { for (i = 1; i <= NF; ++i) $i = sprintf("%.4f", $i + 1) } { print }' \
  "$samples/catalunya_egm96.gr" > "$work/b.gr"
for s in a b; do
  mkdir -p "$work/ref-$s"
  "$convert" --format catalunya --quiet --output "$work/ref-$s/m.HDM" "$work/$s.gr" > /dev/null ||
    fail "reference model $s"
done
cmp -s "$work/ref-a/m.HDM" "$work/ref-b/m.HDM" && fail "the two sources give the same model"

mkdir -p "$work/out"
for trial in $(seq 1 15); do
  pids=()
  for s in a b a b; do
    "$convert" --format catalunya --quiet --overwrite --output "$work/out/m.HDM" "$work/$s.gr" \
      > /dev/null 2> "$work/err-$trial-${#pids[@]}" &
    pids+=($!)
  done
  for i in "${!pids[@]}"; do
    wait "${pids[$i]}" || fail "trial $trial run $i exited $?: $(cat "$work/err-$trial-$i")"
  done
  cmp -s "$work/out/m.HDM" "$work/ref-a/m.HDM" || cmp -s "$work/out/m.HDM" "$work/ref-b/m.HDM" ||
    fail "trial $trial left a model that is neither source's"
  cmp -s "$work/out/HdmToTarvo.INI" "$work/ref-a/HdmToTarvo.INI" ||
    fail "trial $trial left a different HdmToTarvo.INI"
done
leftovers=$(ls -A "$work/out" | grep -v -x -e m.HDM -e HdmToTarvo.INI)
[ -z "$leftovers" ] || fail "files left beside the model: $leftovers"
[ $failures -eq 0 ] && echo "concurrent runs: ok"
exit $((failures > 0))
