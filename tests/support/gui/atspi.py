"""Helpers for GUI tests that drive real GTK 3 windows through AT-SPI.

Run with Debian's /usr/bin/python3 (it has the AT-SPI binding) inside
tests/support/gui/with-display, which puts this folder on PYTHONPATH:

    import re, atspi
    prog = atspi.app("vonq-drive-scrubber")          # waits for it to register
    win = atspi.find(prog, "frame", "Drive Scrubber")
    atspi.press(atspi.find(win, "push button", "Start"))
    atspi.wait_until(lambda: atspi.text(atspi.find(win, "label", re.compile("^Done"))))
    atspi.screenshot("/tmp/shot.png", "Drive Scrubber")
    atspi.close_window("Drive Scrubber")

Objects are Atspi.Accessible; role names are AT-SPI's English ones:
"frame", "dialog", "alert", "push button", "check box", "radio button",
"label", "text", "combo box", "menu item", "progress bar", "filler", ...
A name is matched exactly when given as a str, or with re.search when given
as a compiled pattern.

Every lookup waits (polling, and letting libatspi take in the events that
keep its cache current) and, when it gives up, raises NotFound with the tree
it saw, roles and names, so that a failing test says what was on screen.

The X side (screenshots, window geometry, closing, pointer clicks) goes
through xdotool, xwininfo, xprop and ImageMagick, and through libX11 by
ctypes for the polite close; DISPLAY comes from the environment.
"""

import ctypes
import ctypes.util
import os
import re
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

Atspi.init()

DEFAULT_TIMEOUT = 10.0
_POLL = 0.05

# /usr/local/bin may hold other programs by these names; ImageMagick's own.
_CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
_IMPORT = "/usr/bin/import" if os.path.exists("/usr/bin/import") else "import"


class NotFound(AssertionError):
    """A window, an application or an accessible object did not appear in time."""


# --- waiting ----------------------------------------------------------------


def _pump():
    """Lets libatspi handle the D-Bus signals that have arrived (children
    added or removed, names and states changed), so its cache is current."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_until(predicate, timeout=DEFAULT_TIMEOUT, message=None):
    """Calls predicate() until it returns something true and returns that.

    An object that went away in between (a GLib.Error from AT-SPI) counts as
    "not yet". On timeout raises TimeoutError with message, or with the last
    such error."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        _pump()
        try:
            value = predicate()
            if value:
                return value
        except GLib.Error as e:
            last_error = e
        if time.monotonic() >= deadline:
            detail = message or "condition not met"
            if last_error is not None:
                detail += f" (last error: {last_error.message})"
            raise TimeoutError(f"{detail} after {timeout:g}s")
        time.sleep(_POLL)


# --- the accessibility tree -------------------------------------------------


def _matches(actual, wanted):
    if wanted is None:
        return True
    if isinstance(wanted, re.Pattern):
        return wanted.search(actual or "") is not None
    return (actual or "") == wanted


def _children(obj):
    try:
        count = obj.get_child_count()
    except GLib.Error:
        return []
    kids = []
    for i in range(count):
        try:
            kid = obj.get_child_at_index(i)
        except GLib.Error:
            continue
        if kid is not None:
            kids.append(kid)
    return kids


def _walk(root):
    """Breadth first, root included, so the nearest match comes first."""
    queue = [root]
    while queue:
        obj = queue.pop(0)
        yield obj
        queue.extend(_children(obj))


def _role(obj):
    """The AT-SPI role name, e.g. "push button"; "" for an object gone away."""
    try:
        return obj.get_role_name()
    except GLib.Error:
        return ""


def _name(obj):
    """The accessible name ("" when it has none or went away)."""
    try:
        return obj.get_name() or ""
    except GLib.Error:
        return ""


def states(obj):
    """The object's states as a set of names: "checked", "sensitive",
    "showing", "visible", "focused", "selected", "expanded", ..."""
    try:
        found = obj.get_state_set().get_states()
    except GLib.Error:
        return set()
    return {s.value_nick for s in found}


