#!/usr/bin/env python3
"""The Windows build under Wine, as pupils and a school's IT meet it. Run by run.sh inside a
private X session with a window manager (DISPLAY) and a private, initialised Wine prefix
(WINEPREFIX), with the machine's fonts hidden from Wine.

    blackbox.py HOST_BUILD WINDOWS_BUILD

1. The portable folder holds the programs, the pictures byte for byte as the Linux build has
   them, the fonts and licences, and exactly the libraries and plugins the programs load; the
   programs are GUI programs with the course's icon and a version resource.
2. A walk of the real lumora.exe by clicks (title, menu, the eye chapter to its end and back,
   the illusion chapter, the index, every illusion explained), each page compared with the Linux
   build's after the same clicks; on the way, 開始動畫 starts 7optical.exe in a window of its own,
   which one Esc ends. A copy of the folder without its fonts must fail the same comparison:
   characters drawn as boxes are told apart.
3. A copy of the folder without bg5.jpg, in a folder whose path has spaces and Chinese
   characters: a message box naming the file (read through its Ctrl+C copy), then status 1.
4. The installer, silently: files, both shortcuts (the second opens the course full screen)
   and the uninstall entry in place, the course starts from the installed folder, and the
   silent uninstall leaves nothing of it.

Screenshots of both walks are kept in WINDOWS_BUILD/screenshots/{linux,wine}/.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.stdout.reconfigure(line_buffering=True)
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
from xsession import wait_for  # noqa: E402

HOST = pathlib.Path(sys.argv[1]).resolve()
WINDOWS = pathlib.Path(sys.argv[2]).resolve()
FOLDER = WINDOWS / "Lumora"
PREFIX = pathlib.Path(os.environ["WINEPREFIX"])
DRIVE_C = PREFIX / "drive_c"
SHOTS = WINDOWS / "screenshots"

# A page matches when few of its 8 x 8 blocks differ in mean grey by more than BLOCK_GREY: the
# two builds draw text with different rasterisers (GDI, FreeType) and buttons in different
# styles, but the same layout, pictures and characters.
BLOCK_GREY = 40
MAX_DIFFERING = 0.02


def fail(message):
    raise SystemExit(f"FAIL: {message}")


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def xdotool(*args):
    return run(["xdotool", *map(str, args)]).stdout.split()


# --- Windows and their pixels ------------------------------------------------------------------

def windows_of(pid):
    """The visible top-level windows of a process, largest first."""
    found = []
    for w in xdotool("search", "--onlyvisible", "--pid", pid):
        geometry = dict(line.split("=") for line in
                        run(["xdotool", "getwindowgeometry", "--shell", w]).stdout.split())
        if "WIDTH" in geometry:
            found.append((int(geometry["WIDTH"]) * int(geometry["HEIGHT"]), int(w)))
    return [w for _, w in sorted(found, reverse=True)]


def window_of(process, what):
    def one():
        if process.poll() is not None:
            fail(f"{what}: the program ended with status {process.returncode}")
        found = windows_of(process.pid)
        return found[0] if found else None
    return wait_for(30, f"{what}: no window", one)


def grab(window):
    """(width, height, RGB bytes) of a window's contents, or None while it cannot be read."""
    ppm = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                         capture_output=True).stdout
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
    if not match:
        return None
    width, height = int(match[1]), int(match[2])
    return width, height, ppm[match.end():match.end() + width * height * 3]


def settled(window, before=None, seconds=20):
    """The window's contents once they differ from `before` and two looks in a row agree."""
    previous = [None]

    def steady():
        now = grab(window)
        agreed = now is not None and now != before and now == previous[0]
        previous[0] = now
        return now if agreed else None
    return wait_for(seconds, "the window did not change and settle", steady)


def save(image, path):
    width, height, rgb = image
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", "-size", f"{width}x{height}", "-depth", "8", "rgb:-",
                    "-strip", str(path)], input=rgb, check=True)


