#!/usr/bin/python3
"""The course keeps one window: no frame of the desktop between two pages, the same X window
from start to end, centred with its frame on the work area (also when the window manager frames
it only after it is shown).

  one_window.py COURSE_DIR [WIDTHxHEIGHT ...]

For each screen size: a private Xvfb with openbox and a root window of a colour the course never
shows; the course's eye chapter paged through with Next and Back while another connection reads
one pixel of the window's client area as fast as the server answers. Exit status 77 when Xvfb,
openbox, xdotool or python3-xlib is missing.
"""
import os
import shutil
import subprocess
import sys
import threading
import time

try:
    from Xlib import X, display
except ImportError:
    print("skipped: python3-xlib is not installed")
    sys.exit(77)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, finish, wait_for  # noqa: E402

ROOT_COLOUR = (255, 0, 255)  # magenta: on no page of the course
# Button centres in twips (left + width / 2, top + height / 2) on the eye chapter's pages.
MENU_EYE = (2587, 4327)
NEXT = (7747, 7087)
BACK = (6427, 7087)


def run(*args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw).stdout.strip()


def connect(name):
    return display.Display(name)  # the session's server accepts clients already


class Screen:
    """A private X session (with openbox unless told otherwise), its root window of a colour the
    course never shows."""

    def __init__(self, size, wm=True):
        self.session = XSession(size, wm=wm).__enter__()
        self.env = self.session.env
        self.x = connect(self.env["DISPLAY"])
        root = self.x.screen().root
        r, g, b = ROOT_COLOUR
        root.change_attributes(background_pixel=(r << 16) | (g << 8) | b)
        root.clear_area()
        self.x.sync()

    def close(self):
        self.session.__exit__()


def course_window(screen, pid):
    ids = wait_for(30, "the course's window did not appear", lambda: run(
        "xdotool", "search", "--onlyvisible", "--pid", str(pid), env=screen.env).split())
    return int(ids[-1])


def placed(screen, wid):
    """Whether the window manager has framed the window and it is on the screen."""
    w = screen.x.create_resource_object("window", wid)
    extents = w.get_full_property(screen.x.intern_atom("_NET_FRAME_EXTENTS"), X.AnyPropertyType)
    return extents is not None and w.get_attributes().map_state == X.IsViewable


def pixels(screen, wid):
    w = screen.x.create_resource_object("window", wid)
    g = w.get_geometry()
    return w.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF).data


def frame_centre(screen, wid):
    """The centre of the window with its frame, and the centre of the work area."""
    x = screen.x
    w = x.create_resource_object("window", wid)
    g = w.get_geometry()
    pos = w.translate_coords(x.screen().root, 0, 0)
    left, top = -pos.x, -pos.y
    ext = w.get_full_property(x.intern_atom("_NET_FRAME_EXTENTS"), X.AnyPropertyType)
    fl, fr, ft, fb = ext.value if ext else (0, 0, 0, 0)
    area = x.screen().root.get_full_property(x.intern_atom("_NET_WORKAREA"), X.AnyPropertyType)
    ax, ay, aw, ah = area.value[:4] if area else (0, 0, x.screen().width_in_pixels,
                                                  x.screen().height_in_pixels)
    frame = ((left - fl) + (g.width + fl + fr) / 2, (top - ft) + (g.height + ft + fb) / 2)
    return frame, (ax + aw / 2, ay + ah / 2), (left, top)


class Sampler(threading.Thread):
    """Reads one screen pixel over and over; counts the root colour and the longest run of it."""

    def __init__(self, env, at):
        super().__init__(daemon=True)
        self.x = connect(env["DISPLAY"])
        self.at, self.samples, self.root_samples, self.stop = at, 0, 0, False
        self.longest, self.runs = 0.0, 0

    def run(self):
        root = self.x.screen().root
        since = None
        while not self.stop:
            data = root.get_image(self.at[0], self.at[1], 1, 1, X.ZPixmap, 0xFFFFFFFF).data
            self.samples += 1
            if (data[2], data[1], data[0]) == ROOT_COLOUR:
                self.root_samples += 1
                if since is None:
                    since, self.runs = time.monotonic(), self.runs + 1
                self.longest = max(self.longest, time.monotonic() - since)
            else:
                since = None

    def verdict(self, what, changes):
        """Stops sampling and prints what was seen over the page changes; returns the failures,
        each starting with what."""
        self.stop = True
        self.join()
        print(f"{what}: {changes} page changes, {self.samples} samples, "
              f"{self.root_samples} of the desktop in {self.runs} runs "
              f"(longest {self.longest * 1000:.1f} ms)")
        failures = []
        if self.root_samples:
            failures.append(f"{what}: the desktop showed between two pages")
        if self.samples < 200:
            failures.append(f"{what}: too few samples to tell ({self.samples})")
        return failures