def dump(root, limit=400):
    """The tree under root as indented "role 'name' [states]" lines, at most
    limit of them."""
    lines = []

    def visit(obj, depth):
        if len(lines) >= limit:
            return
        st = states(obj)
        notes = [s for s in ("checked", "focused", "selected") if s in st]
        if st and "sensitive" not in st:
            notes.append("insensitive")
        if st and "showing" not in st:
            notes.append("not showing")
        extra = f" [{', '.join(notes)}]" if notes else ""
        lines.append(f"{'  ' * depth}{_role(obj)} {_name(obj)!r}{extra}")
        for kid in _children(obj):
            visit(kid, depth + 1)

    visit(root, 0)
    if len(lines) >= limit:
        lines.append(f"... (cut at {limit} lines)")
    return "\n".join(lines)


role = _role
name = _name


def desktop():
    """The AT-SPI desktop: its children are the running applications."""
    return Atspi.get_desktop(0)


def _wait_for_application(accepts, timeout, missing):
    """Waits for an application on the desktop that accepts(candidate) and
    returns it; on timeout raises NotFound with `missing` and the names of
    the applications that are there."""
    def look():
        for candidate in _children(desktop()):
            if accepts(candidate):
                return candidate
        return None

    try:
        return wait_until(look, timeout)
    except TimeoutError:
        seen = ", ".join(repr(_name(a)) for a in _children(desktop())) or "none"
        raise NotFound(f"{missing} after {timeout:g}s; applications there: {seen}") from None


def app(app_name, timeout=DEFAULT_TIMEOUT):
    """Waits for the application app_name (str: exact, pattern: re.search)
    to register on the desktop and returns it. A GTK program's name is its
    program name (g_get_prgname(): the basename of argv[0] unless set)."""
    return _wait_for_application(lambda candidate: _matches(_name(candidate), app_name), timeout,
                                 f"no application {app_name!r} on the desktop")


def _descends(pid, ancestor):
    while pid > 1:
        if pid == ancestor:
            return True
        try:
            with open(f"/proc/{pid}/stat") as f:
                # the field after the parenthesised command name is the state, then the parent
                pid = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            return False
    return False


def app_of(pid, timeout=DEFAULT_TIMEOUT):
    """Waits for the application run by process pid, or by a process it
    started, to register and returns it; unlike app() it does not depend on
    the name the program gives itself."""
    def runs_it(candidate):
        try:
            return _descends(candidate.get_process_id(), pid)
        except GLib.Error:
            return False

    return _wait_for_application(runs_it, timeout, f"process {pid} shows no application on the desktop")


def find_all(root, role, name=None, showing=False):
    """All objects under root (root included) with that role and name, now,
    without waiting; role and name are exact texts or compiled patterns.
    showing=True keeps only those on screen."""
    found = []
    for obj in _walk(root):
        if _matches(_role(obj), role) and _matches(_name(obj), name):
            if not showing or "showing" in states(obj):
                found.append(obj)
    return found


def find(root, role, name=None, timeout=DEFAULT_TIMEOUT, showing=False):
    """Waits for an object under root with that role and name (None: any;
    str: exact; pattern: re.search) and returns the nearest one. On timeout
    raises NotFound with a dump of the tree under root."""
    def look():
        hits = find_all(root, role, name, showing)
        return hits[0] if hits else None

    try:
        return wait_until(look, timeout)
    except TimeoutError:
        wanted = f"{role} named {name!r}" if name is not None else role
        where = f"{_role(root)} {_name(root)!r}" if _role(root) else "the application"
        raise NotFound(
            f"no {wanted}{' on screen' if showing else ''} under {where} after {timeout:g}s; "
            + _tree_or_silence(root)
        ) from None


def _tree_or_silence(root):
    if _role(root) == "":
        return (
            "the application does not answer AT-SPI. It ended, or it is inside a nested main "
            "loop started by an action (gtk_dialog_run() from a press()): then it answers "
            "again once that loop ends; open such dialogs with click() instead."
        )
    return "the tree:\n" + dump(root)


def gone(root, role, name=None, timeout=DEFAULT_TIMEOUT):
    """Waits until no such object is left under root (a dialog closed)."""
    try:
        wait_until(lambda: not find_all(root, role, name), timeout)
    except TimeoutError:
        raise NotFound(
            f"{role} {name!r} still there after {timeout:g}s; " + _tree_or_silence(root)
        ) from None


# --- acting on objects ------------------------------------------------------


def actions(obj):
    """The names of obj's actions, e.g. ["click"]."""
    iface = obj.get_action_iface()
    if iface is None:
        return []
    return [iface.get_action_name(i) for i in range(iface.get_n_actions())]


