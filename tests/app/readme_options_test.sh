#!/usr/bin/env bash
# Every option a program's --help lists is named in the README's section on that program, the
# lines from "### `NAME" to the next heading.
#   readme_options_test.sh README PROGRAM...
set -u
readme=$1
shift
status=0
for program in "$@"; do
  name=$(basename "$program")
  section=$(awk -v start="### \`$name " 'index($0, start) == 1 {on = 1; next}
                                         on && /^##/ {exit}
                                         on {print}' "$readme")
  [ -n "$section" ] || { echo "FAIL: $readme has no section \"### \`$name ...\`\""; status=1; continue; }
  options=$("$program" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u)
  [ -n "$options" ] || { echo "FAIL: $name --help lists no option"; status=1; }
  for option in $options; do
    grep -qE -- "(^|[^a-z0-9-])$option([^a-z0-9-]|\$)" <<< "$section" ||
      { echo "FAIL: $name $option is not in the README's section on $name"; status=1; }
  done
done
[ $status -eq 0 ] && echo "README: every option of $# programs"
exit $status