def size_of(screen, wid):
    g = screen.x.create_resource_object("window", wid).get_geometry()
    return (g.width, g.height)


def click(screen, wid, at):
    run("xdotool", "mousemove", "--window", str(wid), str(at[0] // 15), str(at[1] // 15),
        "click", "1", env=screen.env)


def start(course_dir, screen):
    course_dir = os.path.abspath(course_dir)
    return subprocess.Popen([os.path.join(course_dir, "lumora")], cwd=course_dir, env=screen.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def centring(screen, wid):
    frame, area, client = frame_centre(screen, wid)
    return max(abs(frame[0] - area[0]), abs(frame[1] - area[1])), frame, area, client


def late_manager(course_dir):
    """A window manager that frames the window only after the course has shown it (it started
    late, or was too busy to answer): the window ends up centred with its frame all the same."""
    screen = Screen("1280x1024", wm=False)
    try:
        app = start(course_dir, screen)
        wid = course_window(screen, app.pid)
        screen.session.spawn(["openbox", "--sm-disable"])
        wait_for(30, "the late window manager did not frame the window",
                 lambda: placed(screen, wid))
        try:
            wait_for(5, "", lambda: centring(screen, wid)[0] <= 2)
        except SystemExit:
            pass
        off = centring(screen, wid)[0]
        print(f"window manager started after the course: {off:.1f} px off the work area's centre")
        app.kill()
        app.wait()
        return [f"late window manager: the window is {off:.1f} px off centre"] if off > 2 else []
    finally:
        screen.close()


def check(course_dir, size):
    screen = Screen(size)
    failures = []
    try:
        app = start(course_dir, screen)
        wid = course_window(screen, app.pid)
        wait_for(30, "the window manager did not frame the window", lambda: placed(screen, wid))
        # A window manager too busy to say its frame in time frames the window where it was
        # centred without it; the course centres it again a moment later.
        try:
            wait_for(5, "", lambda: centring(screen, wid)[0] <= 2)
        except SystemExit:
            pass
        off, frame, area, client = centring(screen, wid)
        print(f"{size}: client at {client}, frame centre {frame}, work area centre {area}, {off:.1f} px apart")
        if off > 2:
            failures.append(f"{size}: the window is {off:.1f} px off the work area's centre")
        wait_for(30, "the title page was not painted", lambda: len(set(pixels(screen, wid))) > 64)
        title = pixels(screen, wid)
        click(screen, wid, (5000, 4000))  # the title page leads to the menu
        wait_for(30, "no menu after the title page", lambda: pixels(screen, wid) != title)
        click(screen, wid, MENU_EYE)
        wait_for(30, "the eye chapter did not open", lambda: size_of(screen, wid) == (659, 506))
        sampler = Sampler(screen.env, (client[0] + 8, client[1] + 8))
        sampler.start()
        # The eye chapter's first page is narrower than the others: the size tells the page.
        pages = ["Form18", "Form19", "Form20", "Form21", "Form22"]
        at, changes = 0, 0
        for step in [1] * 4 + [-1] * 4 + [1] * 2 + [-1] * 2:
            if course_window(screen, app.pid) != wid:
                failures.append(f"{size}: the course's window changed")
                break
            click(screen, wid, NEXT if step > 0 else BACK)
            at += step
            expected = (659, 506) if at == 0 else (661, 508)
            # A slow build (the sanitizers') takes a while to switch.
            try:
                wait_for(30, "", lambda: size_of(screen, wid) == expected)
            except SystemExit:
                failures.append(f"{size}: {size_of(screen, wid)} where {pages[at]} should be")
                break
            # The new page watched for a while before the next click.
            seen = sampler.samples
            wait_for(30, "the sampler stopped", lambda: sampler.samples >= seen + 50)
            changes += 1
        failures += sampler.verdict(size, changes)
        app.kill()
        app.wait()
    finally:
        screen.close()
    return failures


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    for tool in ("Xvfb", "openbox", "xdotool"):
        if not shutil.which(tool):
            print(f"skipped: {tool} is not installed")
            sys.exit(77)
    failures = []
    for size in sys.argv[2:] or ["1280x1024", "1024x768"]:
        failures += check(sys.argv[1], size)
    finish(failures + late_manager(sys.argv[1]))


if __name__ == "__main__":
    main()