def press(obj, action=None):
    """Runs obj's first action (GTK's "click" for buttons, check boxes and
    menu items, "press" for combo boxes), or the one named action. It
    returns before the program has done it: wait for its effect.

    The program runs the action while handling the AT-SPI request, so an
    action that starts a nested main loop (a dialog shown with
    gtk_dialog_run()) leaves the program deaf to AT-SPI until that loop
    ends; use click() for such a button."""
    iface = obj.get_action_iface()
    n = iface.get_n_actions() if iface is not None else 0
    if n == 0:
        raise AssertionError(f"{_role(obj)} {_name(obj)!r} has no action to run")
    index = 0
    if action is not None:
        names = [iface.get_action_name(i) for i in range(n)]
        if action not in names:
            raise AssertionError(f"{_role(obj)} {_name(obj)!r} has no action {action!r}: {names}")
        index = names.index(action)
    if not iface.do_action(index):
        raise AssertionError(f"{_role(obj)} {_name(obj)!r} refused action {index}")


def text(obj):
    """The text of a label, text field or other object with the Text
    interface; its accessible name otherwise."""
    iface = obj.get_text_iface()
    if iface is not None:
        return iface.get_text(0, -1)
    return _name(obj)


def description(obj):
    """The accessible description: where a drawn widget (which has no Text)
    can tell its state, set by atk_object_set_description()."""
    try:
        return obj.get_description() or ""
    except GLib.Error:
        return ""


def value(obj):
    """The current value of a progress bar, scale or spin button."""
    iface = obj.get_value_iface()
    if iface is None:
        raise AssertionError(f"{_role(obj)} {_name(obj)!r} has no value")
    return iface.get_current_value()


def extents(obj):
    """(x, y, width, height) of obj on the screen, in pixels."""
    r = obj.get_extents(Atspi.CoordType.SCREEN)
    return (r.x, r.y, r.width, r.height)


def click(obj, button=1, at=None):
    """A real pointer click (XTEST, through xdotool) on obj: at its middle,
    or at the point at=(dx, dy) from its top left corner. For drawn widgets
    that have no action; raise the window first if others may cover it."""
    x, y, w, h = extents(obj)
    dx, dy = at if at is not None else (w // 2, h // 2)
    _run("xdotool", "mousemove", "--sync", str(x + dx), str(y + dy), "click", str(button))


# --- windows and pictures ---------------------------------------------------


def _run(*argv):
    result = subprocess.run(argv, capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(
            f"{' '.join(argv)} failed ({result.returncode}): {result.stderr.strip()}"
        )
    return result.stdout


def window_id(title, timeout=DEFAULT_TIMEOUT):
    """The X window id of the mapped top-level window titled exactly title,
    waiting for it to appear."""
    pattern = "^" + re.escape(title) + "$"

    def look():
        found = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", pattern],
            capture_output=True, text=True,
        ).stdout.split()
        # xdotool matches without regard to case; keep only the exact title.
        for wid in found:
            got = subprocess.run(["xdotool", "getwindowname", wid],
                                 capture_output=True, text=True).stdout
            if got.rstrip("\n") == title:
                return int(wid)
        return None

    try:
        return wait_until(look, timeout)
    except TimeoutError:
        raise NotFound(f"no window titled {title!r} after {timeout:g}s") from None


def window_geometry(title, timeout=DEFAULT_TIMEOUT):
    """(x, y, width, height) of the window's inside (without the window
    manager's frame), x and y from the top left of the screen (xwininfo's
    absolute position)."""
    out = _run("xwininfo", "-id", str(window_id(title, timeout)))

    def field(label):
        return int(re.search(rf"^\s*{label}:\s*(-?\d+)", out, re.M).group(1))

    return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
            field("Width"), field("Height"))


def screenshot(path, window=None, frame=False):
    """Saves the whole screen (window=None), or one window given by title or
    X window id (with the window manager's frame around it when frame), as
    an image file (the type follows path's extension) and returns path."""
    if window is None:
        target = "root"
    elif isinstance(window, int):
        target = str(window)
    else:
        target = str(window_id(window))
    _run(_IMPORT, "-silent", *(["-frame"] if frame else []), "-window", target, path)
    return path


def colours(path):
    """The number of distinct colours in an image."""
    return int(_run(_CONVERT, path, "-format", "%k", "info:").strip())


