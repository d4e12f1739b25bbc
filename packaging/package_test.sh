#!/usr/bin/env bash
# Checks an installed course the way a computer room gets it.
#
#   package_test.sh COURSE_DIR --deb FILE      unpack the package (dpkg-deb -x) into a scratch root
#   package_test.sh COURSE_DIR --build BUILD   install the build tree there (cmake --install)
#
# COURSE_DIR is the build's course folder (build/bin): the installed folder must hold the same
# files, and the same pictures byte for byte. Then: the link on PATH, the desktop entry, the
# icon, the metainfo, the libraries the installed programs load (and, for a package, its
# Depends), and finally the course itself: started with the desktop entry's command from an
# empty working folder under Xvfb, title page -> menu -> first page of the eye chapter -> Exit.
# Exit status 77 (skipped) when Xvfb or xdotool is missing.
set -u
course=${1:?usage: package_test.sh COURSE_DIR (--deb FILE | --build BUILD)}
mode=${2:-}; src=${3:-}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

root=$(mktemp -d /tmp/lumora-root.XXXXXX)
. "$(dirname "$0")/../tests/support/xsession.sh"
trap 'xsession_cleanup; rm -rf "$root"' EXIT

case $mode in
  --deb) dpkg-deb -x "$src" "$root" || { echo "FAIL: cannot unpack $src"; exit 1; } ;;
  --build) DESTDIR=$root cmake --install "$src" --prefix /usr >/dev/null ||
             { echo "FAIL: cmake --install $src"; exit 1; } ;;
  *) echo "usage: package_test.sh COURSE_DIR (--deb FILE | --build BUILD)"; exit 2 ;;
esac
lib=$root/usr/lib/lumora

# --- the course folder -------------------------------------------------------------------------
want=$(cd "$course" && ls | sort)
have=$(cd "$lib" 2>/dev/null && ls | sort)
if [ "$want" = "$have" ]; then ok "usr/lib/lumora holds the $(echo "$have" | wc -l) files of the course folder"
else fail "usr/lib/lumora differs from $course: $(diff <(echo "$want") <(echo "$have") | grep '^[<>]' | tr '\n' ' ')"; fi
for exe in lumora 7optical.exe; do
  [ -x "$lib/$exe" ] && file -b "$lib/$exe" | grep -q '^ELF' || fail "usr/lib/lumora/$exe is not an executable"
