#!/usr/bin/env bash
# vonq-scrub.exe on a real NTFS drive under Wine: a scratch NTFS image is
# mounted with ntfs-3g and mapped to D: in the Wine prefix (D: to the mount
# point, D:: to the image as its device). The program must list D: as NTFS,
# and a free-space and cluster-tip run must remove the data of a deleted file
# from the raw image while the live file stays as it was. Then each test
# program given runs the cases its filter names, with VONQ_NTFS_DRIVE=D:\,
# on the same drive (the live file must survive them too).
#   wine-ntfs-drive.sh VONQ_SCRUB_EXE WINE_RUN WINEPREFIX WORK_FOLDER
#                      [TEST_PROGRAM GTEST_FILTER]...
# Exits 77 (skipped) without root, FUSE or ntfs-3g; with CI=true it fails
# instead, so CI always runs it.
set -euo pipefail
exe=$1 wine_run=$2 prefix=$3 work=$4
shift 4

skip() {
  echo "skipped: $1"
  if [ "${CI:-}" = true ]; then exit 1; fi
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "mounting an NTFS image needs root"
[ -e /dev/fuse ] || skip "FUSE is not available (/dev/fuse)"
command -v mkntfs >/dev/null && command -v ntfs-3g >/dev/null || skip "ntfs-3g is not installed"

rm -rf "$work"
mkdir -p "$work/mnt"
image=$work/ntfs.img
cleanup() {
  umount "$work/mnt" 2>/dev/null || true
  rm -f "$prefix/dosdevices/d:" "$prefix/dosdevices/d::"
}
trap cleanup EXIT

truncate -s 64M "$image"
mkntfs -F -Q -q "$image" >/dev/null 2>&1
ntfs-3g "$image" "$work/mnt"
python3 - "$work/mnt" <<'PY'
import sys
root = sys.argv[1]
open(root + "/live.txt", "w").write("LIVEDATA-" * 100)
open(root + "/deleted.bin", "w").write("DELETEDMARKER-" * 20000)
PY
sync
rm "$work/mnt/deleted.bin"
sync
before=$(md5sum < "$work/mnt/live.txt")
if ! grep -q DELETEDMARKER "$image"; then
  echo "FAIL: the deleted file's data is not on the image to begin with"
  exit 1
fi

mkdir -p "$prefix/dosdevices"
ln -sfn "$work/mnt" "$prefix/dosdevices/d:"
ln -sfn "$image" "$prefix/dosdevices/d::"

listing=$(WINEPREFIX=$prefix "$wine_run" --prefix "$prefix" "$exe" --list 2>/dev/null)
echo "$listing"
if ! grep -Eq '^D:\\ +NTFS ' <<<"$listing"; then
  echo "FAIL: D: is not listed as an NTFS drive"
  exit 1
fi

"$wine_run" --prefix "$prefix" "$exe" --yes --free-space --cluster-tips 'D:\' </dev/null
while [ $# -ge 2 ]; do
  VONQ_NTFS_DRIVE='D:\' "$wine_run" --prefix "$prefix" "$1" --gtest_filter="$2" </dev/null \
    || { echo "FAIL: $(basename "$1") $2 on D:"; exit 1; }
  shift 2
done
after=$(md5sum < "$work/mnt/live.txt")
umount "$work/mnt"
if [ "$before" != "$after" ]; then
  echo "FAIL: the live file changed"
  exit 1
fi
if grep -q DELETEDMARKER "$image"; then
  echo "FAIL: the deleted file's data is still on the image"
  exit 1
fi
grep -q LIVEDATA "$image" || { echo "FAIL: the live file's data is gone from the image"; exit 1; }
echo "ok: D: listed as NTFS, deleted data gone, live file unchanged"
