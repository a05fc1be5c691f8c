#!/usr/bin/env bash
# Checks that a GTK program can be driven by the GUI test harness: starts
#   PROGRAM [ARG...]
# in a private X session with openbox (with-display), finds its top-level
# frame titled TITLE through AT-SPI, takes a screenshot of that window and
# checks that something was drawn, closes the window as a person would
# (through the window manager) and checks that the program then exits 0.
#
#   tests/support/gui/selftest.sh PROGRAM TITLE [ARG...]
#
# Exit status: 0 passed, 1 failed, 77 skipped (no display tools here, see
# with-display; under CI=true that is a failure), 2 usage error.
# VONQ_SCREENSHOT=FILE keeps the screenshot; VONQ_TIMEOUT (default 120)
# bounds the whole run.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ $# -lt 2 ]; then
  echo "usage: selftest.sh PROGRAM TITLE [ARG...]" >&2
  exit 2
fi
program=$1
if [ ! -x "$program" ] || [ -d "$program" ]; then
  echo "selftest: $program is not a program" >&2
  exit 2
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

check='
import os, subprocess, sys
import atspi

program, title, args = sys.argv[1], sys.argv[2], sys.argv[3:]
proc = subprocess.Popen([program] + args)
try:
    prog = atspi.app_of(proc.pid, timeout=30)
    atspi.find(prog, "frame", title, timeout=30, showing=True)
    atspi.window_id(title, timeout=10)
    shot = os.environ.get("VONQ_SCREENSHOT") or os.path.join(
        os.environ["XDG_RUNTIME_DIR"], "selftest.png")
    # The window may be mapped a moment before its first frame is drawn.
    try:
        atspi.wait_until(lambda: not atspi.is_blank(atspi.screenshot(shot, title)), timeout=10)
    except TimeoutError:
        sys.exit(f"selftest: the window {title!r} stays blank (one colour)"
                 + ("" if "VONQ_SCREENSHOT" in os.environ else "; VONQ_SCREENSHOT=FILE keeps it"))
    atspi.close_window(title, how="wm")
    try:
        code = proc.wait(timeout=15)
    except subprocess.TimeoutExpired:
        sys.exit(f"selftest: {program} did not exit within 15s of closing {title!r}")
    if code != 0:
        sys.exit(f"selftest: {program} exited {code} after closing {title!r}")
    print(f"selftest: {os.path.basename(program)}: {title!r} found, drawn "
          f"({atspi.colours(shot)} colours), closed, exit 0")
finally:
    if proc.poll() is None:
        proc.kill()
        proc.wait()
'

VONQ_WM=openbox VONQ_TIMEOUT=${VONQ_TIMEOUT:-120} \
  "$here/with-display" /usr/bin/python3 -c "$check" "$program" "$2" "${@:3}"
status=$?
case $status in
  0 | 77 | 1) exit "$status" ;;
  *) exit 1 ;;
esac
