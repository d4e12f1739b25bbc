#!/usr/bin/python3
"""The course read as a screen reader reads it: over AT-SPI on a private session bus.

  dbus-run-session -- screen_reader.py COURSE_DIR

The title page pressed through its action, the eye chapter opened by its button's name, the
first eye page read heading first, Next pressed through the bus up to the blind-spot page, whose
items come in reading order and whose sweep says when it starts and ends; then the illusion
chapter, where the explanation on illusion 3 is spoken when Explain is pressed through the bus:
the focused control's description changes to end with it and the picture that comes with it,
the change carries the new text, and the page tells of its two new children, each at its place.
Next step on illusion 5 speaks the new picture. On every page of the course, a walk of the
whole tree from the application ends and finds the window, the page and what the page shows;
no two pages have the same name. Exit status 77 when Xvfb, the AT-SPI bus launcher or pyatspi
is missing.
"""
import os
import shutil
import signal
import subprocess
import sys
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError:
    print("skipped: python3-pyatspi is not installed")
    sys.exit(77)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession  # noqa: E402

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
failures = []


def fail(what):
    print("FAIL:", what)
    failures.append(what)


def wait_for(what, probe, seconds=10):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            value = probe()
            if value:
                return value
        except Exception:  # the tree changes under our feet while pages change
            pass
        time.sleep(0.1)
    raise SystemExit(f"FAIL: {what}")


