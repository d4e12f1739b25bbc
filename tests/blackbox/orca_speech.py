#!/usr/bin/python3
"""What Orca, Debian's screen reader, speaks while a pupil goes through the course.

  dbus-run-session -- orca_speech.py COURSE_DIR

A private X session (Xvfb, openbox), the AT-SPI bus launcher, a private HOME where
speech-dispatcher speaks with espeak-ng into ALSA's null device, and Orca itself with its debug
log on a pseudo-terminal, so that it writes line by line; what Orca spoke are the log's
SPEECH OUTPUT lines, read after each step as they come.

First the course alone, with no screen reader asked for: the pupil goes to the menu, and only
then does Orca start; it must find the course and speak where the pupil is. Then the course
again, started for a screen reader while Orca runs: the title page and its description, a
click, the menu, the eye chapter from its first page (read whole with Orca's say-all) to its
last by Next, each page heard by a name of its own, and the blind-spot sweep heard as it starts
and as it ends; the menu, the illusion chapter, the index, illusion 0 read whole, explained,
and read whole again with the explanation and the picture that came with it; illusion 5 and its
next step, heard as the picture it brings; the animation page and its program, and back.
Orca's say-all of the whole window is the keypad's + pressed twice (its flat review); once, it
reads the focused control only. Exit status 77 when Xvfb, openbox, xdotool,
ImageMagick, the bus launcher, Orca, speech-dispatcher or pyatspi is missing, or when another
Orca runs for this user (Orca starts only once a user, whatever the session).
"""
import os
import pty
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, ended_with_us, wait_for  # noqa: E402

try:
    import pyatspi
except ImportError:
    print("skipped: python3-pyatspi is not installed")
    sys.exit(77)

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
ORCA = "/usr/bin/orca"
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*)' ?(?:None|\{.*\})$")
failures = []


def fail(what):
    print("FAIL:", what)
    failures.append(what)


class Orca:
    """Orca, and everything it has spoken so far, in order. Python writes a file line by line
    when it is a terminal, so the log goes to a pseudo-terminal that this script reads."""

    def __init__(self, env):
        master, slave = pty.openpty()
        self.proc = subprocess.Popen(
            ended_with_us(["/usr/bin/python3", ORCA, "--debug-file", "/dev/stdout"]), env=env,
            stdin=subprocess.DEVNULL, stdout=slave, stderr=slave, start_new_session=True)
        os.close(slave)
        self.spoken, self.log = [], []  # what it spoke; the last lines of its log
        self.lock = threading.Lock()
        threading.Thread(target=self._read, args=(master,), daemon=True).start()

    def _read(self, fd):
        rest = b""
        while True:
            try:
                piece = os.read(fd, 65536)
            except OSError:  # Orca has gone
                return
            if not piece:
                return
            *lines, rest = (rest + piece).split(b"\n")
            for line in lines:
                text = line.decode(errors="replace").rstrip("\r")
                m = SPOKEN.search(text)
                with self.lock:
                    self.log = self.log[-30:] + [text]
                    if m:
                        self.spoken.append(m.group(1).strip())

    def mark(self):
        with self.lock:
            return len(self.spoken)

    def since(self, mark):
        with self.lock:
            return self.spoken[mark:]

    def hear(self, what, mark, *expected, seconds=20):
        """Waits until Orca has spoken the expected lines (or lines that pass the expected
        checks), in this order, since mark; returns all it spoke since."""
        def heard():
            i = 0
            for line in self.since(mark):
                if i < len(expected) and (
                        expected[i](line) if callable(expected[i]) else line == expected[i]):
                    i += 1
            return i == len(expected)
        try:
            wait_for(seconds, what, lambda: heard() or self.proc.poll() is not None)
            if not heard():
                raise SystemExit(f"FAIL: {what}")
        except SystemExit:
            fail(f"{what}: Orca said {self.since(mark)}")
            if self.proc.poll() is not None:
                print("Orca has ended:", *self.log, sep="\n  ")
            raise
        print(f"{what}: {self.since(mark)}")
        return self.since(mark)

    def wait_started(self):
        """Back once Orca speaks; exit status 77 if it would not start beside another Orca."""
        wait_for(30, "Orca did not start", lambda: self.mark() or self.proc.poll() is not None)
        if self.proc.poll() is not None and any("Another screen reader" in line
                                                for line in self.log):
            print("skipped: another Orca started for this user meanwhile")
            raise SystemExit(77)

    def stop(self):
        os.killpg(self.proc.pid, signal.SIGKILL)
        self.proc.wait()


