"""The disk eraser window driven as a user drives it, on a scratch NTFS
volume mounted at MOUNT (made and seeded by eraser.sh), inside a private X
session with openbox:

1. first start: the volume is in the drive list; it is chosen, the five
   operations are ticked (box 5 is open to NTFS), Erase is pressed and the
   question names the drive between the brackets; the phase texts and the
   progress bars move (screenshots during the free-space phase and at the
   end); the end message says the erasing is complete. Keep on Top is
   chosen and the middle-click close unticked before the window is closed.
2. second start: the drive, the ticks and the two view options come back;
   a close during the run asks and No keeps the run going; Cancel during
   the free-space phase ends with "Some operation has been canceled.".
3. third start: the window in English, German, Arabic, Japanese and
   Russian (screenshots), ending back in English.

Usage: eraser.py PROGRAM MOUNT ARTIFACT_FOLDER
"""

import os
import re
import subprocess
import sys
import time

import atspi

TITLE = "Vonq Drive Scrubber"
ERASE = "Erase Recoverable Data Now!"
FREE_SPACE = "Wiping free space on disk..."


def check(condition, message):
    if not condition:
        sys.exit("eraser: " + message)


class FakeDesktop:
    """A private "system" bus with a stand-in logind, and a stand-in
    notification service on the session bus (fake_desktop.py)."""

    def __init__(self, folder):
        self.log = os.path.join(folder, "desktop.log")
        open(self.log, "w").close()
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                    stdout=subprocess.PIPE, text=True)
        self.address = self.bus.stdout.readline().strip()
        env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=self.address)
        here = os.path.dirname(os.path.abspath(__file__))
        self.fake = subprocess.Popen([sys.executable, os.path.join(here, "fake_desktop.py"), self.log],
                                     env=env, stdout=subprocess.PIPE, text=True)
        check(self.fake.stdout.readline().strip() == "ready", "the stand-in desktop services did not start")

    def lines(self):
        with open(self.log) as f:
            return [line.rstrip("\n") for line in f]

    def stop(self):
        for proc in (self.fake, self.bus):
            proc.kill()
            proc.wait()


