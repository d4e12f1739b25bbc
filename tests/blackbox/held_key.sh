#!/usr/bin/env bash
# One press of Enter or Space is one click, however long the key is held and however busy the
# machine: the real course under Xvfb and openbox, both processors kept busy by two loops, the
# key held down on 下一頁 of Form20 (xdotool keydown, a pause, keyup) for 0.3, 1 and 2 s. The
# course must then be on Form21, exactly one page further: more clicks would take it on to the
# menu (Form21's first button), Form18 and Form19, never back to Form21.
#
#   held_key.sh COURSE_FOLDER
#
# Keys repeat 50 times a second after 0.2 s here, so that every hold brings many repeats. Pages
# are told apart by the window's pixels, the pointer outside it. After each hold the pointer is
# moved onto Form21's 離開 and the test waits for the button's hover look: the course handles
# its input in order, so once that shows, every repeat before it has been handled.
# Exit status 0 passed, 1 failed, 77 skipped (Xvfb, openbox, xdotool or ImageMagick missing).
set -u
bin=${1:?course folder}
for tool in Xvfb openbox xdotool xprop import identify; do
  command -v "$tool" >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done
. "$(dirname "$0")/../support/xsession.sh"

xsession_start 1280x1024 -ardelay 200 -arinterval 20
xsession_wm
log=$xsession_dir/course.log
xsession_spawn course sh -c 'cd "$1" && exec ./lumora' sh "$bin" 2>"$log"
xsession_window w "$course"

# Places in twips from the client area's top-left corner (15 twips a pixel): button centres.
menu_eye=2587,4327 next=7747,7087 back=6427,7087 exit=9067,7087
to() { echo "$((${1%,*} / 15)) $((${1#*,} / 15))"; }
park() { xdotool mousemove 0 0; }  # the screen's corner, outside the centred window
click() { xdotool mousemove --window "$w" $(to "$1") click 1 mousemove 0 0; }
looks() { xsession_look "$w"; }

# Waits for the window to settle on a new look, the same at two reads in a row and other than
# $1 (and painted: more than a hundred colours); prints it.
settled() {
  local a b
  a=$(looks)
  for _ in $(seq 600); do
    sleep 0.05
    b=$(looks)
    if [ "$a" = "$b" ] && [ "$b" != "$1" ] && xsession_painted "$w"; then
      echo "$b"
      return
    fi
    a=$b
  done
  xsession_fail "the window did not settle on another look: $(cat "$log")"
}
is() { [ "$(looks)" = "$1" ]; }

park
title=$(settled none) || exit 1
click 9000,7000; form17=$(settled "$title") || exit 1
click $menu_eye; form18=$(settled "$form17") || exit 1
click $next; form19=$(settled "$form18") || exit 1
click $next; form20=$(settled "$form19") || exit 1
click $next; form21=$(settled "$form20") || exit 1
xdotool mousemove --window "$w" $(to $exit); form21_hover=$(settled "$form21") || exit 1
park && xsession_wait 30 "Form21 did not lose its hover look" is "$form21"
click $back && xsession_wait 30 "Back did not lead to Form20" is "$form20"

# Which page a look is, and how many clicks from Form20 lead there at the fewest (Enter and Space
# press the focused button, the first in keyboard order: 下一頁 on Form20, then 回主目錄 on
# Form21, the eye chapter on the menu, 下一頁 on Form18, 回主目錄 on Form19).
page_of() {
  local page
  for page in form21 form17 form18 form19 form20; do
    [ "$1" = "${!page}" ] && { echo "${page^}"; return 0; }
  done
  return 1
}
clicks_to=([21]=1 [17]=2 [18]=3 [19]=4 [20]=0)
known_page() { page_of "$(looks)" >/dev/null; }
# Back to Form20 by mouse from any page of the chain.
back_to_form20() {
  case $(page_of "$(looks)") in
    Form21) click $back ;;
    Form17) click $menu_eye; xsession_within 30 is "$form18"; click $next
            xsession_within 30 is "$form19"; click $next ;;
    Form18) click $next; xsession_within 30 is "$form19"; click $next ;;
    Form19) click $next ;;
  esac
  xsession_wait 30 "could not return to Form20" is "$form20"
}

# Both processors busy, beside the course and the X server.
for _ in 1 2; do xsession_spawn busy sh -c 'while :; do :; done'; done
failures=0
for key in Return space; do
  for hold in 0.3 1 2; do
    xdotool keydown $key
    sleep $hold
    xdotool keyup $key
    xdotool mousemove --window "$w" $(to $exit)
    if xsession_within 30 is "$form21_hover"; then
      echo "$key held $hold s: 1 click, Form21"
    else
      park
      page=unknown
      xsession_within 10 known_page && page=$(page_of "$(looks)")
      echo "FAIL: $key held $hold s: on $page, ${clicks_to[${page#Form}]:-?} clicks or more"
      failures=$((failures + 1))
    fi
    park
    xsession_within 30 known_page || xsession_fail "the course shows no page of the chain"
    back_to_form20
  done
done
echo "load average during the test: $(cut -d ' ' -f 1-3 /proc/loadavg)"
kill -0 "$course" 2>/dev/null || xsession_fail "the course ended: $(cat "$log")"
echo "$((6 - failures)) passed, $failures failed"
[ $failures -eq 0 ]