class Session:
    def __init__(self, x, course_dir):
        self.x, self.course_dir, self.course = x, course_dir, None

    def start_course(self, for_screen_reader):
        env = dict(self.x.env)
        if for_screen_reader:
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.course = self.x.spawn([os.path.join(self.course_dir, "lumora")],
                                   cwd=self.course_dir, env=env)
        self.window = wait_for(20, "the course shows no window", lambda: self.xdo(
            "search", "--onlyvisible", "--pid", str(self.course.pid)).split()[-1:])[0]

    def stop_course(self):
        self.course.kill()
        self.course.wait()

    def xdo(self, *args):
        return subprocess.run(["xdotool", *args], env=self.x.env, capture_output=True,
                              text=True).stdout

    def key(self, *keys):
        self.xdo("key", "--delay", "100", *keys)

    def click_title(self):
        """A click on the title page, back once the menu has replaced it on the screen."""
        before = self.pixels()
        self.xdo("mousemove", "--window", self.window, "330", "400", "click", "1")
        wait_for(10, "the menu did not follow the title page", lambda: self.pixels() != before)

    def pixels(self):
        return subprocess.run(["import", "-window", self.window, "rgb:-"], env=self.x.env,
                              capture_output=True).stdout

    def frame(self):
        """The course's window on the accessibility bus."""
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.course.pid and app.childCount:
                return app[0]
        return None


def names(frame):
    return [(c.getRoleName(), c.name) for c in frame[0]]


def page_named(name):
    return lambda line: line == f"{name} panel."


def button(line):
    return line.endswith("push button.")


def arrive(s, orca, what, mark, left):
    """After a key that leaves the page named `left`: Orca speaks the new page's name, the one its
    window has on the bus, then the focused button. Returns the name."""
    name = wait_for(10, f"{what}: the page did not change", lambda: (
        frame := s.frame()) is not None and frame.name != left and frame.name)
    orca.hear(what, mark, page_named(name), button)
    return name


def tab_to(s, orca, name):
    """Tab until Orca speaks the button named."""
    for _ in range(12):
        mark = orca.mark()
        s.key("Tab")
        if f"{name} push button." in orca.hear(f"Tab to {name}", mark, button):
            return
    fail(f"no {name!r} by Tab")
    raise SystemExit(1)


def press(s, orca, name, what):
    """Tab to the button named and Enter on it, where it leads to another page."""
    tab_to(s, orca, name)
    left = s.frame().name
    mark = orca.mark()
    s.key("Return")
    return arrive(s, orca, what, mark, left)


def late_start(s, env):
    """The course runs before any screen reader; the pupil is on the menu when Orca starts."""
    s.start_course(for_screen_reader=False)
    s.click_title()
    orca = Orca(env)
    orca.wait_started()
    orca.hear("Orca started after the course", 0, "Screen reader on.", "主目錄 frame.",
              page_named("主目錄"), "眼睛的構造及運作 push button.", seconds=30)
    mark = orca.mark()
    s.key("Return")
    arrive(s, orca, "then Enter", mark, "主目錄")
    s.stop_course()
    return orca


def say_all(s, orca, what="say-all"):
    """Orca's say-all of the whole window (the key twice): every item of the page as the page
    has it now, once; the heading first, a diagram's part names after it. Returns what it read."""
    frame = s.frame()
    items = [n for r, n in names(frame) if r != "push button"]
    buttons = [n for r, n in names(frame) if r == "push button"]
    mark = orca.mark()
    s.key("KP_Add", "KP_Add")

    def after_second_press(said):
        return said[len(said) - said[::-1].index("plus"):] if said.count("plus") == 2 else []

    # Read to its end: the buttons come last, the row along the bottom last of all.
    said = orca.hear(what, mark, "plus", "plus", lambda line: all(
        b in " ".join(after_second_press(orca.since(mark))).split() for b in buttons))
    read = after_second_press(said)
    for n in items:
        if read.count(n) != 1:
            fail(f"{what} read {n!r} {read.count(n)} times: {read}")
    if names(frame)[0][0] == "heading" and read[0] != names(frame)[0][1]:
        fail(f"{what} does not begin with the heading: {read}")
    parts = [n for r, n in names(frame) if r == "label"]
    if parts:
        diagram = [n for r, n in names(frame) if r == "image"][-1]
        at = read.index(diagram) if diagram in read else -1
        if sorted(read[at + 1:at + 1 + len(parts)]) != sorted(parts):
            fail(f"the part names do not follow their picture: {read}")
    return read