def blocks(image):
    """Mean grey of each 8 x 8 block."""
    width, height, rgb = image
    return subprocess.run(["convert", "-size", f"{width}x{height}", "-depth", "8", "rgb:-",
                           "-colorspace", "gray", "-scale", "12.5%", "-depth", "8", "gray:-"],
                          input=rgb, capture_output=True, check=True).stdout


def differing(a, b):
    """The share of blocks that differ; 1 when the sizes do."""
    if a[:2] != b[:2]:
        return 1.0
    ga, gb = blocks(a), blocks(b)
    return sum(abs(x - y) > BLOCK_GREY for x, y in zip(ga, gb)) / len(ga)


def click(window, x, y):
    """A left click at a point given in twips from the client area's top-left corner."""
    xdotool("mousemove", "--window", window, x // 15, y // 15, "click", "1")


# --- The walk ----------------------------------------------------------------------------------

# (screenshot, x, y): the click that leads to it, at a button's centre in twips.
WALK = [
    ("02-menu", 9000, 7000),
    ("03-form18", 2587, 4327),
    ("04-form19", 7747, 7087),
    ("05-form20", 7747, 7087),
    ("06-form21", 7747, 7087),
    ("07-form22", 7747, 7087),
    ("08-form21-back", 6427, 7087),
    ("09-form20-back", 6427, 7087),
    ("10-form19-back", 6427, 7087),
    ("11-form18-back", 6427, 7087),
    ("12-menu-back", 6427, 7087),
    ("13-senses", 2587, 5647),
    ("14-senses-2", 7627, 6967),
    ("15-index", 7507, 6847),
    ("16-illusion-0", 2227, 3787),
    ("17-illusion-0-explained", 1087, 3367),
    ("18-illusion-1", 7507, 6847),
    ("19-illusion-1-explained", 1087, 5287),
    ("20-illusion-2", 7507, 6847),
    ("21-illusion-2-explained", 1087, 5407),
    ("22-illusion-3", 7507, 6847),
    ("23-illusion-3-explained", 1087, 5527),
    ("24-illusion-4", 7507, 6967),
    ("25-illusion-4-explained", 1087, 5527),
    ("26-illusion-5", 7507, 6847),
    ("27-illusion-5-next-step", 5887, 3127),
    ("28-illusion-5-explained", 5887, 3847),
    ("29-illusion-6", 7507, 6847),
    ("30-illusion-6-next-step", 7327, 3607),
    ("31-illusion-6-explained", 7327, 4207),
    ("32-illusion-7", 7507, 6847),
    ("33-illusion-7-explained", 1807, 3967),
    ("34-illusion-8", 7507, 6847),
    ("35-illusion-8-explained", 6487, 2647),
    ("36-illusion-9", 7507, 6847),
    ("37-illusion-9-next-step", 6727, 2647),
    ("38-illusion-9-explained", 6727, 3367),
    ("39-index-again", 2407, 6847),
]
ANIMATION_BEFORE = "33-illusion-7-explained"  # 開始動畫 is pressed on the page before this one
START_ANIMATION = (1807, 3247)


def start_course(program, env, log):
    return subprocess.Popen(program, env=env, stdout=subprocess.DEVNULL, stderr=log,
                            cwd=tempfile.gettempdir())


def walk(program, env, out, animation=None, steps=WALK):
    """Clicks through the course; returns {screenshot: image}. `animation(course)` runs on the
    illusion 7 page."""
    with tempfile.TemporaryFile() as log:
        course = start_course(program, env, log)
        try:
            window = window_of(course, "the course")
            image = settled(window)
            shots = {"01-title": image}
            for name, x, y in steps:
                if name == ANIMATION_BEFORE and animation:
                    animation(course, window)
                click(window, x, y)
                image = settled(window, image)
                shots[name] = image
            for name, image in shots.items():
                save(image, out / f"{name}.png")
            return shots
        finally:
            course.kill()
            course.wait()


def animation_runs_in_its_own_window_until_esc(course, window):
    click(window, *START_ANIMATION)

    def animation_window():
        for w in xdotool("search", "--onlyvisible", "--class", "7optical"):
            pid = run(["xdotool", "getwindowpid", w]).stdout.strip()
            if pid and int(pid) != course.pid:
                return int(w), int(pid)
        return None
    anim, pid = wait_for(30, "開始動畫 brought no window of another program", animation_window)
    wait_for(10, "the animation's window did not take the focus",
             lambda: xdotool("getwindowfocus") == [str(anim)])
    time.sleep(0.5)  # turning
    save(wait_for(10, "the animation's window cannot be read", lambda: grab(anim)),
         SHOTS / "wine" / "animation.png")
    xdotool("key", "Escape")
    wait_for(10, "one Esc did not end the animation", lambda: not os.path.exists(f"/proc/{pid}"))
    if course.poll() is not None:
        fail("the course ended with the animation")
    print(f"  7optical.exe: its own window {anim:#x}, in front, ended by one Esc")


def compare_walks(linux, wine):
    worst = []
    for name in linux:
        share = differing(linux[name], wine[name])
        worst.append((share, name))
        if share > MAX_DIFFERING:
            fail(f"{name}: {share:.1%} of the page differs from the Linux build's "
                 f"(at most {MAX_DIFFERING:.0%}); see {SHOTS}")
    worst.sort(reverse=True)
    print("  pages compared: %d; most different: %s" %
          (len(worst), ", ".join(f"{n} {s:.2%}" for s, n in worst[:3])))


def boxes_are_told_apart(wine_env, menu):
    """Without the shipped fonts the course has no face for its characters under Wine: the menu
    (a heading and a lesson in Chinese) must then fail the comparison."""
    copy = DRIVE_C / "no fonts" / "Lumora"
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(FOLDER, copy)
    shutil.rmtree(copy / "fonts")
    with tempfile.TemporaryFile() as log:
        course = start_course(["wine", str(copy / "lumora.exe")], wine_env, log)
        try:
            window = window_of(course, "the course without fonts")
            title = settled(window)
            click(window, *WALK[0][1:])
            image = settled(window, title)
        finally:
            course.kill()
            course.wait()
    save(image, SHOTS / "wine-without-fonts" / "02-menu.png")
    share = differing(menu, image)
    if share <= MAX_DIFFERING:
        fail(f"the menu without fonts passes as the Linux one ({share:.1%} differs)")
    print(f"  without the shipped fonts the menu differs by {share:.1%}: told apart")


# --- The folder --------------------------------------------------------------------------------

def imports(pe):
    out = run(["x86_64-w64-mingw32-objdump", "-p", str(pe)]).stdout
    return {m.lower() for m in re.findall(r"DLL Name: (\S+)", out)}


def programs_follow_windows_conventions():
    """Both programs are GUI programs (no console window) with the course's icon and a version
    resource naming the product."""
    for program in ("lumora.exe", "7optical.exe"):
        header = run(["x86_64-w64-mingw32-objdump", "-p", str(FOLDER / program)]).stdout
        if not re.search(r"Subsystem\s+00000002", header):
            fail(f"{program} is not a GUI program")
        resources = run(["x86_64-w64-mingw32-windres", "-i", str(FOLDER / program), "-J", "coff",
                         "-O", "rc"]).stdout
        product = re.search(r'VALUE "ProductName", L?"([^"]*)"', resources)
        if "RT_GROUP_ICON" not in resources or not product or "Lumora" not in product[1]:
            fail(f"{program} has no icon or no product name")
    print("  lumora.exe, 7optical.exe: GUI programs with the icon and a version resource")


def folder_holds_what_the_programs_need():
    files = {p.relative_to(FOLDER).as_posix() for p in FOLDER.rglob("*") if p.is_file()}
    pictures = {p.name for p in (HOST / "bin").iterdir() if p.suffix in (".jpg", ".gif")}
    if len(pictures) != 24 * 3:
        fail(f"the Linux build has {len(pictures)} pictures, not 24 at three densities")
    for name in pictures:
        if (FOLDER / name).read_bytes() != (HOST / "bin" / name).read_bytes():
            fail(f"{name} differs from the Linux build's")
    system = {p.name.lower() for p in (DRIVE_C / "windows" / "system32").iterdir()}
    shipped = {f.lower(): f for f in files if f.endswith(".dll")}
    plugins = {f for f in shipped.values() if "/" in f}
    # Every library loaded is shipped or Windows' own (a file of its system folder, or an API set,
    # which Windows' loader resolves itself); every library shipped is loaded.
    needed, queue = set(), ["lumora.exe", "7optical.exe", *plugins]
    while queue:
        for dll in imports(FOLDER / queue.pop()):
            if dll in shipped and dll not in needed:
                needed.add(dll)
                queue.append(shipped[dll])
            elif dll not in shipped and dll not in system and not dll.startswith("api-ms-win-"):
                fail(f"{dll} is loaded but neither shipped nor part of Windows")
    unused = {f for f in shipped.values() if "/" not in f and f.lower() not in needed}
    if unused:
        fail(f"libraries nobody loads: {sorted(unused)}")
    expected_dirs = {"platforms", "imageformats", "styles", "fonts", "translations", "licenses"}
    others = {f for f in files if "/" not in f} - pictures - set(shipped.values()) \
        - {"lumora.exe", "7optical.exe"}
    dirs = {f.split("/")[0] for f in files if "/" in f}
    if others or dirs != expected_dirs:
        fail(f"unexpected in the folder: {sorted(others)} {sorted(dirs ^ expected_dirs)}")
    if "translations/qtbase_zh_TW.qm" not in files:
        fail("the folder lacks Qt's Traditional Chinese translation translations/qtbase_zh_TW.qm")
    print(f"  folder: {len(files)} files; {len(shipped)} libraries and plugins, each loaded")


# --- The failure report ------------------------------------------------------------------------

def message_box_text(complete, seconds=10):
    """The text of the message box in front, copied with Ctrl+C as Windows' own boxes allow.
    Asks for UTF-8 only: while Wine has not yet rendered the copy, xclip's fallback to STRING
    would hand back every Chinese character as '?'. Returns the last copy if it never
    satisfies complete."""
    end, text = time.monotonic() + seconds, ""
    while True:
        xdotool("key", "ctrl+c")
        text = run(["xclip", "-selection", "clipboard", "-t", "UTF8_STRING", "-o"]).stdout
        if complete(text) or time.monotonic() > end:
            return text
        time.sleep(0.2)


def failure_report_names_the_file(wine_env):
    folder_windows = "C:\\課程 資料\\Lumora 副本"
    copy = DRIVE_C / "課程 資料" / "Lumora 副本"
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(FOLDER, copy)
    (copy / "bg5.jpg").unlink()
    with tempfile.TemporaryFile() as log:
        course = start_course(["wine", folder_windows + "\\lumora.exe"], wine_env, log)
        box = window_of(course, "the failure report")
        save(settled(box), SHOTS / "wine" / "failure-report.png")
        xdotool("windowactivate", "--sync", box)
        path = folder_windows + "\\bg5.jpg"
        names_file = lambda text: "找不到圖片檔案" in text and path in text  # noqa: E731
        text = message_box_text(names_file)
        if not names_file(text):
            fail(f"the message box does not say that {path} was not found: {text!r}")
        # The copy ends with the buttons' captions: Qt's own text, in the shipped translation.
        if "確定" not in text or re.search(r"\bOK\b", text):
            fail(f"the message box's button is not captioned 確定: {text!r}")
        xdotool("key", "Return")
        status = course.wait(timeout=20)
        log.seek(0)
        stderr = log.read().decode(errors="replace")
    if status != 1:
        fail(f"status {status} after the failure report, not 1")
    if "bg5.jpg" not in stderr:
        fail(f"standard error does not name the file: {stderr!r}")
    said = next(line for line in text.splitlines() if path in line)
    print(f"  failure report: {said!r}, its button 確定, status 1")


# --- The installer -----------------------------------------------------------------------------

UNINSTALL_KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"
NAME = "Lumora 眼睛與視錯覺"
FULL_SCREEN_NAME = "Lumora 眼睛與視錯覺（全螢幕）"
SCREEN = (1280, 1024)  # run.sh's X session


def shortcut(path):
    """(target, arguments) of a Windows shortcut, from the shell link format ([MS-SHLLINK]): the
    target's local path from its LinkInfo, the arguments from its string data."""
    data = path.read_bytes()
    u16 = lambda at: int.from_bytes(data[at:at + 2], "little")  # noqa: E731
    u32 = lambda at: int.from_bytes(data[at:at + 4], "little")  # noqa: E731
    if u32(0) != 0x4C:
        fail(f"{path.name} is not a shell link")
    flags, at, target = u32(0x14), 0x4C, ""
    if flags & 0x01:  # HasLinkTargetIDList
        at += 2 + u16(at)
    if flags & 0x02:  # HasLinkInfo
        info = at
        if u32(info + 8) & 0x01:  # VolumeIDAndLocalBasePath
            start = info + u32(info + 16)
            target = data[start:data.index(b"\0", start)].decode("latin-1")
        at += u32(info)
    strings = []
    unicode = flags & 0x80
    for flag in (0x04, 0x08, 0x10, 0x20):  # name, relative path, working folder, arguments
        if flags & flag:
            count = u16(at)
            size = count * (2 if unicode else 1)
            raw = data[at + 2:at + 2 + size]
            # Wine counts a closing NUL that Windows leaves out.
            text = raw.decode("utf-16-le" if unicode else "latin-1").rstrip("\0")
            strings.append((flag, text))
            at += 2 + size
    arguments = next((text for flag, text in strings if flag == 0x20), "")
    return target, arguments


def covers_the_screen(window):
    geometry = dict(line.split("=") for line in
                    run(["xdotool", "getwindowgeometry", "--shell", str(window)]).stdout.split())
    return (int(geometry.get("X", -1)), int(geometry.get("Y", -1)), int(geometry.get("WIDTH", 0)),
            int(geometry.get("HEIGHT", 0))) == (0, 0) + SCREEN


def registry(key, wine_env):
    """The values under a key, as regedit exports them; None when there is no such key."""
    with tempfile.TemporaryDirectory() as scratch:
        exported = pathlib.Path(scratch) / "key.reg"
        run(["wine", "regedit", "/E", str(exported), key], env=wine_env)
        if not exported.exists():
            return None
        text = exported.read_bytes().decode("utf-16")
    values = re.findall(r'^"([^"]+)"="((?:[^"\\]|\\.)*)"', text, re.M)
    return {name: re.sub(r"\\(.)", r"\1", value) for name, value in values} or None


def menu_then_exit(course, window, title, what):
    """From the title page shown (its image), a click to the menu and Exit there: status 0."""
    click(window, 9000, 7000)
    settled(window, title)
    click(window, 8827, 6847)  # Exit on the menu
    status = course.wait(timeout=20)
    if status != 0:
        fail(f"{what} ended with status {status} after Exit")


def installer_installs_and_uninstalls(wine_env):
    installer = next(WINDOWS.glob("Lumora-*-win64.exe"))
    target = DRIVE_C / "Program Files" / "Lumora"
    menu = DRIVE_C / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / NAME
    status = subprocess.run(["wine", str(installer), "/S"], env=wine_env).returncode
    if status != 0:
        fail(f"the silent install ended with status {status}")
    wait_for(60, "nothing installed", lambda: (target / "lumora.exe").exists())
    installed = {p.relative_to(target).as_posix() for p in target.rglob("*") if p.is_file()}
    portable = {p.relative_to(FOLDER).as_posix() for p in FOLDER.rglob("*") if p.is_file()}
    if installed != portable | {"Uninstall.exe"}:
        fail(f"installed files differ from the portable folder: {sorted(installed ^ portable)}")
    shortcuts = [p.name for p in menu.glob("*.lnk")]
    if NAME + ".lnk" not in shortcuts or FULL_SCREEN_NAME + ".lnk" not in shortcuts:
        fail(f"not both Start-menu shortcuts in {menu}: {shortcuts}")
    course_exe = "C:\\Program Files\\Lumora\\lumora.exe"
    links = {name: shortcut(menu / (name + ".lnk")) for name in (NAME, FULL_SCREEN_NAME)}
    if links != {NAME: (course_exe, ""), FULL_SCREEN_NAME: (course_exe, "--full-screen")}:
        fail(f"the shortcuts do not start the course as expected: {links}")
    entry = registry(UNINSTALL_KEY, wine_env) or {}
    expected = {"DisplayName": NAME, "DisplayIcon": r"C:\Program Files\Lumora\lumora.exe",
                "UninstallString": r'"C:\Program Files\Lumora\Uninstall.exe"'}
    if any(entry.get(k) != v for k, v in expected.items()):
        fail(f"the uninstall entry is not as expected: {entry}")

    # The course from its installed folder: title, menu, Exit.
    with tempfile.TemporaryFile() as log:
        course = start_course(["wine", course_exe], wine_env, log)
        window = window_of(course, "the installed course")
        menu_then_exit(course, window, settled(window), "the installed course")

    # As the second shortcut starts it: full screen at once; Esc brings the designed window.
    with tempfile.TemporaryFile() as log:
        course = start_course(["wine", *links[FULL_SCREEN_NAME]], wine_env, log)
        window = window_of(course, "the course started full screen")
        wait_for(20, "the course started by the full-screen shortcut does not cover the screen",
                 lambda: covers_the_screen(window))
        full = settled(window)
        save(full, SHOTS / "wine" / "full-screen-shortcut.png")
        xdotool("windowactivate", "--sync", window)
        xdotool("key", "Escape")
        wait_for(20, "Esc did not bring back the designed window",
                 lambda: not covers_the_screen(window))
        menu_then_exit(course, window, settled(window, full), "the course started full screen")

    subprocess.run(["wine", str(target / "Uninstall.exe"), "/S"], env=wine_env)
    # The uninstaller runs on as a copy of itself: wait until it is done.
    wait_for(60, "the uninstall left the folder", lambda: not target.exists())
    wait_for(30, "the uninstall left the shortcut", lambda: not menu.exists())
    if registry(UNINSTALL_KEY, wine_env) is not None:
        fail("the uninstall entry is still there")
    print(f"  installer: {len(installed)} files, two shortcuts (the second with "
          f"{links[FULL_SCREEN_NAME][1]}, full screen {SCREEN[0]}x{SCREEN[1]}) and the uninstall "
          f"entry; started and ended with status 0; uninstalled without a trace")


def main():
    wine_env = dict(os.environ)
    linux_env = {k: v for k, v in os.environ.items() if k != "FONTCONFIG_FILE"}
    linux_env["QT_QPA_PLATFORM"] = "xcb"
    shutil.rmtree(SHOTS, ignore_errors=True)

    folder_holds_what_the_programs_need()
    programs_follow_windows_conventions()
    linux = walk([str(HOST / "bin" / "lumora")], linux_env, SHOTS / "linux")
    wine = walk(["wine", str(FOLDER / "lumora.exe")], wine_env, SHOTS / "wine",
                animation_runs_in_its_own_window_until_esc)
    compare_walks(linux, wine)
    boxes_are_told_apart(wine_env, linux["02-menu"])
    failure_report_names_the_file(wine_env)
    installer_installs_and_uninstalls(wine_env)
    print("PASS")


if __name__ == "__main__":
    main()
