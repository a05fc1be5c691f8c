"""The program with its window, driven as a user would drive it, inside a
private X session with openbox (tests/support/gui/with-display):

- it starts, and its main window appears titled "Vonq Drive Scrubber" with
  the program icon (a screenshot with the window manager's frame is kept);
- moved and resized by the window manager, then closed through it, it ends
  with 0 and comes back at the same place and width on the next start (its
  height fits its content);
- a second start while it runs brings the (minimized) window back to the
  front and ends with 0 without a window of its own; a copy started from
  another folder runs on its own;
- without a display it says so and ends with 2.

Usage: main_window.py PROGRAM ARTIFACT_FOLDER
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import atspi

TITLE = "Vonq Drive Scrubber"


def check(condition, message):
    if not condition:
        sys.exit("main_window: " + message)


def windows_titled(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"],
                           capture_output=True, text=True).stdout.split()
    return [int(w) for w in found]


def start(program):
    proc = subprocess.Popen([program])
    # Generous bounds: the FAT guests' emulators may hold both cores at the
    # same time; the wait ends as soon as the window is there.
    app = atspi.app_of(proc.pid, timeout=90)
    atspi.find(app, "frame", TITLE, timeout=90, showing=True)
    return proc, atspi.window_id(TITLE, timeout=10)


def close_and_wait(proc, title=TITLE):
    atspi.close_window(title, how="wm")
    try:
        code = proc.wait(timeout=15)
    except subprocess.TimeoutExpired:
        proc.kill()
        sys.exit("main_window: the program did not end within 15 s of its window being closed")
    check(code == 0, f"the program ended with {code} after its window was closed")


def map_state(window):
    info = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True).stdout
    return "IsViewable" in info


def active_window():
    out = subprocess.run(["xprop", "-root", "_NET_ACTIVE_WINDOW"], capture_output=True, text=True).stdout
    return int(out.split()[-1], 16) if "0x" in out else 0


def first_start_shows_the_window(program, artifacts):
    proc, window = start(program)
    icon = subprocess.run(["xprop", "-id", str(window), "_NET_WM_ICON"], capture_output=True, text=True).stdout
    check("Icon (16 x 16)" in icon and "Icon (32 x 32)" in icon, "the window lacks its 16- and 32-pixel icons")
    shot = os.path.join(artifacts, "main-window.png")
    atspi.wait_until(lambda: not atspi.is_blank(atspi.screenshot(shot, window, frame=True)), timeout=10,
                     message="the window stays blank")
    print(f"main_window: window shown with its icon; screenshot {shot} ({atspi.colours(shot)} colours)")
    return proc, window


def geometry_is_kept(program, proc, window):
    # Wider than its content needs: the width comes back as it was left;
    # the height always fits the content (the window is fitted to it at
    # every start).
    subprocess.run(["xdotool", "windowsize", str(window), "520", "600"], check=True)
    subprocess.run(["xdotool", "windowmove", str(window), "210", "160"], check=True)
    atspi.wait_until(lambda: atspi.window_geometry(TITLE)[2:] == (520, 600), timeout=10,
                     message="the window manager did not resize the window")
    time.sleep(1)  # the window manager's last word on the position
    before = atspi.window_geometry(TITLE)
    close_and_wait(proc)
    atspi.window_gone(TITLE)
    proc, window = start(program)
    atspi.wait_until(lambda: atspi.window_geometry(TITLE)[:3] == before[:3], timeout=10,
                     message=f"the window came back at {atspi.window_geometry(TITLE)}, not at {before}")
    print(f"main_window: closed through the window manager, back at {before}")
    return proc, window


def second_start_brings_the_first_forward(program, window):
    subprocess.run(["xdotool", "windowminimize", "--sync", str(window)], check=True)
    check(not map_state(window), "the window did not minimize")
    second = subprocess.run([program], timeout=20)
    check(second.returncode == 0, f"the second start ended with {second.returncode}")
    atspi.wait_until(lambda: map_state(window) and active_window() == window, timeout=10,
                     message="the running window did not come to the front")
    check(windows_titled(TITLE) == [window], f"windows after the second start: {windows_titled(TITLE)}")
    print("main_window: a second start brought the running window to the front and showed nothing")


def copy_elsewhere_runs_on_its_own(program):
    folder = tempfile.mkdtemp(prefix="vonq-copy-")
    copy = os.path.join(folder, os.path.basename(program))
    shutil.copy2(program, copy)
    other = subprocess.Popen([copy])
    try:
        atspi.wait_until(lambda: len(windows_titled(TITLE)) == 2, timeout=30,
                         message="the copy from another folder did not show its own window")
    finally:
        other.terminate()
        other.wait(timeout=15)
        shutil.rmtree(folder)
    print("main_window: a copy from another folder showed its own window")


def no_display_says_so(program):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    run = subprocess.run([program], env=env, capture_output=True, text=True, timeout=30)
    check(run.returncode == 2, f"without a display the program ended with {run.returncode}")
    check("cannot show the window" in run.stderr, f"without a display it said: {run.stderr!r}")
    print("main_window: without a display: " + run.stderr.strip())


def main():
    program, artifacts = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(artifacts, exist_ok=True)
    home = tempfile.mkdtemp(prefix="vonq-gui-home-")
    for name in ("XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"):
        os.environ[name] = os.path.join(home, name.lower())
        os.makedirs(os.environ[name])
    proc = None
    try:
        no_display_says_so(program)
        proc, window = first_start_shows_the_window(program, artifacts)
        proc, window = geometry_is_kept(program, proc, window)
        second_start_brings_the_first_forward(program, window)
        copy_elsewhere_runs_on_its_own(program)
        close_and_wait(proc)
        proc = None
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
