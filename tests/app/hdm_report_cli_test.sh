#!/usr/bin/env bash
# hextant-inspect on models written by a plain C program through the writer library, and on
# broken files: exact output for good models, exit status 1 and one line on stderr for bad ones.
#   inspect_cli_test.sh C_CLIENT INSPECT EXPECTED_DIR
set -u
client=$1 inspect=$2 expected=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$client" "$work/grid.HDM" "$work/geographical.HDM" || fail "the C client could not write its models"

for model in grid geographical; do
  "$inspect" "$work/$model.HDM" > "$work/$model.header" || fail "$model: header exit status $?"
  diff -u "$expected/${model}_header.txt" "$work/$model.header" || fail "$model: header differs"
  "$inspect" --nodes "$work/$model.HDM" > "$work/$model.nodes" || fail "$model: nodes exit status $?"
  diff -u "$expected/${model}_nodes.txt" "$work/$model.nodes" || fail "$model: nodes differ"
done

# broken NAME EXPECTED_TEXT: exit status 1, nothing on stdout, one stderr line naming the problem.
broken() {
  local file=$1 text=$2 status lines
  "$inspect" "$file" > "$work/out" 2> "$work/err"
  status=$?
  lines=$(wc -l < "$work/err")
  [ "$status" -eq 1 ] || fail "$file: exit status $status, expected 1"
  [ "$lines" -eq 1 ] || fail "$file: $lines lines on stderr, expected 1"
  [ -s "$work/out" ] && fail "$file: printed on stdout"
  grep -q -- "$file: $text" "$work/err" || fail "$file: stderr '$(cat "$work/err")' lacks '$text'"
}

cp "$work/grid.HDM" "$work/corrupted.HDM"
printf '\x55' | dd of="$work/corrupted.HDM" bs=1 seek=120 conv=notrunc status=none
broken "$work/corrupted.HDM" "is corrupted"

head -c 100 "$work/grid.HDM" > "$work/truncated.HDM"
broken "$work/truncated.HDM" "is truncated"

printf 'x y n\n1 2 3\n' > "$work/foreign.HDM"
broken "$work/foreign.HDM" "is not an HDM model"
broken "$work/missing.HDM" "cannot be opened"

"$inspect" > /dev/null 2>&1
[ $? -eq 2 ] || fail "no argument: exit status should be 2"

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "inspect CLI: all checks passed"