class Session:
    """One start of the program, until its window is closed."""

    def __init__(self, program, artifacts, desktop=None):
        self.artifacts = artifacts
        env = dict(os.environ)
        if desktop is not None:
            env["DBUS_SYSTEM_BUS_ADDRESS"] = desktop.address
        self.proc = subprocess.Popen([program], env=env)
        self.app = atspi.app_of(self.proc.pid, timeout=30)
        self.frame = atspi.find(self.app, "frame", TITLE, timeout=30, showing=True)
        self.wid = atspi.window_id(TITLE, timeout=10)

    def boxes(self):
        found = atspi.find_all(self.frame, "check box")
        check(len(found) == 5, f"{len(found)} operation boxes, not 5")
        return found

    def bars(self):
        return [b for b in atspi.find_all(self.frame, "progress bar") if atspi.extents(b)[2] > 0][:5]

    def status(self):
        labels = atspi.find_all(self.frame, "label")
        return [atspi.name(l) for l in labels]

    def choose_drive(self, root):
        combo = atspi.find(self.frame, "combo box")
        items = atspi.find_all(combo, "menu item")
        names = [atspi.name(i) for i in items]
        index = next((i for i, n in enumerate(names) if n == root or n.startswith(root + " - ")), -1)
        check(index >= 0, f"{root} is not in the drive list {names}")
        combo.select_child(index)
        atspi.wait_until(lambda: atspi.name(combo).startswith(root), message="the drive was not chosen")

    def alert(self, pattern, timeout=20):
        """The message box whose text matches pattern."""
        def look():
            for box in atspi.find_all(self.app, "alert") + atspi.find_all(self.app, "dialog"):
                said = " ".join(atspi.name(l) for l in atspi.find_all(box, "label"))
                if re.search(pattern, said):
                    return box
            return None
        return atspi.wait_until(look, timeout, message=f"no message box saying /{pattern}/")

    def answer(self, box, button):
        atspi.press(atspi.find(box, "push button", button))

    def show_item(self, item):
        """Opens the drawn menu bar's first drop-down with a click and moves
        the pointer along the titles until `item` shows; returns it."""
        bar = atspi.find(self.frame, "menu bar")
        x, y, w, h = atspi.extents(bar)
        time.sleep(0.6)  # a drop-down just closed does not reopen within 500 ms
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + 12), str(y + h // 2), "click", "1"], check=True)
        for step in range(12, w, 8):
            time.sleep(0.1)
            found = atspi.find_all(self.app, re.compile("menu item"), item, showing=True)
            if found:
                return found[0]
            subprocess.run(["xdotool", "mousemove", str(x + step), str(y + h // 2)], check=True)
        sys.exit(f"eraser: no menu item {item!r} in the menu bar")

    def menu_item(self, item):
        """Chooses `item` from the menu bar."""
        atspi.press(self.show_item(item))

    def marked(self, item):
        """Whether the menu item carries its check mark (the drop-down is
        opened to look, then closed)."""
        found = self.show_item(item)
        mark = "checked" in atspi.states(found)
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        atspi.wait_until(lambda: not atspi.find_all(self.app, re.compile("menu item"), item, showing=True),
                         timeout=5, message="the drop-down did not close")
        return mark

    def close(self, answer=None):
        atspi.close_window(self.wid, how="wm")
        if answer is not None:
            return
        code = self.proc.wait(timeout=30)
        check(code == 0, f"the program ended with {code}")

    def settle(self):
        """Waits until the window has kept its size for half a second."""
        last, steady = None, 0
        for _ in range(60):
            now = atspi.extents(self.frame)
            steady = steady + 1 if now == last else 0
            if steady >= 5:
                return
            last = now
            time.sleep(0.1)

    def cut_off(self):
        """The texts of check boxes, buttons and labels that reach past the
        window's right or bottom edge."""
        fx, fy, fw, fh = atspi.extents(self.frame)
        cut = []
        for role in ("check box", "push button", "label"):
            for obj in atspi.find_all(self.frame, role, showing=True):
                x, y, w, h = atspi.extents(obj)
                if x + w > fx + fw + 1 or y + h > fy + fh + 1 or x < fx - 1:
                    cut.append(atspi.name(obj))
        return cut

    def shot(self, name):
        return atspi.screenshot(os.path.join(self.artifacts, name))


def first_run(program, root, artifacts):
    desktop = FakeDesktop(artifacts)
    try:
        run_to_the_end(Session(program, artifacts, desktop), root, desktop)
    finally:
        desktop.stop()


def run_to_the_end(s, root, desktop):
    s.choose_drive(root)
    boxes = s.boxes()
    check("sensitive" in atspi.states(boxes[4]), "box 5 is closed on an NTFS drive")
    check("checked" not in atspi.states(boxes[4]), "box 5 did not start unticked")
    for box in boxes:
        if "checked" not in atspi.states(box):
            atspi.press(box)
    atspi.press(atspi.find(s.frame, "push button", ERASE))
    question = s.alert(re.escape(f"[ {root} ]"))
    print(f"eraser: the question names the drive: [ {root} ]")
    s.answer(question, "Yes")
    other = subprocess.Popen(["xmessage", "-geometry", "+0+0", "another window"])
    try:
        atspi.wait_until(lambda: FREE_SPACE in s.status(), timeout=60, message="no free-space phase text")
        atspi.wait_until(lambda: atspi.value(s.bars()[1]) > 0, timeout=60,
                         message="the free-space bar does not move")
        subprocess.run(["xdotool", "search", "--sync", "--name", "^xmessage$", "windowactivate"], check=False)
        s.shot("eraser-free-space.png")
        title = subprocess.run(["xdotool", "getwindowname", str(s.wid)], capture_output=True, text=True).stdout
        check(re.match(r"^\d+% - " + TITLE, title), f"the title does not show the percentage: {title!r}")
        print(f"eraser: the free-space phase shows its text, its bar moves, the title reads {title.strip()!r}")
        inhibits = [l for l in desktop.lines() if l.startswith("inhibit ")]
        check(inhibits and inhibits[0].startswith("inhibit sleep:idle|") and inhibits[0].endswith("|block"),
              f"the run did not keep the system from suspending: {desktop.lines()}")
        end = s.alert("Erasing Complete!", timeout=900)
        s.shot("eraser-end.png")
        atspi.wait_until(lambda: "released" in desktop.lines(), timeout=10,
                         message=f"the inhibitor was not given back: {desktop.lines()}")
        notes = [l for l in desktop.lines() if l.startswith("notify ")]
        check(notes and "Erasing Complete!" in notes[0], f"no notification of the end: {desktop.lines()}")
        print(f"eraser: the run held off suspending, gave it back and told the desktop: {notes[0]!r}")
    finally:
        other.kill()
    s.answer(end, "OK")
    print("eraser: the run ended with 'Erasing Complete!'")
    s.menu_item("Keep on Top")
    s.menu_item("Close By Mouse-Wheel Click")
    s.close()


def second_run(program, root, artifacts):
    s = Session(program, artifacts)
    combo = atspi.find(s.frame, "combo box")
    check(atspi.name(combo).startswith(root), f"the last wiped drive was not selected again: {atspi.name(combo)!r}")
    states = [("checked" in atspi.states(b)) for b in s.boxes()]
    check(states == [True, True, True, True, False], f"the ticks did not come back as stored: {states}")
    above = subprocess.run(["xprop", "-id", str(s.wid), "_NET_WM_STATE"], capture_output=True, text=True).stdout
    check("_NET_WM_STATE_ABOVE" in above, f"Keep on Top did not come back: {above.strip()}")
    check(s.marked("Keep on Top"), "Keep on Top is not ticked after a restart")
    check(not s.marked("Close By Mouse-Wheel Click"), "the middle-click close is ticked again after a restart")
    print("eraser: the drive, the ticks and the view options came back after a restart")
    s.menu_item("Keep on Top")  # back to normal for the screenshots

    atspi.press(atspi.find(s.frame, "push button", ERASE))
    s.answer(s.alert(re.escape(f"[ {root} ]")), "Yes")
    atspi.wait_until(lambda: FREE_SPACE in s.status(), timeout=60, message="no free-space phase text")
    s.close(answer="No")
    s.answer(s.alert("cancel the operation"), "No")
    before = atspi.value(s.bars()[1])
    atspi.wait_until(lambda: atspi.value(s.bars()[1]) > before, timeout=60,
                     message="the run did not go on after No")
    check(s.proc.poll() is None, "the program ended although the close was answered No")
    print("eraser: closing during the run asked, and No kept the run going")
    atspi.press(atspi.find(s.frame, "push button", re.compile("Cancel")))
    s.answer(s.alert("cancel the operation"), "Yes")
    end = s.alert("Some operation has been canceled", timeout=120)
    s.shot("eraser-cancelled.png")
    s.answer(end, "OK")
    print("eraser: Cancel during the free-space phase ended with 'Some operation has been canceled.'")
    s.close()


LANGUAGES = [("Deutsch", "German"), ("عربي", "Arabic"), ("日本語", "Japanese"), ("Русский", "Russian"),
             ("English", "English")]


def languages(program, artifacts):
    s = Session(program, artifacts)
    atspi.screenshot(os.path.join(artifacts, "eraser-english.png"), TITLE, frame=True)
    english = atspi.name(atspi.find(s.frame, "push button", ERASE))
    for native, name in LANGUAGES:
        s.menu_item(native)
        if name != "English":
            atspi.wait_until(lambda: not atspi.find_all(s.frame, "push button", english),
                             message=f"the window did not change to {name}")
            s.settle()
            cut = s.cut_off()
            check(not cut, f"in {name} these are cut off by the window's edge: {cut}")
            atspi.screenshot(os.path.join(artifacts, f"eraser-{name.lower()}.png"), s.wid, frame=True)
    atspi.find(s.frame, "push button", ERASE, timeout=10)
    print("eraser: the window changed its language five times (screenshots kept)")
    version_window(s, artifacts)
    s.close()


ABOUT = "Version Information"


def version_window(s, artifacts):
    """About, Version Information: the window shows in its colour theme,
    the main window takes no pointer input until it is closed, and it comes
    back where it was moved to."""
    box = s.boxes()[0]
    ticked = "checked" in atspi.states(box)
    s.menu_item(ABOUT)
    about = atspi.find(s.app, "frame", ABOUT, timeout=15, showing=True)
    atspi.find(about, "label", "Vonq Drive Scrubber", timeout=10)
    time.sleep(0.5)
    atspi.screenshot(os.path.join(artifacts, "eraser-version-window.png"))
    own = atspi.screenshot(os.path.join(artifacts, "eraser-version-window-alone.png"), ABOUT)
    _, height = atspi.size(own)
    background = atspi.pixel(own, 4, height // 2)
    check(background == (116, 116, 116),
          f"the version window's background is {background}, not the Classic LG theme's grey")
    atspi.click(box)
    time.sleep(0.5)
    check(("checked" in atspi.states(box)) == ticked, "the main window took a click while the version window was open")
    wid = atspi.window_id(ABOUT)
    subprocess.run(["xdotool", "windowmove", "--sync", str(wid), "100", "120"], check=True)
    time.sleep(0.5)
    moved = atspi.window_geometry(ABOUT)
    atspi.press(atspi.find(about, "push button", "Close"))
    atspi.wait_until(lambda: not atspi.find_all(s.app, "frame", ABOUT, showing=True), timeout=10,
                     message="the version window did not close")
    atspi.click(box)
    atspi.wait_until(lambda: ("checked" in atspi.states(box)) != ticked, timeout=5,
                     message="the main window takes no click after the version window closed")
    atspi.press(box)  # back as it was
    s.menu_item(ABOUT)
    atspi.find(s.app, "frame", ABOUT, timeout=15, showing=True)
    time.sleep(0.5)
    again = atspi.window_geometry(ABOUT)
    check(again[:2] == moved[:2], f"the version window came back at {again[:2]}, not {moved[:2]}")
    atspi.close_window(ABOUT)
    atspi.wait_until(lambda: not atspi.find_all(s.app, "frame", ABOUT, showing=True), timeout=10,
                     message="the version window did not close by its frame")
    print(f"eraser: the version window blocked the main window and came back at {again[:2]}")


def main():
    program, root, artifacts = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    os.makedirs(artifacts, exist_ok=True)
    if not root.endswith("/"):
        root += "/"
    phase = sys.argv[4] if len(sys.argv) > 4 else "all"
    if phase in ("all", "first"):
        first_run(program, root, artifacts)
    if phase in ("all", "second"):
        second_run(program, root, artifacts)
    if phase in ("all", "languages"):
        languages(program, artifacts)


if __name__ == "__main__":
    main()
