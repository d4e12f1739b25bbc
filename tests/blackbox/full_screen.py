#!/usr/bin/python3
"""Full screen for the classroom projector, on a real X server (1920 x 1080), under openbox and
with no window manager at all.

  full_screen.py COURSE_DIR

Under openbox: F11 on the eye chapter's first page: the window fills the screen, the page
stands in its middle at the largest size that fits, the bands beside it all one colour. F11
again: the window is back at its size and its place, centred on the work area. Full screen once
more, the eye chapter is paged through with Next and Back, clicked where the buttons are at
that scale, while the one-window sampler reads a pixel of the page: no frame of the desktop
between two pages. Esc returns to the window. Started with --full-screen (as the desktop
entry's action and the Windows shortcut start it): full screen at once, the title page in the
middle; Esc: the designed window, centred on the work area with its frame.

With no window manager, which would do it for the window, the window covers the screen itself:
F11 and back, and --full-screen and Esc, each checked by the real window's geometry. Exit
status 77 when Xvfb, openbox, xdotool or python3-xlib is missing.
"""
import os
import subprocess
import sys
import time
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, HERE)
from xsession import XSession, finish, require, wait_for  # noqa: E402

try:
    from Xlib import X
    from one_window import ROOT_COLOUR, Sampler, connect, frame_centre  # noqa: E402
except ImportError:
    print("skipped: python3-xlib is not installed")
    sys.exit(77)

SCREEN = (1920, 1080)
DESIGNED = {"Form18": (9885, 7590), "other": (9915, 7620)}  # client areas in twips
# Button centres in twips on the eye chapter's pages, as the page descriptions place them.
MENU_EYE = (2587, 4327)
NEXT = (7747, 7087)
BACK = (6427, 7087)
failures = []


def run(*args, env):
    return subprocess.run(args, capture_output=True, text=True, env=env).stdout.strip()


def pixel(twips, scale):
    return round(round(twips / 15) * scale)


class Course:
    def __init__(self, x, course_dir, *args, wm=True):
        self.x, self.env, self.wm = x, x.env, wm
        self.app = x.spawn([os.path.join(course_dir, "lumora"), *args], cwd=course_dir)
        self.wid = int(wait_for(10, "the course's window did not appear", lambda: run(
            "xdotool", "search", "--onlyvisible", "--pid", str(self.app.pid),
            env=self.env).split())[-1])
        self.display = connect(self.env["DISPLAY"])
        self.window = self.display.create_resource_object("window", self.wid)

    def geometry(self):
        """The client area on the screen: left, top, width, height."""
        g = self.window.get_geometry()
        pos = self.window.translate_coords(self.display.screen().root, 0, 0)
        return (-pos.x, -pos.y, g.width, g.height)

    def click(self, at):
        run("xdotool", "mousemove", str(at[0]), str(at[1]), "click", "1", env=self.env)

    def key(self, name):
        # Without a window manager there is none to ask for activation: the focus is set directly.
        run("xdotool", "windowactivate" if self.wm else "windowfocus", "--sync", str(self.wid),
            env=self.env)
        run("xdotool", "key", name, env=self.env)

    def placed(self):
        """The window as xwininfo gives it: WIDTHxHEIGHT+X+Y."""
        out = run("xwininfo", "-id", str(self.wid), env=self.env)
        return next((line.split()[-1] for line in out.splitlines() if "-geometry" in line), "")

    def states(self):
        prop = self.window.get_full_property(self.display.intern_atom("_NET_WM_STATE"),
                                             X.AnyPropertyType)
        return [self.display.get_atom_name(a) for a in prop.value] if prop else []

    def centred(self):
        """How far the window with its frame is from the work area's centre, in pixels."""
        frame, area, _ = frame_centre(types.SimpleNamespace(x=self.display), self.wid)
        return max(abs(frame[0] - area[0]), abs(frame[1] - area[1]))

    def row(self, y):
        data = self.display.screen().root.get_image(0, y, SCREEN[0], 1, X.ZPixmap, 0xFFFFFFFF).data
        return [(data[4 * i + 2], data[4 * i + 1], data[4 * i]) for i in range(SCREEN[0])]

    def column(self, x):
        data = self.display.screen().root.get_image(x, 0, 1, SCREEN[1], X.ZPixmap, 0xFFFFFFFF).data
        return [(data[4 * i + 2], data[4 * i + 1], data[4 * i]) for i in range(SCREEN[1])]

    def look(self, box):
        return self.display.screen().root.get_image(*box, X.ZPixmap, 0xFFFFFFFF).data


