#!/usr/bin/env bash
# vonq-scrub.exe takes its arguments as UTF-16: a path with letters outside
# the ANSI code page must reach the program intact. Under Wine, in a folder
# of the prefix's C: drive named "Ärger-данные", the program must tell a
# folder that is not a drive root, a file and a missing name apart (a
# mangled argument would be "does not exist" every time) and print the name
# as given.
#   wine-unicode-args.sh VONQ_SCRUB_EXE WINE_RUN WINEPREFIX
set -euo pipefail
exe=$1 wine_run=$2 prefix=$3
# Wine reads the Unix command line in the locale's character set.
export LC_ALL=C.UTF-8

"$wine_run" --prefix "$prefix" "$exe" --help >/dev/null  # makes the prefix on first use
folder="$prefix/drive_c/Ärger-данные"
rm -rf "$folder"
mkdir -p "$folder"
trap 'rm -rf "$folder"' EXIT
echo "data" >"$folder/файл.txt"

status=0
check() {
  local given=$1 expected=$2 out
  out=$("$wine_run" --prefix "$prefix" "$exe" --yes --free-space "$given" 2>&1 </dev/null || true)
  out=${out//$'\r'/}
  if [[ "$out" == *"vonq-scrub: $given $expected"* ]]; then
    echo "ok: $given -> $expected"
  else
    echo "FAIL: $given: expected \"$expected\", got:"
    echo "$out"
    status=1
  fi
}
check 'C:\Ärger-данные' 'is not the mount point of a volume'
check 'C:\Ärger-данные\файл.txt' 'is not a folder.'
check 'C:\Ärger-данные\нет' 'does not exist.'
exit $status