done
for f in "$course"/*.jpg "$course"/*.gif; do
  cmp -s "$f" "$lib/$(basename "$f")" || fail "picture $(basename "$f") differs from the build's"
done

# --- the link on PATH --------------------------------------------------------------------------
link=$root/usr/bin/lumora
if [ ! -L "$link" ]; then fail "usr/bin/lumora is not a symbolic link"
elif [[ $(readlink "$link") == /* ]]; then fail "usr/bin/lumora points to an absolute path: $(readlink "$link")"
elif [ "$(readlink -f "$link")" != "$(readlink -f "$lib/lumora")" ]; then fail "usr/bin/lumora leads to $(readlink -f "$link")"
else ok "usr/bin/lumora -> $(readlink "$link")"; fi

# --- desktop entry, icon, metainfo ---------------------------------------------------------------
# One desktop entry and one metainfo file, named after the same application id.
desktop=$(ls "$root"/usr/share/applications/*.desktop 2>/dev/null)
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml 2>/dev/null)
key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
action() { sed -n "/^\[Desktop Action full-screen\]/,/^\[/ s/^$1=//p" "$desktop" | head -n 1; }
if [ "$(echo "$desktop" | wc -w)" -ne 1 ]; then fail "desktop entries in usr/share/applications: '$desktop'"; desktop=/dev/null; else
  if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$desktop" 2>&1)
    [ -z "$out" ] && ok "desktop-file-validate $(basename "$desktop")" || fail "desktop-file-validate: $out"
  fi
  [ -n "$(key 'Name\[zh_TW\]')" ] && [ -n "$(key Name)" ] || fail "the desktop entry lacks Name or Name[zh_TW]"
  # One main category, under which menus list the course; the others only refine it.
  main=$(key Categories | tr ';' '\n' |
         grep -xE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')
  [ "$main" = Education ] && ok "main category Education" || fail "main categories: '$(echo $main)'"
  [ -n "$(key StartupWMClass)" ] || fail "the desktop entry lacks StartupWMClass"
  # The action a teacher finds beside the entry in the menu (right-click, or the dock's menu).
  if [[ ";$(key Actions)" == *";full-screen;"* ]] && [ "$(action 'Name\[zh_TW\]')" = 以全螢幕開啟 ] &&
    [ "$(action Exec)" = "$(key Exec) --full-screen" ]; then
    ok "desktop action 以全螢幕開啟: $(action Exec)"
  else fail "no desktop action 以全螢幕開啟 running '$(key Exec) --full-screen': '$(key Actions)'"; fi
  icon=$root/usr/share/icons/hicolor/256x256/apps/$(key Icon).png
  if file -b "$icon" 2>/dev/null | grep -q 'PNG image data, 256 x 256, 8-bit/color RGBA'; then ok "icon $(key Icon).png"
  else fail "icon $icon: $(file -b "$icon" 2>&1)"; fi
fi
if [ "$(echo "$metainfo" | wc -w)" -ne 1 ]; then fail "metainfo files in usr/share/metainfo: '$metainfo'"
else
  grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
    fail "$(basename "$metainfo") does not launch $(basename "$desktop")"
  [ "$(basename "$metainfo" .metainfo.xml)" = "$(basename "$desktop" .desktop)" ] ||
    fail "metainfo and desktop entry are named differently"
  if command -v appstreamcli >/dev/null; then
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) && ok "appstreamcli validate --no-net" ||
      fail "appstreamcli validate: $out"
  fi
fi

# --- documents Debian asks for ------------------------------------------------------------------
doc=$root/usr/share/doc/lumora
if head -n 1 "$doc/copyright" 2>/dev/null |
     grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'; then
  licence=$(sed -n 's:.*<project_license>\(.*\)</project_license>.*:\1:p' "$metainfo" 2>/dev/null)
  grep -qx "License: $licence" "$doc/copyright" && ok "copyright, machine-readable, License: $licence" ||
    fail "copyright does not state the metainfo's licence '$licence'"
else fail "usr/share/doc/lumora/copyright is missing or not machine-readable"; fi
gzip -t "$doc/changelog.gz" 2>/dev/null || fail "usr/share/doc/lumora/changelog.gz is missing or damaged"
gzip -t "$root/usr/share/man/man1/lumora.1.gz" 2>/dev/null || fail "no manual page for lumora"
if [ "$mode" = --deb ] && command -v lintian >/dev/null; then
  out=$(lintian --fail-on error,warning "$src" 2>&1) && ok "lintian" || fail "lintian: $out"
fi

# --- one version: the program's, the metainfo's release, the manual page's (and the package's) --
said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$lib/lumora" --version 2>&1)
release=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$metainfo" 2>/dev/null | head -n 1)
manual=$(zcat "$root/usr/share/man/man1/lumora.1.gz" 2>/dev/null | sed -n 's/^\.TH .*"Lumora \([^"]*\)".*/\1/p')
versions="program '$said', metainfo $release, manual page $manual"
[ "$mode" = --deb ] && versions+=", package $(dpkg-deb -f "$src" Version)"
if [ "$said" = "lumora $release" ] && [ "$manual" = "$release" ] &&
  { [ "$mode" != --deb ] || [ "$(dpkg-deb -f "$src" Version)" = "$release" ]; }; then
  ok "one version, $release ($versions)"
else fail "versions differ: $versions"; fi

