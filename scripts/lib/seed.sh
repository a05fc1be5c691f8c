# Scratch NTFS volumes for the hand-run scripts (demo, campaign, cancel
# latency): an image file formatted with mkntfs and mounted with ntfs-3g,
# files with unique markers put on it and deleted, and the figures forensic
# tools still find afterwards. Sourced, not run; the caller sets `set -euo
# pipefail`. The volume lives in $vonq_work (volume.img, mnt/, log); call
# vonq_volume_cleanup from the caller's EXIT trap.

vonq_ntfs3g_pid=""

# Exits with a reason unless root, /dev/fuse and every named tool are there.
# Status 77 (skip) unless CI=true, where a missing capability is a failure.
vonq_require() { # who tool...
  local who=$1 reason="" tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { reason="$tool is missing (scripts/install-deps)"; break; }
  done
  [ -z "$reason" ] && [ "$(id -u)" != 0 ] && reason="needs root (ntfs-3g mounts an image)"
  [ -z "$reason" ] && [ ! -e /dev/fuse ] && reason="/dev/fuse is missing"
  [ -z "$reason" ] && return 0
  if [ "${CI:-}" = true ]; then
    echo "$who: required under CI: $reason" >&2
    exit 1
  fi
  echo "$who: skipped: $reason"
  exit 77
}

# A fresh work folder in $vonq_work, holding the image, the mount point and
# the journals of the tool (XDG_STATE_HOME, XDG_DATA_HOME).
vonq_work_make() { # prefix
  vonq_work="$(mktemp -d "/tmp/$1-XXXXXX")"
  vonq_image="$vonq_work/volume.img"
  vonq_mnt="$vonq_work/mnt"
  mkdir -p "$vonq_mnt" "$vonq_work/state" "$vonq_work/data"
  export XDG_STATE_HOME="$vonq_work/state" XDG_DATA_HOME="$vonq_work/data"
}

# Mounts the image; ntfs-3g stays our child (no_detach) so that an unmount
# can wait until it has written the image and ended.
vonq_volume_mount() {
  ntfs-3g -o no_detach "$vonq_image" "$vonq_mnt" >>"$vonq_work/log" 2>&1 &
  vonq_ntfs3g_pid=$!
  local _
  for _ in $(seq 150); do
    mountpoint -q "$vonq_mnt" && return 0
    kill -0 "$vonq_ntfs3g_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "ntfs-3g did not mount $vonq_image (see $vonq_work/log)" >&2
  return 1
}

vonq_volume_unmount() {
  [ -n "$vonq_ntfs3g_pid" ] || return 0
  local _
  for _ in $(seq 100); do
    fusermount -u "$vonq_mnt" 2>/dev/null && break
    sleep 0.1
  done
  wait "$vonq_ntfs3g_pid" 2>/dev/null || true
  vonq_ntfs3g_pid=""
  ! mountpoint -q "$vonq_mnt"
}

# A sparse image of `size_mb` MiB with 4 KiB clusters, mounted.
vonq_volume_make() { # size_mb
  truncate -s "${1}M" "$vonq_image"
  mkntfs -F -Q -q -c 4096 "$vonq_image" >>"$vonq_work/log" 2>&1
  vonq_volume_mount
}

# Unmounts and removes the work folder (kept when VONQ_KEEP is set).
vonq_volume_cleanup() {
  [ -n "${vonq_work:-}" ] || return 0
  vonq_volume_unmount || fusermount -uz "$vonq_mnt" 2>/dev/null || true
  if [ -n "${VONQ_KEEP:-}" ]; then echo "kept $vonq_work"; else rm -rf "$vonq_work"; fi
  vonq_work=""
}

# Sets vonq_text to the text of a marker, TAG-KIND-N|, upper case and unique
# per deleted file; with `bytes`, to that many bytes of it repeated. Forks
# nothing: seeding makes thousands of files.
vonq_marker() { # tag kind n [bytes]
  printf -v vonq_text '%s-%s-%04d|' "${1^^}" "$2" "$3"
  local bytes=${4:-0}
  while ((${#vonq_text} < bytes)); do vonq_text+=$vonq_text; done
  ((bytes == 0)) || vonq_text=${vonq_text:0:bytes}
}

# Live files that stay: `count` files in kept folders up to three deep,
# sized resident, small, medium or large at random (large up to `max_kb`
# KiB), plus an empty one. The first file, keep-report.txt, is cut short
# after its marker was written, so that its cluster tip holds deleted data.
# Draws from $RANDOM: seed it first for a repeatable layout.
vonq_seed_live() { # mnt tag count max_kb
  local mnt=$1 tag=$2 count=$3 max_kb=$4 i dir size
  local report
  printf -v report 'quarterly report, line %s\n' {1..100}
  vonq_marker "$tag" TIP 1 7000
  printf '%s%s' "${report:0:1000}" "$vonq_text" >"$mnt/keep-report.txt"
  truncate -s 1000 "$mnt/keep-report.txt"
  : >"$mnt/keep-empty.txt"
  for ((i = 2; i <= count; i++)); do
    case $((RANDOM % 4)) in
      0) dir="" ;;
      1) dir="kept-$((RANDOM % 3))/" ;;
      2) dir="kept-$((RANDOM % 3))/sub-$((RANDOM % 2))/" ;;
      *) dir="kept-$((RANDOM % 3))/sub-$((RANDOM % 2))/deep/" ;;
    esac
    case $((RANDOM % 8)) in
      0 | 1 | 2) size=$((1 + RANDOM % 600)) ;;              # resident
      3 | 4 | 5) size=$((600 + RANDOM % 16000)) ;;          # a few clusters
      6) size=$((16384 + (RANDOM * 32) % (1 << 20))) ;;     # up to 1 MiB
      *) size=$((1024 * (1 + RANDOM % max_kb))) ;;          # large
    esac
    mkdir -p "$mnt/$dir"
    head -c "$size" /dev/urandom >"$mnt/${dir}keep-$i.bin"
  done
}

