#!/usr/bin/env bash
# A source whose reads fail part way (EIO from an LD_PRELOAD shim around read) stops every
# reader: exit status 1, a message naming the file and the system's reason, and nothing written,
# whether the model's name was new or an earlier model stood there.
#   read_error_test.sh CONVERT SHIM SAMPLES_DIR
set -u
convert=$1 shim=$2 samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

wizard=(--angular-unit decimal-degrees --spacing-x 0.25 --spacing-y 0.25 --delimiter space
        --column x=1 --column y=2 --column separation=3)

# check FORMAT SAMPLE [OPTION...]: the read fails half way through the file.
check() {
  local format=$1 sample=$2 dir="$work/$1"
  shift 2
  mkdir -p "$dir" && cp "$samples/$sample" "$dir/"
  local source="$dir/$sample" model="$dir/${sample%.*}.HDM"
  local half=$(($(stat -c %s "$source") / 2))
  for earlier in no yes; do
    rm -f "$model" "$dir/HdmToTarvo.INI"
    [ $earlier = yes ] && printf 'earlier' > "$model"
    LD_PRELOAD="$shim" HEXTANT_FAIL_READS_OF="$source" HEXTANT_FAIL_AFTER=$half \
      "$convert" --format "$format" --quiet --overwrite "$@" "$source" > /dev/null 2> "$dir/err"
    local status=$?
    [ $status -eq 1 ] || fail "$format: exit status $status, expected 1: $(cat "$dir/err")"
    grep -q "The file $source could not be read: Input/output error" "$dir/err" ||
      fail "$format: the message does not name the file and the error: $(cat "$dir/err")"
    if [ $earlier = yes ]; then
      [ "$(cat "$model" 2> /dev/null)" = earlier ] || fail "$format: the earlier model was replaced"
    else
      [ -e "$model" ] && fail "$format: a model was written"
    fi
    [ -e "$dir/HdmToTarvo.INI" ] && fail "$format: HdmToTarvo.INI was written"
    ls -a "$dir" | grep -q '\.part$' && fail "$format: a staging file was left"
  done
}

check catalunya catalunya_egm96.gr
check netherlands netherlands_egm96.txt
check norway norway_egm96.bin
check switzerland switzerland_egm96.txt
check italy italy_egm96.txt
check la-reunion la_reunion_egm96.txt
check poland poland_egm96.txt
check wizard generic_egm96.xyz "${wizard[@]}"
check grid isg20_egm96_dms.isg
check grid egm96_cut.gtx
check grid egm96_esri.asc
check grid egm96_ngs_be.bin
check grid egm96_byn4.byn
check grid egm96_surfer.grd
check grid egm96_surfer7.grd
check grid egm96_proj.tif
check geotiff egm96_lzw_area.tif

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "read errors: every reader stops and names the file"