# --- libraries: all found, giflib not among them (only the picture generator uses it) ----------
for exe in lumora 7optical.exe; do
  libs=$(ldd "$lib/$exe" 2>&1)
  echo "$libs" | grep -q 'not found' && fail "$exe: $(echo "$libs" | grep 'not found' | tr -s ' \n' ' ')"
  echo "$libs" | grep -q 'libgif' && fail "$exe loads giflib"
done
if [ "$mode" = --deb ]; then
  depends=$(dpkg-deb -f "$src" Depends)
  echo "Depends: $depends"
  for p in libqt6core6 libqt6gui6 libqt6widgets6 libxcb1 libwayland-client0 qt6-base-abi qt6-qpa-plugins \
           fonts-arphic-uming fonts-arphic-ukai fonts-liberation2 qt6-translations-l10n; do
    [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p"
  done
  [[ $depends == *libgif* ]] && fail "Depends names giflib"
  twice=$(echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | sort | uniq -d | tr '\n' ' ')
  [ -z "$twice" ] || fail "Depends names more than once: $twice"
fi

# --- the course, started as the desktop entry starts it ------------------------------------------
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "Xvfb or xdotool missing: the course was not started"
  [ $failures -eq 0 ] && exit 77 || exit 1
fi
xsession_start

command=$(key Exec | sed 's/ *%[fFuUdDnNickvm]//g')
work=$root/work; mkdir -p "$work"
# Exec names the program as it is found on PATH; the unpacked usr/bin comes first.
( cd "$work" && PATH=$root/usr/bin:$PATH exec $command ) >"$root/stdout" 2>"$root/stderr" &
app=$!; xsession_pids+=($app)

# The course's visible window, waiting for it up to 30 s; nothing if the course ends first.
window() {
  local w=""
  found() { w=$(xsession_window_of "$app"); [ -n "$w" ] || ! xsession_running "$app"; }
  xsession_within 30 found
  echo "$w"
}
size() { xdotool getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Geometry: //p'; }
click() { xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1; }  # twips
# Clicks, then waits up to 30 s for the window to show another page.
turn() {
  local before; before=$(xsession_look "$1")
  click "$@"
  changed() { [ "$(xsession_look "$1")" != "$before" ]; }
  xsession_within 30 changed "$1"
}

# The window's own icon (the property task bars and switchers read) is the installed icon.
icon_of() {
  local out
  out=$("$(dirname "$0")/../tests/support/window_icon.py" "$1" "$icon" 2>&1) &&
    ok "$2 carries the installed icon: $(echo "$out" | tail -n 1)" || fail "$2's icon: $out"
}

title=$(window)
[ -n "$title" ] && xsession_within 30 xsession_painted "$title"
if [ "$(size "$title")" != "661x508" ]; then
  fail "'$command' showed no title page (window '$title', $(size "$title")): $(cat "$root/stderr")"
else
  ok "'$command' shows the title page ($(size "$title"))"
  # The window names the desktop entry it belongs to and carries the course's own icon.
  class=$(xprop -id "$title" WM_CLASS 2>/dev/null)
  [[ $class == *"\"$(key StartupWMClass)\""* ]] && ok "WM_CLASS matches StartupWMClass" ||
    fail "WM_CLASS is '$class', the desktop entry says StartupWMClass=$(key StartupWMClass)"
  icon_of "$title" "the course's window"
  if ! turn "$title" 9000 7000; then fail "no menu after a click on the title page: $(cat "$root/stderr")"
  else
    ok "the menu follows the title page in the same window"
    turn "$title" 2587 4327  # the eye chapter's picture button
    # The page may be painted a moment before the server has applied the new size.
    eye_size() { [ "$(size "$title")" = "659x506" ]; }
    xsession_within 30 eye_size
    if [ "$(window)" = "$title" ] && [ "$(size "$title")" = "659x506" ]; then
      ok "the eye chapter opens in the same window, at its own size"
    else fail "the eye chapter did not open ($(size "$title")): $(cat "$root/stderr")"; fi
    click "$title" 9067 7087  # Exit
  fi
fi
ended() { ! xsession_running "$app"; }
if ! xsession_within 30 ended; then fail "the course is still running after Exit"
else wait "$app"; status=$?; [ $status -eq 0 ] && ok "Exit ends the course with status 0" ||
  fail "the course ended with status $status: $(cat "$root/stderr")"; fi

# The desktop action, as the menu starts it: the course full screen at once, here on a screen
# with no window manager, where the window itself must cover the screen; Esc, the designed window.
screen=$(xdpyinfo 2>/dev/null | sed -n 's/^ *dimensions: *\([0-9]*x[0-9]*\) pixels.*/\1/p')
full_command=$(action Exec | sed 's/ *%[fFuUdDnNickvm]//g')
( cd "$work" && PATH=$root/usr/bin:$PATH exec $full_command ) >"$root/stdout" 2>"$root/stderr" &
app=$!; xsession_pids+=($app)
shown=$(window)
placed() { xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *-geometry *//p'; }
covers() { [ "$(placed "$shown")" = "$screen+0+0" ]; }
if [ -n "$shown" ] && xsession_within 30 covers; then
  ok "'$full_command' covers the screen ($(placed "$shown")) with no window manager"
  xdotool windowfocus --sync "$shown" key Escape
  designed() { [ "$(size "$shown")" = 661x508 ]; }
  xsession_within 30 designed && ok "Esc brings the designed window ($(placed "$shown"))" ||
    fail "Esc left the window at $(placed "$shown")"
else fail "'$full_command' did not cover the $screen screen: '$(placed "$shown")' $(cat "$root/stderr")"; fi
kill "$app" 2>/dev/null

# The animation program as installed: its window carries the same icon.
( cd "$work" && exec "$lib/7optical.exe" ) >/dev/null 2>&1 &
animation=$!; xsession_pids+=($animation)
app=$animation
shown=$(window)
[ -n "$shown" ] && icon_of "$shown" "the animation's window" || fail "the animation shows no window"
kill "$animation" 2>/dev/null

# On Wayland a window names its desktop entry (its app id); the entry names the icon.
wayland_app_id() {
  "$(dirname "$0")/../tests/support/under_weston.sh" sh -c '
    cd "$1" && shift
    # The trace of the program before must be gone before this one starts: the shell opens the
    # file in the child, which a busy machine may run only after the first look into it.
    rm -f trace
    WAYLAND_DEBUG=1 "$@" 2>trace & p=$!
    seen() { grep -o "set_app_id(\"[^\"]*\")" trace 2>/dev/null | head -n 1; }
    for _ in $(seq 300); do [ -n "$(seen)" ] && break; sleep 0.1; done
    kill $p; wait $p 2>/dev/null
    seen | cut -d "\"" -f 2' sh "$work" "$@"
}
if id=$(wayland_app_id env PATH="$root/usr/bin:$PATH" $command) && [ -n "$id" ]; then
  for program in "$command" "$lib/7optical.exe"; do
    [ "$program" = "$command" ] || id=$(wayland_app_id "$program")
    entry=$root/usr/share/applications/$id.desktop
    named=$(sed -n 's/^Icon=//p' "$entry" 2>/dev/null)
    if [ -n "$named" ] && [ -f "$root/usr/share/icons/hicolor/256x256/apps/$named.png" ]; then
      ok "on Wayland $(basename "$program") names $id, whose entry shows icon $named"
    else fail "on Wayland $(basename "$program") names '$id': no installed entry with an icon"; fi
  done
else
  echo "Wayland not checked: weston or Qt's wayland platform missing, or no app id seen"
fi

[ $failures -eq 0 ] && { echo "all checks passed"; exit 0; }
echo "$failures check(s) failed"; exit 1