def eye_chapter(s, orca):
    """Enter on the menu's first button, then Next to the chapter's last page: five pages, five
    names; on the blind-spot page the left-eye sweep."""
    mark = orca.mark()
    s.key("Return")
    heard = [arrive(s, orca, "Return", mark, "主目錄")]
    say_all(s, orca)
    for _ in range(4):
        if len(heard) == 4:
            sweep(s, orca)
        heard.append(press(s, orca, "下一頁", "下一頁"))
    print("the eye chapter:", heard)
    if len(set(heard)) != 5:
        fail(f"the eye chapter's five pages are heard as {heard}")


def sweep(s, orca):
    """The left-eye sweep: a sentence as it starts, while the cross is on its way from the
    left, and another once it has come; the focus stays on the button."""
    tab_to(s, orca, "左眼")
    cross = [c for c in s.frame()[0] if c.getRoleName() == "image"][1]
    x = lambda: cross.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x  # noqa: E731
    mark = orca.mark()
    s.key("Return")
    said = lambda line: line.endswith("。")  # noqa: E731
    orca.hear("左眼", mark, "return", said)
    moving = x()
    starts, stops = [line for line in orca.hear(
        "the sweep's end", mark, "return", said, said, seconds=30) if said(line)][:2]
    stopped = x()
    print(f"the cross at {moving} as it started, {stopped} as it stopped")
    if starts == stops or moving >= stopped or any(button(line) for line in orca.since(mark)):
        fail(f"the sweep said {orca.since(mark)}, the cross at {moving}, then {stopped}")


def explain(s, orca):
    """Explain on illusion 0, after a say-all: the explanation, then the picture that came with
    it, spoken once, at once, the focus where it was; a say-all then reads both."""
    say_all(s, orca, "say-all before 解說")
    frame = s.frame()
    before = {n for _, n in names(frame)}
    mark = orca.mark()
    s.key("Return")
    new = lambda role: wait_for(10, "Explain showed nothing", lambda: [  # noqa: E731
        n for r, n in names(s.frame()) if r == role and n not in before])
    news = f"{new('paragraph')[0]} {new('image')[0]}"
    orca.hear("解說", mark, news)
    read = say_all(s, orca, "say-all after 解說")
    if any(n not in read for n in (new("paragraph") + new("image"))):
        fail(f"say-all after 解說 read {read}, not {news}")
    tab = orca.mark()
    s.key("Tab")  # Orca speaks in order: all it says of 解說 comes before this
    orca.hear("Tab after 解說", tab, "回圖像目錄 push button.")
    spoken = orca.since(mark)[:tab - mark]
    said = spoken[:spoken.index("plus")]
    if said.count(news) != 1 or any(button(line) for line in said):
        fail(f"after 解說 Orca said {spoken}")
    return frame.name


def next_step(s, orca):
    """Next step on illusion 5: what the new picture shows, and nothing else."""
    before = {n for r, n in names(s.frame()) if r == "image"}
    tab_to(s, orca, "下一步")
    mark = orca.mark()
    s.key("Return")
    picture = wait_for(10, "Next step showed nothing", lambda: [
        n for r, n in names(s.frame()) if r == "image" and n not in before])
    orca.hear("下一步", mark, "return", picture[0])
    tab = orca.mark()
    s.key("shift+Tab")  # Orca speaks in order: all it says of 下一步 comes before this
    orca.hear("Shift+Tab after 下一步", tab, button)
    if orca.since(mark)[:tab - mark] != ["return", picture[0]]:
        fail(f"after 下一步 Orca said {orca.since(mark)}")


def animation(s, orca):
    """The animation page's program: named and described for what it shows; Esc comes back."""
    page = s.frame().name
    tab_to(s, orca, "開始動畫")
    mark = orca.mark()
    s.key("Return")
    pid = wait_for(30, "no animation window", lambda: s.xdo(
        "search", "--onlyvisible", "--classname", "^7optical").split()[-1:])
    pid = int(s.xdo("getwindowpid", pid[0]))
    app = wait_for(30, "the animation is not on the bus", lambda: [
        a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == pid])[0]
    window = app[0]
    print("animation:", repr(app.name), window.getRoleName(), repr(window.name),
          repr(window.description))
    if "7optical" in app.name or "7optical" in window.name or "Esc" not in window.description \
            or window.getRoleName() != "frame":
        fail("the animation program is not named and described for the pupil")
    orca.hear("開始動畫", mark, f"{window.name} frame.", window.description)
    mark = orca.mark()
    s.key("Escape")
    orca.hear("Esc", mark, f"{page} frame.", page_named(page), "開始動畫 push button.")


