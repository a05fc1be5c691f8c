"""The toolkit's controls in a real window (the gallery program), driven
through the accessibility tree and, where a pointer gesture is the point,
xdotool; the program reports what its listeners saw on standard output.

- a press on the check box reaches its listeners;
- a selection in the drop-down list is reported once;
- a menu command reaches the command listeners; moving to the next menu
  title while a drop-down is open switches to that drop-down;
- a language switch changes the visible texts (two screenshots differ, the
  check box reads in German);
- the status bar runs along the bottom of the window with its label, and
  dragging the resize grip in its corner makes the window larger.

Usage: gallery.py GALLERY_PROGRAM ARTIFACT_FOLDER
"""

import os
import queue
import subprocess
import sys
import threading
import time

import atspi

TITLE = "Toolkit Gallery"


class Program:
    def __init__(self, path):
        self.proc = subprocess.Popen([path], stdout=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.strip())

    def expect(self, wanted, timeout=10):
        deadline = time.time() + timeout
        seen = []
        while time.time() < deadline:
            try:
                line = self.lines.get(timeout=max(0.05, deadline - time.time()))
            except queue.Empty:
                break
            seen.append(line)
            if line == wanted:
                return seen
        sys.exit(f"gallery: expected {wanted!r}, the program said {seen!r}")

    def quiet(self, wait=0.7):
        time.sleep(wait)
        said = []
        while not self.lines.empty():
            said.append(self.lines.get())
        return said


def check(condition, message):
    if not condition:
        sys.exit("gallery: " + message)


def main():
    path, artifacts = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(artifacts, exist_ok=True)
    program = Program(path)
    try:
        program.expect("ready", timeout=30)
        app = atspi.app_of(program.proc.pid)
        frame = atspi.find(app, "frame", TITLE, showing=True)
        before = atspi.screenshot(os.path.join(artifacts, "gallery-english.png"), TITLE, frame=True)

        box = atspi.find(frame, "check box")
        atspi.press(box)
        program.expect("checked 1")
        atspi.wait_until(lambda: "checked" in atspi.states(box), message="the check box does not show its tick")
        print("gallery: a press on the check box reached its listeners")

        combo = atspi.find(frame, "combo box")
        combo.select_child(1)  # the selection interface of the list
        program.expect("selected 1")
        check(program.quiet() == [], "the selection was reported more than once")
        print("gallery: a selection in the list was reported once")

        bar = atspi.find(frame, "menu bar")
        x, y, w, h = atspi.extents(bar)
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + 12), str(y + h // 2), "click", "1"], check=True)
        atspi.find(app, "menu item", "Keep on Top", showing=True)
        # Switch to the next drop-down by moving over its title.
        for step in range(20, 140, 8):
            subprocess.run(["xdotool", "mousemove", str(x + step), str(y + h // 2)], check=True)
            time.sleep(0.05)
            if not atspi.find_all(app, "menu item", "Keep on Top", showing=True):
                break
        deutsch = atspi.find(app, "menu item", "Deutsch", showing=True)
        atspi.press(deutsch)
        program.expect("language German")
        print("gallery: moving to the next title switched drop-downs; a menu command reached its listeners")

        atspi.wait_until(lambda: atspi.find(frame, "check box").name != "2. Free space on disk - (main part of the erasing)",
                         message="the check box did not change its language")
        after = atspi.screenshot(os.path.join(artifacts, "gallery-german.png"), TITLE, frame=True)
        diff = subprocess.run(["/usr/bin/compare", "-metric", "AE", before, after, "null:"],
                              capture_output=True, text=True).stderr.strip()
        check(diff != "0", "the window looks the same after the language switch")
        print(f"gallery: the language switch changed the window ({diff} pixels differ)")

        status = atspi.find(frame, "status bar")
        atspi.find(status, "label", "Ready")
        grip = atspi.find(status, "filler")
        sx, sy, sw, sh = atspi.extents(status)
        gx, gy, gw, gh = atspi.extents(grip)
        client = atspi.find(frame, "panel")
        fx, fy, fw, fh = atspi.extents(client)
        check(sy + sh == fy + fh and sx == fx and sw == fw,
              f"the status bar {(sx, sy, sw, sh)} does not run along the bottom of the client area {(fx, fy, fw, fh)}")
        check(gx + gw == sx + sw and gy + gh == sy + sh,
              f"the grip {(gx, gy, gw, gh)} is not in the status bar's corner {(sx, sy, sw, sh)}")
        _, _, width, height = atspi.window_geometry(TITLE)
        subprocess.run(["xdotool", "mousemove", "--sync", str(gx + gw - 3), str(gy + gh - 3), "mousedown", "1"], check=True)
        for step in range(1, 11):
            subprocess.run(["xdotool", "mousemove", "--sync", str(gx + gw - 3 + 8 * step), str(gy + gh - 3 + 6 * step)],
                           check=True)
        subprocess.run(["xdotool", "mouseup", "1"], check=True)
        atspi.wait_until(lambda: atspi.window_geometry(TITLE)[2] > width + 40
                         and atspi.window_geometry(TITLE)[3] > height + 30, timeout=5,
                         message=f"dragging the grip did not resize the window ({atspi.window_geometry(TITLE)})")
        print(f"gallery: dragging the grip resized the window from {width}x{height} to "
              f"{atspi.window_geometry(TITLE)[2]}x{atspi.window_geometry(TITLE)[3]}")

        atspi.wait_until(lambda: atspi.extents(status)[2] == atspi.extents(client)[2], timeout=5,
                         message="the status bar did not follow the window's new width")
        atspi.screenshot(os.path.join(artifacts, "gallery-larger.png"), TITLE, frame=True)

        atspi.close_window(TITLE)
        check(program.proc.wait(timeout=15) == 0, "the gallery did not end cleanly")
    finally:
        if program.proc.poll() is None:
            program.proc.kill()


if __name__ == "__main__":
    main()