def course_frame(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid and app.childCount:
            return app[0]
    return None


def children(frame):
    """The items of the page shown: the window's one child, a panel named for the page."""
    if frame.childCount != 1 or frame[0].getRoleName() != "panel":
        fail(f"the window holds {[(c.getRoleName(), c.name) for c in frame]}, not one page")
        return []
    return [(c.getRoleName(), c.name) for c in frame[0]]


def item(frame, name, role=None):
    found = [c for c in frame[0] if c.name == name and role in (None, c.getRoleName())]
    if not found:
        raise SystemExit(f"FAIL: no {name!r} on {frame.name}")
    return found[0]


walked = []  # (page, objects), one a page visited


def walk(frame):
    """Every object from the application down, each once: the walk must end. Counted by page."""
    app = frame.getApplication()
    seen, stack = set(), [app]
    while stack:
        node = stack.pop()
        key = node.path
        if key in seen:
            fail(f"on {frame.name}: {node.getRoleName()} {node.name!r} is reached twice")
            return
        seen.add(key)
        for child in node:
            if child is None:
                continue
            if child.getRoleName() == "application":
                fail(f"on {frame.name}: {child.name!r} under {node.name!r} is the application")
                return
            stack.append(child)
    # the application, its window, the page and the page's items, which hold nothing
    items = frame[0].childCount if frame.childCount == 1 else 0
    if len(seen) != 3 + items:
        fail(f"on {frame.name}: {len(seen)} objects for a page of {items} items")
    walked.append((frame.name, len(seen)))


class Listener:
    """The AT-SPI events of some kinds heard meanwhile, as (kind, source, detail1, any_data)."""

    def __init__(self, *kinds):
        self.kinds, self.heard = kinds, []
        for kind in kinds:
            pyatspi.Registry.registerEventListener(self.hear, kind)

    def hear(self, event):
        self.heard.append((event.type, event.source, event.detail1, event.any_data))

    def turned(self):  # the listener hears only while the main loop turns
        while GLib.MainContext.default().iteration(False):
            pass
        return self.heard

    def descriptions(self):
        return [d for t, _, _, d in self.turned() if t.endswith("accessible-description")]

    def stop(self):
        for kind in self.kinds:
            pyatspi.Registry.deregisterEventListener(self.hear, kind)


def press(acc):
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == "press":
            return action.doAction(i)
    fail(f"{acc.name!r} has no press action")


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    if not shutil.which("Xvfb") or not os.path.exists(LAUNCHER):
        print("skipped: Xvfb or the AT-SPI bus launcher is missing")
        sys.exit(77)
    course_dir = os.path.abspath(sys.argv[1])
    with XSession() as x:
        os.environ.update(x.env)
        check(course_dir, x)
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    sys.exit(1 if failures else 0)


def check(course_dir, x):
    bus = x.spawn([LAUNCHER, "--launch-immediately"])
    # The course looks for the accessibility bus once, at start: it must be there by then.
    wait_for("the accessibility bus did not start", lambda: "unix:" in subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"], capture_output=True, text=True).stdout)
    # the bus itself, which the launcher leaves behind when it ends
    a11y_bus = subprocess.run(["pgrep", "-P", str(bus.pid)], capture_output=True,
                              text=True).stdout.split()
    try:
        # and so must the registry, which lists the programs on it: asking it starts it.
        wait_for("the accessibility registry did not answer",
                 lambda: pyatspi.Registry.getDesktop(0) is not None)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        app = x.spawn([os.path.join(course_dir, "lumora")], cwd=course_dir, env=env)
        read(app.pid)
    finally:
        for pid in a11y_bus:
            os.kill(int(pid), signal.SIGKILL)


def read(pid):
    try:
        frame = wait_for("the course did not show on the accessibility bus",
                         lambda: course_frame(pid))
    except SystemExit:
        print("on the bus:", [(a.name, a.get_process_id(), a.childCount)
                              for a in pyatspi.Registry.getDesktop(0) if a is not None])
        raise
    print("title page:", frame.getRoleName(), repr(frame.name), children(frame))
    if frame.getRoleName() != "frame" or frame.name != "Lumora":
        fail(f"the title page reads as {frame.getRoleName()} {frame.name!r}")
    if not frame.description:
        fail("the title page does not say how to go on")
    walk(frame)
    press(frame)
    wait_for("the menu did not follow the title page", lambda: frame.name == "主目錄")
    print("menu:", children(frame))
    walk(frame)
    press(item(frame, "眼睛的構造及運作", "push button"))
    wait_for("the eye chapter did not open", lambda: frame.name.startswith("眼睛的構造"))
    first = children(frame)
    print("first eye page:", first)
    if not first or first[0] != ("heading", "眼睛的構造"):
        fail("the first eye page is not read heading first")
    walk(frame)
    for _ in range(3):
        before = children(frame)
        press(item(frame, "下一頁"))
        wait_for("Next did not change the page", lambda: children(frame) != before)
        walk(frame)
    page = children(frame)
    print("blind-spot page:", page)
    names = [n for _, n in page]
    expected = ["眼睛的構造", None, "找尋盲點：", "右眼－", "左眼－", None, None,
                "回主目錄", "離開", "上一頁", "下一頁", "右眼", "左眼"]
    if len(names) != len(expected) or any(
            e is not None and not n.startswith(e) for n, e in zip(names, expected)):
        fail("the blind-spot page is not read in reading order")
    roles = [r for r, _ in page]
    if roles[1] != "image" or roles[5:7] != ["image", "image"]:
        fail(f"the pictures of the blind-spot page read as {roles}")
    sweep(frame)
    press(item(frame, "下一頁"))
    wait_for("the last eye page did not open", lambda: children(frame) != page)
    walk(frame)
    illusions(frame)


def next_page(frame):
    before = frame.name
    press(item(frame, "下一頁"))
    wait_for(f"Next did not leave {before}", lambda: frame.name != before)
    walk(frame)


def illusions(frame):
    press(item(frame, "回主目錄"))
    wait_for("the menu did not come back", lambda: frame.name == "主目錄")
    press(item(frame, "視錯覺", "push button"))
    wait_for("the illusion chapter did not open", lambda: frame.name.startswith("腦部與感覺"))
    walk(frame)
    next_page(frame)
    next_page(frame)
    press(item(frame, "0"))
    wait_for("the first illusion did not open", lambda: frame.name.startswith("視錯覺 0"))
    walk(frame)
    for k in range(1, 10):
        next_page(frame)
        if k == 3:
            explain(frame)
        if k == 5:
            next_step(frame)
    print("objects on each page:", walked)
    # the twenty pages, and illusion 3 again with its explanation shown
    if len(walked) != 21:
        fail(f"{len(walked)} walks, not 21")
    names = {name for name, _ in walked}
    if len(names) != 20:
        fail(f"twenty pages, {len(names)} names: {sorted(names)}")


def explain(frame):
    before = [c.name for c in frame[0]]
    listener = Listener("object:property-change:accessible-description",
                        "object:children-changed:add")
    press(item(frame, "解說"))
    wait_for("no description changed after Explain", listener.descriptions)
    wait_for("the page did not tell of its new children", lambda: len(
        [e for e in listener.turned() if e[0].startswith("object:children-changed")]) >= 2)
    listener.stop()
    after = [c.name for c in frame[0]]
    shown = [c.name for c in frame[0] if c.getRoleName() == "paragraph" and c.name not in before]
    picture = [c.name for c in frame[0] if c.getRoleName() == "image" and c.name not in before]
    print("explained:", listener.heard, "shown:", shown, picture)
    # The change carries the new description: what appeared, the explanation first.
    spoken = listener.descriptions()[-1]
    if len(shown) != 1 or len(picture) != 1 or not (
            isinstance(spoken, str) and spoken.endswith(picture[0]) and shown[0] in spoken):
        fail(f"Explain is spoken as {spoken!r}")
    # Each new child is told as added to the page at its place then: the page's children as
    # they were, with the additions made in turn, are the children it has now.
    children = list(before)
    for kind, source, index, child in listener.heard:
        if kind.startswith("object:children-changed:add") and source == frame[0]:
            children.insert(index, child.name)
    if children != after:
        fail(f"the page told of its new children as {children}, not {after}")
    walk(frame)


def next_step(frame):
    """Next step, pressed through the bus: the new picture's description, spoken."""
    listener = Listener("object:property-change:accessible-description")
    press(item(frame, "下一步"))
    wait_for("no description changed after Next step", listener.descriptions)
    listener.stop()
    picture = [c.name for c in frame[0] if c.getRoleName() == "image"]
    print("next step:", listener.descriptions(), "pictures:", picture)
    if listener.descriptions()[-1] not in picture:
        fail(f"Next step is spoken as {listener.descriptions()}")


def sweep(frame):
    """The left-eye sweep, pressed through the bus: said when it starts and when it ends."""
    cross = [c for c in frame[0] if c.getRoleName() == "image"][1]
    listener = Listener("object:property-change:accessible-description")
    press(item(frame, "左眼"))
    # Heard while the cross is still on its way from the left, and once it has come.
    wait_for("the sweep did not say that it started", listener.descriptions)
    moving = cross.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
    wait_for("the sweep did not say that it ended", lambda: listener.descriptions()[1:],
             seconds=30)
    listener.stop()
    stopped = cross.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
    said = listener.descriptions()
    print("sweep:", said, "the cross at", moving, "then", stopped)
    if len(said) != 2 or said[0] == said[1] or moving >= stopped:
        fail(f"the sweep said {said}, the cross at {moving} then {stopped}")


if __name__ == "__main__":
    main()
