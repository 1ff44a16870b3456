#!/usr/bin/env bash
# hextant-inspect on models written by a plain C program through the writer library, and on
# broken files: exact output for good models, exit status 1 and one line on stderr for bad ones.
#   inspect_cli_test.sh C_CLIENT INSPECT EXPECTED_DIR VERSION
set -u
client=$1 inspect=$2 expected=$3 version=$4
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
"$inspect" --radians "$work/geographical.HDM" | grep -qx "first-x: 0.034906585039886591 rad" ||
  fail "--radians does not print the stored radians"
[ "$("$inspect" --version)" = "hextant-inspect $version" ] || fail "--version: $("$inspect" --version)"

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

# Point queries on the geographical model (2..2.25 E, 41..41.25 N, centimetres, node 2 41.25
# without value): bilinear inside, the same point 360 degrees away, null beside the empty node,
# each to 0.1 mm. The point as X,Y, as "X Y" and as two arguments X Y.
"$inspect" "$work/geographical.HDM" --at 2.1,41 --at "362.1 41" --at -357.9 41 --at 2.2,41.1 \
  --at 1,41 > "$work/at.out" || fail "--at: exit status $?"
printf '2.1 41 49.5120\n362.1 41 49.5120\n-357.9 41 49.5120\n2.2 41.1 null\n1 41 null\n' |
  diff -u - "$work/at.out" || fail "--at answers differ"
"$inspect" "$work/grid.HDM" --at 1010,2005 --interpolation 4 > "$work/at.out"
echo "1010 2005 40.7505" | diff -u - "$work/at.out" || fail "--interpolation 4 answer differs"

# A points file with broken lines: each named by its number, the other points still answered.
{ printf '# control points\r2.1;41\n\nabc 41\n2,25\t41 # a node\n1 2 3\n'
  head -c 50000000 /dev/zero | tr '\0' '7'; printf '\n'; } > "$work/points.txt"
"$inspect" "$work/geographical.HDM" --points - < "$work/points.txt" > "$work/points.out" \
  2> "$work/points.err"
[ $? -eq 1 ] || fail "--points with broken lines: exit status should be 1"
printf '2.1 41 49.5120\n2,25 41 49.5300\n' | diff -u - "$work/points.out" || fail "--points answers"
grep -q "standard input:4: 'abc' is not a number" "$work/points.err" || fail "line 4 not named"
grep -q "standard input:6: expected two numbers" "$work/points.err" || fail "line 6 not named"
grep -q "standard input:7: the line is too long" "$work/points.err" || fail "a 50 MB line"

"$inspect" "$work/geographical.HDM" --at 2,north > "$work/out" 2>&1
[ $? -eq 2 ] || fail "--at with text: exit status should be 2"
"$inspect" "$work/corrupted.HDM" --at 1010,2005 > "$work/out" 2> "$work/err"
[ $? -eq 1 ] || fail "query on a corrupted model: exit status should be 1"
[ -s "$work/out" ] && fail "query on a corrupted model answered"
grep -q "is corrupted" "$work/err" || fail "query on a corrupted model: '$(cat "$work/err")'"

# Exports: XYZ lists the nodes with a value; a folder that cannot be written leaves nothing.
"$inspect" "$work/geographical.HDM" --export xyz "$work/geographical.xyz" || fail "--export xyz"
printf '2 41 49.50\n2.25 41 49.53\n2.25 41.25 49.46\n' | diff -u - "$work/geographical.xyz" ||
  fail "--export xyz differs"
"$inspect" "$work/geographical.HDM" --export gtx "$work/geographical.gtx" || fail "--export gtx"
[ "$(wc -c < "$work/geographical.gtx")" -eq 56 ] || fail "--export gtx: not 40 + 4 x 4 bytes"
"$inspect" "$work/geographical.HDM" --export isg "$work/none/model.isg" 2> "$work/err"
[ $? -eq 1 ] || fail "--export into a missing folder: exit status should be 1"
grep -q "cannot be written" "$work/err" || fail "--export into a missing folder: '$(cat "$work/err")'"
# A file at an output's place is kept byte for byte, and nothing written, unless --overwrite.
printf 'earlier file\n' > "$work/earlier.out" && cp "$work/earlier.out" "$work/earlier.copy"
for action in "--export xyz" "--picture" "--export gtx $work/new.gtx --picture"; do
  "$inspect" "$work/geographical.HDM" $action "$work/earlier.out" > "$work/out" 2> "$work/err"
  [ $? -eq 1 ] || fail "$action over an existing file: exit status should be 1"
  echo "hextant-inspect: $work/earlier.out already exists; give --overwrite to replace it" |
    diff -u - "$work/err" || fail "$action over an existing file: no refusal naming it"
  cmp -s "$work/earlier.out" "$work/earlier.copy" || fail "$action replaced an existing file"
  [ -e "$work/new.gtx" ] && fail "$action: the other output was written after a refusal"
done
"$inspect" "$work/geographical.HDM" --export xyz "$work/earlier.out" --overwrite ||
  fail "--export --overwrite: exit status $?"
cmp -s "$work/earlier.out" "$work/geographical.xyz" || fail "--overwrite did not replace the file"
cp "$work/geographical.HDM" "$work/before.HDM"
for action in "--export xyz" "--picture"; do
  "$inspect" "$work/geographical.HDM" $action "$work/../$(basename "$work")/geographical.HDM" \
    2> "$work/err" && fail "$action over the model it reads"
  grep -q "not written: it is the model being read" "$work/err" || fail "$action: $(cat "$work/err")"
  cmp -s "$work/geographical.HDM" "$work/before.HDM" || fail "$action replaced the model it reads"
done
"$inspect" "$work/grid.HDM" --export gtx "$work/grid.gtx" 2> /dev/null && fail "GTX of a grid model"
[ -e "$work/grid.gtx" ] && fail "a refused export left a file"

# The picture: a PNG of the requested width; none in a folder that cannot be written.
# The toolkit says nothing on stderr, even without a runtime folder.
env -u XDG_RUNTIME_DIR "$inspect" "$work/geographical.HDM" --picture "$work/model.png" --width 120 \
  2> "$work/picture.err" || fail "--picture: exit status $?"
[ -s "$work/picture.err" ] && fail "--picture wrote to stderr: $(cat "$work/picture.err")"
[ "$(head -c 8 "$work/model.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
  fail "--picture did not write a PNG"
[ "$(od -An -tu1 -j16 -N4 "$work/model.png" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')" -eq 120 ] ||
  fail "--picture: width is not 120"
"$inspect" "$work/geographical.HDM" --picture "$work/none/model.png" 2> /dev/null &&
  fail "--picture into a missing folder succeeded"

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "inspect CLI: all checks passed"
