#!/usr/bin/python3
"""The failure report as a screen reader finds it, over AT-SPI on a private session bus.

  dbus-run-session -- report_reader.py COURSE_DIR

A copy of the course without the title page's picture, on a private X server under openbox:
the message box is an alert whose text names the missing file, with one button, named in
Qt's Traditional Chinese translation (確定, not OK) and pressable; pressed through the bus, the
course ends with status 1. The box is saved as COURSE_DIR/../screenshots/failure-report.png
to look at (its text in the course's Ming face). Exit status 77 when Xvfb, openbox, the AT-SPI
bus launcher or pyatspi is missing.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile

try:
    import pyatspi
except ImportError:
    print("skipped: python3-pyatspi is not installed")
    sys.exit(77)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, finish, require, wait_for  # noqa: E402

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
failures = []


def tree(node):
    """Every object under node, node first."""
    found = [node]
    for child in node:
        if child is not None:
            found.extend(tree(child))
    return found


def alert_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.get_process_id() != pid:
            continue
        for window in app:
            if window is not None and window.getRoleName() == "alert":
                return window
    return None


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        failures.append(f"{acc.name!r} has no press action: {names}")
        return
    action.doAction(names.index("press"))


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    require("Xvfb", "openbox", "xdotool", "import", files=[LAUNCHER])
    course_dir = os.path.abspath(sys.argv[1])
    shots = os.path.join(os.path.dirname(course_dir), "screenshots")
    with tempfile.TemporaryDirectory() as scratch, XSession(wm=True) as x:
        copy = os.path.join(scratch, "course")
        shutil.copytree(course_dir, copy)
        os.remove(os.path.join(copy, "bg5.jpg"))
        os.environ.update(x.env)
        bus = x.spawn([LAUNCHER, "--launch-immediately"])
        # The course looks for the accessibility bus once, at start: it must be there by then.
        wait_for(10, "the accessibility bus did not start", lambda: "unix:" in subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], capture_output=True, text=True).stdout)
        a11y_bus = subprocess.run(["pgrep", "-P", str(bus.pid)], capture_output=True,
                                  text=True).stdout.split()
        try:
            wait_for(10, "the accessibility registry did not answer",
                     lambda: pyatspi.Registry.getDesktop(0) is not None)
            env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
            app = x.spawn([os.path.join(copy, "lumora")], cwd=copy, env=env)
            read(app, copy, shots, x.env)
        finally:
            for pid in a11y_bus:
                os.kill(int(pid), signal.SIGKILL)
    finish(failures)


def read(app, copy, shots, env):
    alert = wait_for(30, "no alert on the accessibility bus", lambda: alert_of(app.pid))
    missing = os.path.join(copy, "bg5.jpg")
    if "找不到圖片檔案" not in alert.name or missing not in alert.name:
        failures.append(f"the alert does not say that {missing} was not found: {alert.name!r}")
    buttons = [n for n in tree(alert) if n.getRoleName() == "push button"]
    names = [b.name for b in buttons]
    print(f"alert {alert.name!r}, buttons {names}")
    if names != ["確定"]:
        failures.append(f"the report's buttons read {names}, not ['確定']")
    # The box as the pupil sees it, to look at.
    box = wait_for(10, "the box has no window", lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--pid", str(app.pid)], env=env,
        capture_output=True, text=True).stdout.split())[-1]
    os.makedirs(shots, exist_ok=True)
    shot = os.path.join(shots, "failure-report.png")
    subprocess.run(["import", "-window", box, "-strip", shot], env=env, check=True)
    print(f"the box: {shot}")
    if buttons:
        press(buttons[0])
    try:
        status = app.wait(timeout=20)
    except subprocess.TimeoutExpired:
        failures.append("the course did not end after the report's button was pressed")
        return
    print(f"pressed through the bus: status {status}")
    if status != 1:
        failures.append(f"status {status} after the report, not 1")


if __name__ == "__main__":
    main()