# `count` files named by the printf pattern `path` with their number, each
# filled with its marker to a size the arithmetic expression `size` draws
# (0: the marker alone); the markers go to $vonq_work/markers.
vonq_seed_marked() { # tag kind count size path
  local i file
  for ((i = 1; i <= $3; i++)); do
    vonq_marker "$1" "$2" "$i" $(($4))
    printf -v file "$5" "$i"
    printf '%s' "$vonq_text" >"$file"
    if ((RANDOM % 100 < ${vonq_spacing:-0})); then
      mkdir -p "$vonq_mnt/kept-between"
      head -c $((1 + RANDOM % 65536)) /dev/urandom >"$vonq_mnt/kept-between/$2-$i.bin"
    fi
    vonq_marker "$1" "$2" "$i"
    echo "$vonq_text" >>"$vonq_work/markers"
  done
}

# Deleted files and names: `resident` files small enough to live inside
# their MFT record, `small` files of one cluster, `large` files of 1 to
# `large_kb` KiB, all filled with their marker, and `names` empty files with
# distinctive names spread over `dirs` folders; then all of it is deleted.
# With `spacing` (percent, default 0), that share of the deleted files is
# followed by a live file of up to 64 KiB, so that the free space they
# leave is cut into pieces. Writes the markers to $vonq_work/markers. Draws
# from $RANDOM.
vonq_seed_deleted() { # mnt tag resident small large large_kb names dirs [spacing]
  local mnt=$1 tag=$2 resident=$3 small=$4 large=$5 large_kb=$6 names=$7 dirs=$8 i gone
  vonq_spacing=${9:-0}
  gone="$mnt/$tag-gone"
  mkdir -p "$gone"
  : >"$vonq_work/markers"
  vonq_seed_marked "$tag" RESIDENT "$resident" 0 "$gone/$tag-gone-resident-%d.txt"
  vonq_seed_marked "$tag" SMALL "$small" "1000 + RANDOM % 3000" "$gone/$tag-gone-small-%d.txt"
  vonq_seed_marked "$tag" LARGE "$large" "1024 * (1 + RANDOM % large_kb)" "$gone/$tag-gone-large-%d.bin"
  vonq_marker "$tag" TIP 1
  echo "$vonq_text" >>"$vonq_work/markers"
  for ((i = 0; i < dirs; i++)); do mkdir -p "$mnt/$tag-confidential-dir-$i"; done
  for ((i = 1; i <= names; i++)); do
    printf 'x' >"$mnt/$tag-confidential-dir-$((i % dirs))/$tag-confidential-name-$i.txt"
  done
  sync
  rm -rf "$gone" "$mnt/$tag-confidential-dir-"*
}

# What identifies each live file to its user: content, size and last write
# time, in path order (the recycle bins and the tool's own entries aside).
vonq_live_manifest() { # mnt
  (cd "$1" && find . -xdev -type f ! -path './.Trash*' ! -path './$RECYCLE*' \
    ! -name 'Vonq_Nulmark*' -printf '%s %T@ %p\n' | LC_ALL=C sort -k3 &&
    find . -xdev -type f ! -path './.Trash*' ! -path './$RECYCLE*' ! -name 'Vonq_Nulmark*' \
      -exec sha256sum {} + | LC_ALL=C sort -k2)
}

# How many live files changed (content, size or time) against `manifest`.
vonq_live_changed() { # mnt manifest
  vonq_live_manifest "$1" | diff - "$2" | grep -c '^>' || true
}

# Entries named Vonq_Nulmark* left in the volume's root.
vonq_leftovers() { # mnt
  find "$1" -maxdepth 1 -name 'Vonq_Nulmark*' | wc -l
}

# Records still waiting in the tool's journal of pending deletions (its
# header line aside); 0 when there is no journal.
vonq_pending_deletions() {
  local journal="$XDG_STATE_HOME/vonq-scrubber/pending-deletions"
  [ -f "$journal" ] || { echo 0; return; }
  grep -v -c '^vonq-pending-deletions ' "$journal" || true
}

# Unmounts, then sets vonq_fig_markers (distinct markers of $vonq_work/
# markers still in the raw image), vonq_fig_undelete (deleted files of ours
# ntfsundelete -s lists) and vonq_fig_names (deleted names of ours fls -r -d
# shows); mounts again.
vonq_figures() { # tag
  local tag=$1
  vonq_volume_unmount
  vonq_fig_markers=$({ grep -a -o -F -f "$vonq_work/markers" "$vonq_image" || true; } | sort -u | wc -l)
  vonq_fig_undelete=$({ ntfsundelete -s "$vonq_image" 2>/dev/null || true; } | grep -c -E "$tag-(gone|confidential)-" || true)
  vonq_fig_names=$({ fls -r -d "$vonq_image" 2>/dev/null || true; } | grep -c -E "$tag-(gone|confidential)-" || true)
  vonq_volume_mount
}
