#!/usr/bin/env bash
# The program's window on a seeded 1 GiB scratch NTFS volume, end to end:
# eraser.py drives three starts of the program through the accessibility
# tree inside a private X session (a complete run, a cancelled run, the
# languages); then forensic figures are taken of the image: no seeded
# deleted marker may be left, no deleted name for fls, no temporary file of
# ours, and the live files must be unchanged. The interface thread's worst
# lateness during the runs is kept in ARTIFACTS/eraser-heartbeat.txt.
#
# Usage: eraser.sh PROGRAM ARTIFACTS
# Needs root, /dev/fuse, mkntfs, ntfs-3g, ntfsundelete, fls and what
# tests/support/gui/with-display needs; exit 77 (a skip) without them,
# a failure under CI=true.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
. "$top/scripts/lib/seed.sh"

program=$1
artifacts=$2
mkdir -p "$artifacts"
vonq_require eraser mkntfs ntfs-3g ntfsundelete fls fusermount

vonq_work_make vonq-eraser
trap vonq_volume_cleanup EXIT
mkdir -p "$vonq_work/config" "$vonq_work/home"
export XDG_CONFIG_HOME="$vonq_work/config" HOME="$vonq_work/home"
export VONQ_HEARTBEAT_LOG="$artifacts/eraser-heartbeat.txt" VONQ_OPEN_URL_LOG="$vonq_work/urls"
rm -f "$VONQ_HEARTBEAT_LOG"

vonq_volume_make 1024
RANDOM=7
vonq_seed_live "$vonq_mnt" vqgui 12 2048
vonq_seed_deleted "$vonq_mnt" vqgui 40 40 4 4096 300 1
vonq_live_manifest "$vonq_mnt" >"$vonq_work/live.manifest"
vonq_figures vqgui
echo "eraser: before: $vonq_fig_markers deleted markers in the image, $vonq_fig_names names for fls"
[ "$vonq_fig_markers" -gt 0 ] || { echo "eraser: the seeding left no marker to find" >&2; exit 1; }

status=0
VONQ_WM=openbox "$top/tests/support/gui/with-display" /usr/bin/python3 "$here/eraser.py" \
  "$program" "$vonq_mnt" "$artifacts" || status=$?
[ "$status" = 0 ] || exit "$status"

vonq_figures vqgui
left=$(vonq_leftovers "$vonq_mnt")
changed=$(vonq_live_changed "$vonq_mnt" "$vonq_work/live.manifest")
echo "eraser: after: $vonq_fig_markers markers, $vonq_fig_names names for fls, $left temporary entries, $changed live files changed"
echo "eraser: heartbeat: $(tr '\n' ';' <"$VONQ_HEARTBEAT_LOG")"
[ "$vonq_fig_markers" = 0 ] && [ "$vonq_fig_names" = 0 ] && [ "$left" = 0 ] && [ "$changed" = 0 ]