def walk(s, orca):
    mark = orca.mark()
    s.start_course(for_screen_reader=True)
    frame = wait_for(20, "the course is not on the bus", s.frame)
    orca.hear("title page", mark, "Lumora frame.", frame.description)
    mark = orca.mark()
    s.click_title()
    orca.hear("a click", mark, page_named("主目錄"), "眼睛的構造及運作 push button.")
    eye_chapter(s, orca)
    press(s, orca, "回主目錄", "回主目錄")
    press(s, orca, "視錯覺", "視錯覺")
    press(s, orca, "下一頁", "下一頁")
    index = press(s, orca, "下一頁", "下一頁")
    mark = orca.mark()
    s.key("Return")  # on its button 0
    arrive(s, orca, "0", mark, index)
    illusion = explain(s, orca)
    mark = orca.mark()
    s.key("Return")  # on 回圖像目錄
    arrive(s, orca, "回圖像目錄", mark, illusion)
    press(s, orca, "5", "5")
    next_step(s, orca)
    press(s, orca, "回圖像目錄", "回圖像目錄")
    press(s, orca, "7", "7")
    animation(s, orca)


def other_orca():
    return subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                          capture_output=True, text=True).stdout.split()


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    needed = ["Xvfb", "openbox", "xdotool", "import", "speech-dispatcher"]
    if any(not shutil.which(p) for p in needed) or not os.path.exists(LAUNCHER) \
            or not os.path.exists(ORCA):
        print(f"skipped: one of {', '.join(needed)}, the bus launcher or orca is missing")
        sys.exit(77)
    if other_orca():
        print(f"skipped: Orca already runs for this user (pid {' '.join(other_orca())})")
        sys.exit(77)
    course_dir = os.path.abspath(sys.argv[1])
    home = tempfile.mkdtemp(prefix="orca-home-")
    runtime = tempfile.mkdtemp(prefix="orca-run-")
    # Speech goes nowhere: ALSA's null device, through speech-dispatcher's own ALSA output.
    with open(os.path.join(home, ".asoundrc"), "w") as f:
        f.write("pcm.!default { type null }\n")
    os.makedirs(os.path.join(home, ".config", "speech-dispatcher"))
    with open(os.path.join(home, ".config", "speech-dispatcher", "speechd.conf"), "w") as f:
        f.write('AudioOutputMethod "alsa"\nDefaultModule espeak-ng\n'
                'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n')
    orca, skipped, bus = None, False, []
    try:
        with XSession("1280x1024", wm=True) as x:
            x.env.update(HOME=home, XDG_RUNTIME_DIR=runtime)
            launcher = x.spawn([LAUNCHER, "--launch-immediately"])
            wait_for(10, "the accessibility bus did not start", lambda: "unix:" in subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                 "org.a11y.Bus.GetAddress"], capture_output=True, text=True, env=x.env).stdout)
            bus = children(launcher.pid)  # the bus itself, which outlives the launcher
            os.environ.update(DISPLAY=x.display)  # pyatspi, in this process
            # This process joins the accessibility bus now, before the course and Orca keep
            # the machine busy: libatspi ends the process if the bus does not answer in time.
            wait_for(10, "the accessibility registry did not answer",
                     lambda: pyatspi.Registry.getDesktop(0) is not None)
            s = Session(x, course_dir)
            orca = late_start(s, x.env)
            walk(s, orca)
            s.stop_course()
    except SystemExit as e:
        if e.code == 77:
            skipped = True
        elif e.code not in (None, 0) and not failures:
            fail(str(e.code))
    finally:
        if orca:
            orca.stop()
        stop_speech_dispatcher(runtime)
        for pid in bus:
            os.kill(pid, signal.SIGKILL)
        shutil.rmtree(home, ignore_errors=True)
        shutil.rmtree(runtime, ignore_errors=True)
    if skipped and not failures:
        sys.exit(77)
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    sys.exit(1 if failures else 0)


def children(pid):
    return [int(p) for p in subprocess.run(["pgrep", "-P", str(pid)], capture_output=True,
                                           text=True).stdout.split()]


def stop_speech_dispatcher(runtime):
    """Orca started it, and it outlives Orca: it has left its pid in the private runtime dir."""
    pidfile = os.path.join(runtime, "speech-dispatcher", "pid", "speech-dispatcher.pid")
    try:
        with open(pidfile) as f:
            os.kill(int(f.read().strip()), signal.SIGKILL)
    except (OSError, ValueError):
        pass


if __name__ == "__main__":
    main()
