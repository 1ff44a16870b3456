#!/usr/bin/env bash
# A conversion interrupted while it writes its model (SIGINT, SIGTERM, SIGHUP; paused inside the
# first write to its staging file by the fault shim) ends with 128 + the signal's number and
# leaves the folder as it found it: an earlier model byte for byte, no model under a new name, no
# staging file, no HdmToTarvo.INI. After kill -9 the staging files stay, and the very next run
# removes them.
#   interruption_test.sh CONVERT SHIM SAMPLES_DIR
set -u -m  # job control: a background job keeps SIGINT, which a script's jobs would ignore
export LC_ALL=C
convert=$1 shim=$2 samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

source="$work/egm96_cut.gtx" model="$work/egm96_cut.HDM" marker="$work/writing"
cp "$samples/egm96_cut.gtx" "$source"

# start: runs the conversion in the background, paused in its first write; sets $pid.
start() {
  rm -f "$marker"
  LD_PRELOAD="$shim" HEXTANT_PAUSE_MARKER="$marker" \
    "$convert" --format grid --quiet --overwrite "$source" > /dev/null 2> "$work/err" &
  pid=$!
  for _ in $(seq 200); do
    [ -e "$marker" ] && return 0
    sleep 0.1
  done
  fail "the conversion never reached its write: $(cat "$work/err")"
  kill -9 $pid
}

# leftovers: the names in the folder besides the source, the marker and stderr.
leftovers() { ls -A "$work" | grep -v -e '^egm96_cut.gtx$' -e '^writing$' -e '^err$' | tr '\n' ' '; }

for signal in INT:130 TERM:143 HUP:129; do
  name=${signal%%:*} expected=${signal##*:}
  for earlier in no yes; do
    rm -f "$model" "$work/HdmToTarvo.INI"
    [ $earlier = yes ] && printf 'earlier model' > "$model"
    start || continue
    kill -$name $pid
    wait $pid
    status=$?
    [ $status -eq $expected ] || fail "SIG$name: exit status $status, expected $expected"
    if [ $earlier = yes ]; then
      [ "$(cat "$model")" = "earlier model" ] || fail "SIG$name: the earlier model was changed"
      [ "$(leftovers)" = "egm96_cut.HDM " ] || fail "SIG$name: left $(leftovers)"
    else
      [ -z "$(leftovers)" ] || fail "SIG$name, new name: left $(leftovers)"
    fi
  done
done

rm -f "$model"
start && kill -9 $pid && wait $pid 2> /dev/null
ls -A "$work" | grep -q '\.part$' || fail "kill -9 left no staging file to clean up"
"$convert" --format grid --quiet --overwrite "$source" > /dev/null 2> "$work/err" ||
  fail "the run after kill -9 failed: $(cat "$work/err")"
[ "$(leftovers)" = "HdmToTarvo.INI egm96_cut.HDM " ] ||
  fail "the run after kill -9 left $(leftovers)"

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "interruptions: exit 130/143/129, nothing left behind, a killed run's files removed"
