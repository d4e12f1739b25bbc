#!/usr/bin/python3
"""Where a screen reader finds the course's buttons when the course is shown larger: over
AT-SPI, in the screen's own pixels, at 150 % and 200 % (Qt's scale factor) and full screen, on a 2560 x 1600 screen.

  dbus-run-session -- scaled_extents.py COURSE_DIR

For each way of showing it larger, the course is opened on the first page of the eye chapter
(through the bus) and the extents AT-SPI gives for its four buttons are compared with where the
window is on the X screen (xwininfo) and where the page describes them, times the scale.
Exit status 77 when Xvfb, openbox, xdotool, the AT-SPI bus launcher or pyatspi is missing.
"""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, finish, wait_for  # noqa: E402

try:
    import pyatspi
except ImportError:
    print("skipped: python3-pyatspi is not installed")
    sys.exit(77)

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# The buttons of the eye chapter's first page: name, left, top, width, height in twips.
BUTTONS = [("回主目錄", 240, 6840, 1215, 495), ("上一頁", 5880, 6840, 1095, 495),
           ("下一頁", 7200, 6840, 1095, 495), ("離開", 8520, 6840, 1095, 495)]
DESIGNED = (659, 506)  # the page's client area in pixels at 96 dpi
failures = []


def run(*args, env=None):
    return subprocess.run(args, capture_output=True, text=True, env=env).stdout


def course_frame(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid and app.childCount:
            return app[0]
    return None


def press(acc):
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == "press":
            return action.doAction(i)
    raise SystemExit(f"FAIL: {acc.name!r} has no press action")


def client_area(x, pid):
    """The course window's client area on the X screen: left, top, width, height."""
    wid = wait_for(10, "no course window", lambda: run(
        "xdotool", "search", "--onlyvisible", "--pid", str(pid), env=x.env).split())[-1]
    info = run("xwininfo", "-id", wid, env=x.env)
    value = {k: int(line.split(":")[1]) for line in info.splitlines()
             for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
             if line.strip().startswith(k)}
    return (value["Absolute upper-left X"], value["Absolute upper-left Y"], value["Width"],
            value["Height"]), wid


def controls(frame):
    """The controls of the page shown: the window's one child is the page."""
    return list(frame[0]) if frame.childCount else []


def pixel(twips, scale):
    return round(round(twips / 15) * scale)


def check(x, course_dir, factor, full_screen):
    what = "full screen" if full_screen else f"{factor * 100:.0f} %"
    env = dict(x.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    if factor != 1:
        env["QT_SCALE_FACTOR"] = str(factor)
    app = x.spawn([os.path.join(course_dir, "lumora")], cwd=course_dir, env=env)
    frame = wait_for(10, "the course is not on the bus", lambda: course_frame(app.pid))
    press(frame)
    wait_for(10, "no menu", lambda: frame.name == "主目錄")
    press([c for c in controls(frame) if c.getRoleName() == "push button"
           and c.name == "眼睛的構造及運作"][0])
    wait_for(10, "the eye chapter did not open", lambda: frame.name.startswith("眼睛的構造"))
    client, wid = client_area(x, app.pid)
    if full_screen:
        run("xdotool", "windowactivate", "--sync", wid, env=x.env)
        run("xdotool", "key", "F11", env=x.env)
        client = wait_for(10, "the window did not fill the screen", lambda: (
            lambda c: c if f"{c[2]}x{c[3]}" == x.size else None)(client_area(x, app.pid)[0]))
        scale = min(client[2] / DESIGNED[0], client[3] / DESIGNED[1])
        left = client[0] + (client[2] - pixel(9885, scale)) // 2
        top = client[1] + (client[3] - pixel(7590, scale)) // 2
    else:
        scale, left, top = factor, client[0], client[1]
    worst = 0
    for name, *box in BUTTONS:
        acc = wait_for(10, f"no button {name}", lambda: [
            c for c in controls(frame) if c.getRoleName() == "push button" and c.name == name])[0]
        got = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        want = (left + pixel(box[0], scale), top + pixel(box[1], scale),
                pixel(box[0] + box[2], scale) - pixel(box[0], scale),
                pixel(box[1] + box[3], scale) - pixel(box[1], scale))
        off = max(abs(a - b) for a, b in zip((got.x, got.y, got.width, got.height), want))
        worst = max(worst, off)
        if off > 2:
            failures.append(f"{what}: {name} at {(got.x, got.y, got.width, got.height)}, "
                            f"on the screen at {want}")
    print(f"{what}: scale {scale:.3f}, the buttons' extents at most {worst} px from where "
          f"they are on the screen")
    app.kill()
    app.wait()


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    for tool in ("Xvfb", "openbox", "xdotool", "xwininfo"):
        if not shutil.which(tool):
            print(f"skipped: {tool} is not installed")
            sys.exit(77)
    if not os.path.exists(LAUNCHER):
        print("skipped: the AT-SPI bus launcher is missing")
        sys.exit(77)
    course_dir = os.path.abspath(sys.argv[1])
    with XSession("2560x1600", wm=True) as x:
        os.environ["DISPLAY"] = x.display
        x.spawn([LAUNCHER, "--launch-immediately"])
        # The course looks for the accessibility bus once, at start: it must be there by then,
        # and so must the registry, which lists the programs on it.
        wait_for(10, "the accessibility bus did not start", lambda: "unix:" in run(
            "dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
            "org.a11y.Bus.GetAddress"))
        wait_for(10, "the accessibility registry did not answer",
                 lambda: pyatspi.Registry.getDesktop(0) is not None)
        check(x, course_dir, 1.5, False)
        check(x, course_dir, 2, False)
        check(x, course_dir, 1, True)
    finish(failures)


if __name__ == "__main__":
    main()