def full_screen(course):
    course.key("F11")
    wait_for(10, "F11 did not make the window fill the screen" +
             ("" if course.wm else " with no window manager"),
             lambda: course.geometry() == (0, 0) + SCREEN)
    # and then paints it: the screen's corners no longer show the desktop.
    wait_for(10, "the full-screen window was not painted", lambda: all(
        c != ROOT_COLOUR for c in (course.row(0)[0], course.row(SCREEN[1] - 1)[-1])))


def page_in_the_middle(course, page):
    """The page's place in the full-screen window, checked against the largest scale that fits:
    the scale and the page's left and top corner."""
    scale = min(SCREEN[0] / pixel(DESIGNED[page][0], 1), SCREEN[1] / pixel(DESIGNED[page][1], 1))
    width, height = pixel(DESIGNED[page][0], scale), pixel(DESIGNED[page][1], scale)
    left, top = (SCREEN[0] - width) // 2, (SCREEN[1] - height) // 2
    row = course.row(SCREEN[1] // 2)
    band = row[0]
    inside = [i for i, c in enumerate(row) if c != band]
    found = (inside[0], SCREEN[0] - 1 - inside[-1]) if inside else (None, None)
    print(f"full screen: scale {scale:.4f}, page {width}x{height} expected at {left}, {top}; "
          f"band colour {band}, the page's edges {found[0]} px from the left and {found[1]} px "
          f"from the right")
    if not inside or abs(found[0] - left) > 1 or abs(found[1] - left) > 1:
        failures.append(f"the page is not in the middle of the screen: {found}")
    if any(c != band for c in row[:left - 1] + row[left + width + 1:]):
        failures.append("the bands beside the page are not one colour")
    column = course.column(SCREEN[0] // 2)
    if height < SCREEN[1] and column[top - 2] != band:
        failures.append("no band above the page")
    if any(c == band for c in column[top + 2:top + height - 2:40]):
        failures.append("the page does not reach from top to bottom")
    return scale, left, top


def walk(course, scale, left, top):
    """The eye chapter paged through in full screen; how many pages came."""
    at = lambda t: (left + pixel(t[0], scale), top + pixel(t[1], scale))  # noqa: E731
    # Rows across the page, where no two pages of the chapter are alike.
    rows = [(left, top + pixel(y, scale), pixel(9885, scale), 1) for y in range(500, 7600, 500)]
    sampler = Sampler(course.env, (left + 8, top + 8))
    sampler.start()
    changes = 0
    for step in [1] * 4 + [-1] * 4 + [1] * 2 + [-1] * 2:
        before = [course.look(r) for r in rows]
        course.click(at(NEXT if step > 0 else BACK))
        wait_for(10, "a page did not come", lambda: [course.look(r) for r in rows] != before)
        changes += 1
    failures.extend(sampler.verdict("full screen", changes))
    if course.geometry() != (0, 0) + SCREEN:
        failures.append("the window left full screen while paging")


def desktop_in_root_colour(x):
    """The desktop in a colour no page has, to tell where the course has painted."""
    root = connect(x.display)
    r, g, b = ROOT_COLOUR
    root.screen().root.change_attributes(background_pixel=(r << 16) | (g << 8) | b)
    root.screen().root.clear_area()
    root.sync()


def with_window_manager(course_dir):
    with XSession(f"{SCREEN[0]}x{SCREEN[1]}", wm=True) as x:
        desktop_in_root_colour(x)
        course = Course(x, course_dir)
        designed = wait_for(10, "the window did not take the title page's size", lambda: (
            lambda g: g if g[2:] == (661, 508) else None)(course.geometry()))
        course.click((designed[0] + 600, designed[1] + 466))  # the title page leads to the menu
        course.click((designed[0] + MENU_EYE[0] // 15, designed[1] + MENU_EYE[1] // 15))
        designed = wait_for(10, "the eye chapter did not open", lambda: (
            lambda g: g if g[2:] == (659, 506) else None)(course.geometry()))
        full_screen(course)
        print(f"F11 under openbox: {course.placed()}, {course.states()}")
        scale, left, top = page_in_the_middle(course, "Form18")
        course.key("F11")
        wait_for(10, "F11 did not bring the window back", lambda: (
            lambda g: g if g[2:] == designed[2:] else None)(course.geometry()))
        # The window manager may give the window its size before it moves it there.
        end = time.monotonic() + 10
        back = course.geometry()
        while back != designed and time.monotonic() < end:
            time.sleep(0.05)
            back = course.geometry()
        off = course.centred()
        print(f"back from full screen: {back} (before {designed}), {off:.1f} px off the work "
              f"area's centre")
        if back != designed:
            failures.append(f"the window came back at {back}, not at {designed}")
        if off > 2:
            failures.append(f"the window is {off:.1f} px off the work area's centre")
        full_screen(course)
        walk(course, scale, left, top)
        course.key("Escape")
        wait_for(10, "Esc did not leave full screen",
                 lambda: course.geometry()[2:] == designed[2:])
        opened_full_screen(x, course_dir)


def opened_full_screen(x, course_dir, wm=True):
    """Started with --full-screen: full screen from the first page; Esc, the designed window,
    centred."""
    course = Course(x, course_dir, "--full-screen", wm=wm)
    wait_for(10, "--full-screen did not open the course full screen",
             lambda: course.geometry() == (0, 0) + SCREEN)
    wait_for(10, "the full-screen window was not painted", lambda: all(
        c != ROOT_COLOUR for c in (course.row(0)[0], course.row(SCREEN[1] - 1)[-1])))
    where = "under openbox" if wm else "with no window manager"
    print(f"--full-screen {where}: {course.placed()}, {course.states()}")
    if wm and "_NET_WM_STATE_FULLSCREEN" not in course.states():
        failures.append("--full-screen: the window manager was not told that it is full screen")
    page_in_the_middle(course, "other")
    course.key("Escape")
    wait_for(10, "Esc did not bring the designed window after --full-screen",
             lambda: course.geometry()[2:] == (661, 508))
    end = time.monotonic() + 10
    while course.centred() > 2 and time.monotonic() < end:
        time.sleep(0.05)
    off = course.centred()
    print(f"Esc: {course.placed()}, {off:.1f} px off the work area's centre")
    if off > 2:
        failures.append(f"after --full-screen and Esc the window is {off:.1f} px off centre")
    course.app.kill()


def without_window_manager(course_dir):
    with XSession(f"{SCREEN[0]}x{SCREEN[1]}") as x:
        desktop_in_root_colour(x)
        course = Course(x, course_dir, wm=False)
        designed = wait_for(10, "the window did not take the title page's size", lambda: (
            lambda g: g if g[2:] == (661, 508) else None)(course.geometry()))
        full_screen(course)
        print(f"F11 with no window manager: {course.placed()}")
        page_in_the_middle(course, "other")
        course.key("F11")
        wait_for(10, "with no window manager F11 did not bring the window back",
                 lambda: course.geometry() == designed)
        print(f"F11 again: {course.placed()} (before {designed})")
        course.app.kill()
        opened_full_screen(x, course_dir, wm=False)


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    require("Xvfb", "openbox", "xdotool", "xwininfo")
    course_dir = os.path.abspath(sys.argv[1])
    with_window_manager(course_dir)
    without_window_manager(course_dir)
    finish(failures)


if __name__ == "__main__":
    main()
