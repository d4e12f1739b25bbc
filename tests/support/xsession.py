"""A private X session for a black-box test: Xvfb on a display nobody else has (it picks a free
one itself and hands its number back once it accepts clients), and openbox once it manages the
screen.

    with XSession("1280x1024", wm=True) as x:
        subprocess.Popen([...], env=x.env)
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def ended_with_us(args):
    """The command, made to end when this test's process does, however that ends: a test that
    crashes leaves no server or program behind to hold ctest's output open and load the
    machine."""
    return ["setpriv", "--pdeathsig", "KILL", "--", *args]


def require(*tools, files=()):
    """Skips the test (status 77) unless every program named is on PATH and every file exists."""
    missing = [t for t in tools if not shutil.which(t)] + [f for f in files if not os.path.exists(f)]
    if missing:
        print(f"skipped: {', '.join(missing)} missing")
        sys.exit(77)


def finish(failures):
    """Prints the failures and the one-line tally of a black-box test, and ends with its status."""
    for f in failures:
        print("FAIL:", f)
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    sys.exit(1 if failures else 0)


def wait_for(seconds, what, check):
    """Polls check until it returns something true, and returns that; fails the test after
    seconds."""
    end = time.monotonic() + seconds
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise SystemExit(f"FAIL: {what} (after {seconds} s)")
        time.sleep(0.05)


class XSession:
    def __init__(self, size="1280x1024", wm=False, xvfb_args=()):
        self.size, self.want_wm, self.xvfb_args = size, wm, list(xvfb_args)
        self.procs = []

    def __enter__(self):
        r, w = os.pipe()
        self.procs.append(subprocess.Popen(ended_with_us(
            # -noreset: the server keeps its state when its last client leaves; one that
            # resets refuses whoever connects meanwhile.
            ["Xvfb", "-displayfd", str(w), "-screen", "0", self.size + "x24", "-dpi", "96",
             "-nolisten", "tcp", "-noreset", *self.xvfb_args]), pass_fds=[w],
            stderr=subprocess.DEVNULL))
        os.close(w)
        number = b""
        while not number.endswith(b"\n"):  # may come in pieces
            piece = os.read(r, 16)
            if not piece:
                self.__exit__()
                raise SystemExit("FAIL: Xvfb did not start")
            number += piece
        os.close(r)
        self.display = ":" + number.decode().strip()
        # A runtime folder of the session's own, as a desktop session has (Qt warns without one).
        self.runtime = tempfile.TemporaryDirectory()
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb",
                        XDG_RUNTIME_DIR=self.runtime.name)
        if self.want_wm:
            self.spawn(["openbox", "--sm-disable"])
            wait_for(60, "openbox did not take the screen", self.wm_ready)
        return self

    def wm_ready(self):
        out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                             capture_output=True, text=True).stdout
        return "window id" in out

    def spawn(self, args, **kw):
        """A process of the session, ended with it, and with it whatever it started (the
        accessibility bus that its launcher leaves behind, the animation the course starts)."""
        kw.setdefault("env", self.env)
        kw.setdefault("stdout", subprocess.DEVNULL)
        kw.setdefault("stderr", subprocess.DEVNULL)
        kw.setdefault("start_new_session", True)
        p = subprocess.Popen(ended_with_us(args), **kw)
        self.procs.append(p)
        return p

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            try:
                os.killpg(p.pid, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):  # not a group of its own, or gone
                if p.poll() is None:
                    p.kill()
            p.wait()
        self.procs = []
        if getattr(self, "runtime", None):
            self.runtime.cleanup()
            self.runtime = None
