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
click, the menu, the first eye page by Enter and read whole with Orca's say-all, the next page,
the menu, the illusion chapter, the index, illusion 0 and its Explain, the index again, the
animation page and its program, and back. Exit status 77 when Xvfb, openbox, xdotool,
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
    """The page's name, and where it stands in its chapter where it does."""
    return lambda line: line == f"{name} panel." or (
        line.startswith(f"{name}（第 ") and line.endswith(" 頁） panel."))


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
    orca.hear("then Enter", mark, page_named("眼睛的構造"), "下一頁 push button.")
    s.stop_course()
    return orca


def say_all(s, orca):
    """Orca's say-all of the whole window (the key twice): every item of the page, once."""
    frame = s.frame()
    items = [n for r, n in names(frame) if r != "push button"]
    buttons = [n for r, n in names(frame) if r == "push button"]
    mark = orca.mark()
    s.key("KP_Add", "KP_Add")
    said = orca.hear("say-all", mark, "plus", "plus",
                     lambda line: all(b in line.split() for b in buttons))
    read = said[len(said) - said[::-1].index("plus"):]  # after the second press
    for n in items:
        if read.count(n) != 1:
            fail(f"say-all read {n!r} {read.count(n)} times: {read}")
    if read[0] != names(frame)[0][1]:
        fail(f"say-all does not begin with the heading: {read}")
    diagram = [n for r, n in names(frame) if r == "image"][-1]
    parts = [n for r, n in names(frame) if r == "label"]
    at = read.index(diagram) if diagram in read else -1
    if sorted(read[at + 1:at + 1 + len(parts)]) != sorted(parts):
        fail(f"the part names do not follow their picture: {read}")


def explain(s, orca):
    """Explain on illusion 0: the explanation spoken once, at once, the focus where it was."""
    frame = s.frame()
    before = {n for _, n in names(frame)}
    mark = orca.mark()
    s.key("Return")
    shown = wait_for(10, "Explain showed nothing", lambda: [
        n for r, n in names(s.frame()) if r == "paragraph" and n not in before])
    orca.hear("解說", mark, shown[0])
    tab = orca.mark()
    s.key("Tab")  # Orca speaks in order: all it says of 解說 comes before this
    orca.hear("Tab after 解說", tab, "回圖像目錄 push button.")
    spoken = orca.since(mark)[:tab - mark]
    if spoken.count(shown[0]) != 1 or any(line.endswith("push button.") for line in spoken):
        fail(f"after 解說 Orca said {spoken}")


def animation(s, orca):
    """The animation page's program: named and described for what it shows; Esc comes back."""
    mark = orca.mark()
    s.key(*["Tab"] * 5)
    orca.hear("to 開始動畫", mark, "開始動畫 push button.")
    mark = orca.mark()
    s.key("Return")
    pid = wait_for(10, "no animation window", lambda: s.xdo(
        "search", "--onlyvisible", "--classname", "^7optical").split()[-1:])
    pid = int(s.xdo("getwindowpid", pid[0]))
    app = wait_for(10, "the animation is not on the bus", lambda: [
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
    orca.hear("Esc", mark, lambda line: line.startswith("視錯覺 7") and line.endswith(" frame."),
              page_named("視錯覺 7"), "開始動畫 push button.")


def walk(s, orca):
    mark = orca.mark()
    s.start_course(for_screen_reader=True)
    frame = wait_for(20, "the course is not on the bus", s.frame)
    orca.hear("title page", mark, "Lumora frame.", frame.description)
    mark = orca.mark()
    s.click_title()
    orca.hear("a click", mark, page_named("主目錄"), "眼睛的構造及運作 push button.")
    steps = [  # keys, then what Orca says after them
        (["Return"], [page_named("眼睛的構造"), "下一頁 push button."]),
        (say_all, []),
        (["Return"], [page_named("眼睛的構造"), "回主目錄 push button."]),
        (["Return"], [page_named("主目錄"), "眼睛的構造及運作 push button."]),
        (["Tab", "Return"], [page_named("腦部與感覺"), "上一頁 push button."]),
        (["Tab", "Return"], [page_named("視錯覺"), "上一頁 push button."]),
        (["Tab", "Return"], [page_named("視錯覺圖像目錄"), "0 push button.", "第 0 個視錯覺圖像."]),
        (["Return"], [page_named("視錯覺 0"), "解說 push button."]),
        (explain, []),
        (["Return"], [page_named("視錯覺圖像目錄"), "0 push button."]),
        (["Tab"] * 7 + ["Return"], [page_named("視錯覺 7"), "回圖像目錄 push button."]),
        (animation, []),
    ]
    for keys, expected in steps:
        if callable(keys):
            keys(s, orca)
        else:
            mark = orca.mark()
            s.key(*keys)
            orca.hear(" ".join(keys), mark, *expected)


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
