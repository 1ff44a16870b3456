# deb-source.sh: sourced by the scripts that cross-build a library from the distribution's own
# source package (qt-mingw.sh, tiff-mingw.sh). Nothing is downloaded but that source package.

# Runs a command as root: directly when root, else through sudo.
sudo_if_needed() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# `apt-get source` needs a deb-src entry: the distribution's own deb entries again as deb-src
# (third-party repositories, whose suites are not the distribution's, are left out).
add_source_entries() {
  local codename list=/etc/apt/sources.list.d/hextant-deb-src.sources
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  echo "Adding deb-src entries for $codename in $list"
  {
    for file in /etc/apt/sources.list.d/*.sources; do
      [[ -f $file && $file != "$list" ]] || continue
      awk -v codename="$codename" '
        function flush() {
          if (stanza != "" && types ~ /(^| )deb( |$)/ && suites ~ ("(^| )" codename "(-[a-z]+)?( |$)") &&
              enabled !~ /no/) {
            sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src", stanza)
            print substr(stanza, 2) "\n"
          }
          stanza = types = suites = enabled = ""
        }
        /^[ \t]*$/ { flush(); next }
        /^Types:/ { types = substr($0, 7) }
        /^Suites:/ { suites = substr($0, 8) }
        /^Enabled:/ { enabled = substr($0, 9) }
        { stanza = stanza "\n" $0 }
        END { flush() }' "$file"
    done
  } | sudo_if_needed tee "$list" > /dev/null
  # Entries of the one-line format.
  local lines
  lines=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2> /dev/null |
    awk -v codename="$codename" '$1 == "deb" && $0 ~ (" " codename "(-[a-z]+)?( |$)") {
      $1 = "deb-src"; print }')
  if [[ -n $lines ]]; then
    echo "$lines" | sudo_if_needed tee "${list%.sources}.list" > /dev/null
  fi
  sudo_if_needed apt-get update -qq
}

# fetch_source SOURCE INTO VERSION: unpacks the source package SOURCE into the folder INTO and
# prints the unpacked folder and, on the next line, the version it holds: VERSION, or when the
# archive does not serve that one (a mirror may lack a security upload's source), the newest other
# version of the same upstream version that it serves.
fetch_source() {
  local source=$1 into=$2 wanted=$3 version
  if [[ -z $(apt-cache showsrc "$source" 2> /dev/null) ]]; then
    add_source_entries >&2
  fi
  for version in "$wanted" $(same_upstream_versions "$source" "$wanted"); do
    if (cd "$into" && apt-get source -qq --only-source "$source=$version" >&2); then
      find "$into" -mindepth 1 -maxdepth 1 -type d -name "$source-*"
      echo "$version"
      return 0
    fi
    echo "The source package $source $version could not be fetched" >&2
  done
  return 1
}

# upstream_version VERSION: the upstream part of the Debian version VERSION (no epoch, no revision).
upstream_version() {
  local version=${1#*:}
  echo "${version%-*}"
}

# same_upstream_versions SOURCE VERSION: the other versions of the source package SOURCE with the
# upstream version of VERSION that the package lists know, newest first.
same_upstream_versions() {
  local upstream version
  upstream=$(upstream_version "$2")
  apt-cache showsrc "$1" 2> /dev/null | awk '$1 == "Version:" { print $2 }' | sort -u -r -V |
    while read -r version; do
      if [[ $version != "$2" && $(upstream_version "$version") == "$upstream" ]]; then
        echo "$version"
      fi
    done
}
