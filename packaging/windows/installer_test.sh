#!/usr/bin/env bash
# installer_test.sh MSI NATIVE_CONVERT SAMPLES_DIR WINEPREFIX VERSION: the Windows installer under
# Wine, as a user meets it. A silent install into a fresh Wine prefix puts the programs, the DLLs
# and the Qt plugins into Program Files\Hextant, every DLL they load among them or the system's, a
# Start-menu entry, and "Open with" entries for the grid file types that leave their default
# program alone, and changes no environment variable; the installed hextant-convert.exe converts
# samples to the native program's bytes and the installed hextant.exe answers --version; a silent
# uninstall leaves no file or registry key of ours.
set -u
msi=$1 native=$2 samples=$3 prefix=$4 version=$5
export WINEPREFIX=$prefix WINEDEBUG=-all
# Without Wine's offers of Mono and Gecko, and without its menu builder, which would copy the
# Start-menu entry and the file types into the host's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
types='.isg .gtx .tif .tiff .bin .byn .asc .grd'
ours='HKLM\Software\Hextant HKLM\Software\Classes\Hextant.GridFile
  HKLM\Software\Classes\Applications\hextant.exe'
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'

rm -rf "$prefix"
trap 'wineserver -k > /dev/null 2>&1; [ "$failures" -eq 0 ] && rm -rf "$prefix"' EXIT
wineboot --init > /dev/null 2>&1 || { echo "FAIL: wineboot could not create $prefix"; exit 1; }
wineserver -w
drive=$prefix/drive_c
files_before=$(cd "$drive" && find . | LC_ALL=C sort)
env_before=$(wine reg query "$environment" 2>&1; wine reg query 'HKCU\Environment' 2>&1)
# The file types the system knew before are the system's; the others are ours to remove.
for type in $types; do
  wine reg query "HKLM\\Software\\Classes\\$type" > /dev/null 2>&1 ||
    ours="$ours HKLM\\Software\\Classes\\$type"
done

if ! wine msiexec /i "$(winepath -w "$msi")" /qn; then
  echo "FAIL: the silent install stopped with $?"
  exit 1
fi
wineserver -w
installed=$drive/Program\ Files/Hextant
for file in hextant.exe hextant-convert.exe hextant-inspect.exe hdmfile.dll Qt6Core.dll Qt6Gui.dll \
  Qt6Widgets.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
  [ -f "$installed/bin/$file" ] || fail "bin/$file was not installed"
done
# The entry is the machine's; Wine puts it into the installing user's Start menu.
entries=("$drive"/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Hextant.lnk
  "$drive"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Hextant.lnk)
[ -f "${entries[0]}" ] || [ -f "${entries[1]}" ] || fail "no Start-menu entry"
# Windows looks for the DLLs of a program, and of a plugin it loads by its path, in the program's
# folder first: each DLL imported by an installed file is in bin\ or is one of the system's (API
# sets, api-ms-win-*, are the system's names for its own DLLs).
while IFS= read -r -d '' module; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$module" | awk '/DLL Name:/ {print $3}'); do
    [[ ${dll,,} == api-ms-win-* ]] ||
      [ -n "$(find "$installed/bin" "$drive/windows/system32" -maxdepth 1 -iname "$dll")" ] ||
      fail "${module#"$installed"/} loads $dll, which is neither installed nor the system's"
  done
done < <(find "$installed" \( -iname '*.dll' -o -iname '*.exe' \) -print0)
for type in $types; do
  wine reg query "HKLM\\Software\\Classes\\$type\\OpenWithProgids" /v Hextant.GridFile > /dev/null \
    2>&1 || fail "Hextant is not offered to open $type files"
  default=$(wine reg query "HKLM\\Software\\Classes\\$type" /ve 2>&1 | tr -d '\r' | grep REG_SZ)
  [[ -z $default || $default == *'(value not set)'* ]] ||
    fail "$type files now open by default with: $default"
done
command=$(wine reg query 'HKLM\Software\Classes\Hextant.GridFile\shell\open\command' /ve 2>&1 |
  tr -d '\r')
[[ $command == *'C:\Program Files\Hextant\bin\hextant.exe" "%1"'* ]] ||
  fail "Open with runs: $command"
env_after=$(wine reg query "$environment" 2>&1; wine reg query 'HKCU\Environment' 2>&1)
[ "$env_after" = "$env_before" ] ||
  fail "the environment changed: $(diff <(echo "$env_before") <(echo "$env_after"))"

# The installed programs at work, from a folder of the user's.
work=$drive/users/Public/hextant-work
for sample in isg20_egm96_dms.isg:grid egm96_proj.tif:grid catalunya_egm96.gr:catalunya; do
  file=${sample%:*} format=${sample#*:} name=${file%.*}
  mkdir -p "$work/native-$format" "$work/$format"
  cp "$samples/$file" "$work/native-$format/"
  cp "$samples/$file" "$work/$format/"
  "$native" --format "$format" --quiet "$work/native-$format/$file" > /dev/null 2>&1 ||
    fail "$format: the native program stopped with $?"
  out=$(wine 'C:\Program Files\Hextant\bin\hextant-convert.exe' --format "$format" --quiet \
    "C:\\users\\Public\\hextant-work\\$format\\$file" 2>&1) ||
    fail "$format: the installed hextant-convert.exe stopped with $?: $out"
  for model in "$name.HDM" HdmToTarvo.INI; do
    cmp "$work/native-$format/$model" "$work/$format/$model" || fail "$format: $model differs"
  done
done
rm -rf "$work"
answer=$(wine 'C:\Program Files\Hextant\bin\hextant.exe' --version 2>&1 | tr -d '\r')
[ "$answer" = "hextant $version" ] || fail "hextant.exe --version answered '$answer'"

if ! wine msiexec /x "$(winepath -w "$msi")" /qn; then
  echo "FAIL: the silent uninstall stopped with $?"
  exit 1
fi
wineserver -w
files_after=$(cd "$drive" && find . | LC_ALL=C sort)
# Windows keeps its folder of installers (empty again) once it has installed one.
left=$(comm -13 <(echo "$files_before") <(echo "$files_after") | grep -vx './windows/Installer')
[ -z "$left" ] || fail "left after uninstalling: $left"
for key in $ours; do
  wine reg query "$key" > /dev/null 2>&1 && fail "left after uninstalling: $key"
done
for type in $types; do
  wine reg query "HKLM\\Software\\Classes\\$type\\OpenWithProgids" /v Hextant.GridFile > /dev/null 2>&1 &&
    fail "left after uninstalling: Hextant offered for $type"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failures; the Wine prefix is kept in $prefix"
  exit 1
fi
echo "installer: installed, converted, answered hextant $version, uninstalled without a trace"
