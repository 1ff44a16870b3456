# Sourced by the benchmark scripts. $work is their scratch folder.

# measure NAME [VARIABLE...]: runs the function NAME under GNU time, with the named variables,
# and appends "seconds kilobytes" to $work/NAME.times. The wall time is taken around the run
# from bash's clock, to the microsecond (GNU time gives hundredths, too coarse for short runs);
# the peak memory (maximum resident set) comes from GNU time.
measure() {
  local name=$1 start end
  shift
  start=$EPOCHREALTIME
  /usr/bin/time -f "%M" -o "$work/time" bash -c "$(declare -f "$name"); $(declare -p "$@"); $name"
  end=$EPOCHREALTIME
  echo "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }') $(cat "$work/time")" \
    >> "$work/$name.times"
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