def size(path):
    """An image's (width, height)."""
    width, height = _run(_CONVERT, path, "-format", "%w %h", "info:").split()
    return int(width), int(height)


def pixel(path, x, y):
    """The (red, green, blue) of one pixel of an image, 8 bits each."""
    out = _run(_CONVERT, path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-")
    red, green, blue = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1]).groups()
    return int(red), int(green), int(blue)


def is_blank(path):
    """True when the image is all one colour: nothing was drawn."""
    return colours(path) <= 1


# Closing a window politely: the program gets WM_DELETE_WINDOW (GTK:
# "delete-event"), may ask a question or refuse, and ends by itself.
# xdotool's windowclose destroys the window under the program and windowkill
# drops its X connection; neither is what a person does, so neither is used.


class _XClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessage), ("pad", ctypes.c_long * 24)]


_CLIENT_MESSAGE = 33
_SUBSTRUCTURE_NOTIFY = 1 << 19
_SUBSTRUCTURE_REDIRECT = 1 << 20


def _send_client_message(window, message_type, data, to_root):
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(_XEvent)]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = xlib.XOpenDisplay(None)
    if not display:
        raise RuntimeError(f"cannot open display {os.environ.get('DISPLAY')!r}")
    try:
        event = _XEvent()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = xlib.XInternAtom(display, message_type.encode(), False)
        event.xclient.format = 32
        for i, item in enumerate(data):
            event.xclient.data[i] = (xlib.XInternAtom(display, item.encode(), False)
                                     if isinstance(item, str) else item)
        if to_root:
            target = xlib.XDefaultRootWindow(display)
            mask = _SUBSTRUCTURE_REDIRECT | _SUBSTRUCTURE_NOTIFY
        else:
            target, mask = window, 0
        if not xlib.XSendEvent(display, target, False, mask, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        xlib.XSync(display, False)
    finally:
        xlib.XCloseDisplay(display)


def _window_manager_running():
    out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                         capture_output=True, text=True).stdout
    return "window id" in out


def close_window(title, how="auto", timeout=DEFAULT_TIMEOUT):
    """Asks the window titled title (or with that X window id, an int) to
    close, as a person would, and returns at once (wait for the window or the
    program to go yourself).

    how="wm": an EWMH _NET_CLOSE_WINDOW request to the window manager, which
        sends the window WM_DELETE_WINDOW: what its title bar's close button
        does. Needs a window manager (VONQ_WM=openbox).
    how="delete": WM_DELETE_WINDOW sent straight to the window (ICCCM), as a
        window manager would; works without one.
    how="keys": Alt+F4 typed through XTEST after activating the window, so it
        goes through the window manager's key binding (openbox's stock
        configuration binds it to Close). Needs openbox.
    how="auto": "wm" when a window manager runs, "delete" otherwise.
    """
    if how not in ("auto", "wm", "delete", "keys"):
        raise ValueError(f"how must be auto, wm, delete or keys, not {how!r}")
    wid = title if isinstance(title, int) else window_id(title, timeout)
    managed = _window_manager_running()
    if how == "auto":
        how = "wm" if managed else "delete"
    if how in ("wm", "keys") and not managed:
        raise AssertionError(f"close_window(how={how!r}) needs a window manager (VONQ_WM=openbox)")
    if how == "wm":
        # source indication 2: a direct request, as from a pager or a person
        _send_client_message(wid, "_NET_CLOSE_WINDOW", [0, 2], to_root=True)
    elif how == "delete":
        protocols = _run("xprop", "-id", str(wid), "WM_PROTOCOLS")
        if "WM_DELETE_WINDOW" not in protocols:
            raise AssertionError(f"window {title!r} does not take WM_DELETE_WINDOW: {protocols}")
        _send_client_message(wid, "WM_PROTOCOLS", ["WM_DELETE_WINDOW", 0], to_root=False)
    elif how == "keys":
        _run("xdotool", "windowactivate", "--sync", str(wid), "key", "--clearmodifiers", "alt+F4")


def window_gone(title, timeout=DEFAULT_TIMEOUT):
    """Waits until no mapped window is titled title."""
    def absent():
        try:
            window_id(title, timeout=0)
            return False
        except NotFound:
            return True

    try:
        wait_until(absent, timeout)
    except TimeoutError:
        raise NotFound(f"window {title!r} still open after {timeout:g}s") from None
