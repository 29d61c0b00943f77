#!/usr/bin/env bash
# Drives the real chart window on a private X server (Xvfb) with X input (xdotool) and checks a
# screenshot (ImageMagick) after every step: one line per step, PASS or FAIL with the numbers seen.
#
#   tests/e2e/window_test.sh build/test/app/dazed
#
# Exit status: 0 when every step passed, 1 when one failed, 77 (skipped) when no X server could be
# started here. Everything it writes goes into its own scratch folder, kept only after a failure.
# Where the chart must be a known view, the window is compared with `dazed render` of that view,
# which draws the same frame but for the info button; the readout's text is compared on its own.
set -euo pipefail

if (($# < 1)); then
  echo "usage: $0 PATH/TO/dazed" >&2
  exit 2
fi
dazed=$1
if [[ ! -x $dazed ]]; then
  echo "window_test: $dazed is not an executable file" >&2
  exit 1
fi

# The X server, the input tool and ImageMagick are Debian packages; scripts/bootstrap installs the
# missing ones (it needs root or sudo for that).
tools=(Xvfb xdotool import convert compare identify od awk)
for tool in "${tools[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    "$(dirname "$0")/../../scripts/bootstrap" xvfb xdotool imagemagick || true
    break
  fi
done
for tool in "${tools[@]:1}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "window_test: $tool is missing; scripts/bootstrap xvfb xdotool imagemagick installs it" >&2
    exit 1
  fi
done

script_name=window_test
# shellcheck source-path=SCRIPTDIR source=../../scripts/lib/private-display.bash
source "$(dirname "$0")/../../scripts/lib/private-display.bash"
# shellcheck source-path=SCRIPTDIR source=polling.bash
source "$(dirname "$0")/polling.bash"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dazed-window-test.XXXXXX")
app_pid=
failures=0

cleanup() {
  local status=$?
  if [[ -n $app_pid ]]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  stop_private_display
  if ((status != 0 && status != 77)); then
    echo "window_test: screenshots and logs kept in $scratch"
  else
    rm -rf "$scratch"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# shellcheck source-path=SCRIPTDIR source=picture_checks.bash
source "$(dirname "$0")/picture_checks.bash"
started=$(now)

# --- the X server ------------------------------------------------------------------------------

skip() {
  echo "SKIP: $*"
  exit 77
}

command -v Xvfb >/dev/null || skip "Xvfb is not installed (scripts/bootstrap xvfb installs it)"
# Xvfb picks a free display number itself, so that parallel runs never share a display; the
# window must be a real X11 window on it, whatever the caller's environment says.
try_private_display "$scratch" 1280x1024x24 || skip "$private_display_error"
xdotool getdisplaygeometry >/dev/null 2>&1 || skip "Xvfb started on $DISPLAY but does not answer"
# A sanitized build looks for leaks at exit, after SDL has unloaded Mesa's GL driver: what the
# driver still held then has no module left to be named by, and would be reported as the app's
# leak. Such a build presents the window with SDL's software renderer instead.
if ldd "$dazed" 2>/dev/null | grep -q libasan; then
  export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
  echo "sanitized build: SDL's software renderer"
fi

# --- helpers -----------------------------------------------------------------------------------

app_alive() { kill -0 "$app_pid" 2>/dev/null; }

# give_up WHAT: ends the test where nothing more can be checked.
give_up() {
  echo "FAIL $1 ($(app_alive && echo "the app runs" || echo "the app has ended"));" \
    "the app said: $(tr '\n' ' ' <"$scratch/app.log")"
  exit 1
}

# xdo ARGS...: xdotool, given a while to do it (a loaded machine may be slow to run it at all).
xdo() { timeout 30 xdotool "$@" || give_up "xdotool $*"; }

# shot NAME: the window's content now, as NAME.ppm. (import waits for ever for a window that has
# gone.)
shot() {
  for _ in 1 2 3 4 5; do
    app_alive || break
    timeout 30 import -window "$wid" "$scratch/$1.ppm" 2>>"$scratch/import.log" && return 0
    sleep 0.2
  done
  give_up "$1: cannot capture the window $wid"
}

# geometry: the window's size as WxH.
geometry() { xdotool getwindowgeometry "$wid" 2>/dev/null | awk '/Geometry:/ { print $2 }'; }

# Rectangles to leave out when comparing with `dazed render`: the info button, which it does not
# draw, and the readout panel ((260 + w / 8) x (16 + w / 32) points).
portrait_mask=("265,405 314,454" "0,0 299,25")
landscape_mask=("425,245 474,294" "0,0 319,30")

# wait_for_info NAME W: polls until the page is up and still (the flip takes a second). When it
# is not up in time, NAME is what the window shows then.
page_up() {
  settle "$1" 10 || return 1
  count "$1" "${2}x1+0+3"
  ((grey >= total * 9 / 10))
}
wait_for_info() { poll_until 30 page_up "$1" "$2" || true; }

# wait_for_size WxH: polls until the window has that size (30 s).
size_is() { [[ $(geometry) == "$1" ]]; }
wait_for_size() { poll_until 30 size_is "$1" || true; }

# start_app ARGS...: starts dazed with ARGS, sets app_pid and watched_pids, and waits until its
# 320 x 480 window named Dazed... is mapped (60 s; sets wid, empty when it is not).
window_mapped() {
  app_alive || return 0 # nothing more will come
  wid=$(xdotool search --name Dazed 2>/dev/null | head -n 1 || true)
  [[ -n $wid && $(xdotool getwindowname "$wid" 2>/dev/null) == Dazed* && $(geometry) == 320x480 ]] && return 0
  wid=
  return 1
}
start_app() {
  "$dazed" "$@" >>"$scratch/app.log" 2>&1 &
  app_pid=$!
  watched_pids=("$app_pid" "$xvfb_pid")
  wid=
  poll_until 60 window_mapped || true
  app_alive || wid=
}

# quit_app: Ctrl+Q, then waits for the app to end (30 s); sets status to its exit status, or
# "timeout".
quit_app() {
  xdo key ctrl+q
  status=timeout
  if wait_gone 30 "$app_pid"; then
    status=0
    wait "$app_pid" || status=$?
    app_pid=
  fi
}

# --- the steps ---------------------------------------------------------------------------------

# --quit-after only ends an app the test could not end itself; the steps take far less on a loaded
# machine, and the test's own time limit (ctest's) is longer.
: >"$scratch/app.log"
start_app --quit-after 870
if [[ -z $wid ]]; then
  echo "FAIL start: no 320x480 window named Dazed... on $DISPLAY after $(elapsed "$started") s;" \
    "the app said: $(tr '\n' ' ' <"$scratch/app.log")"
  exit 1
fi
echo "window $wid on $DISPLAY after $(elapsed "$started") s"
settle start 30 || true
count start "320x480+0+0"
need "blue px=$blue" "blue >= 1000"
sky_checks start 320 480
reference ref-start
d=$(differ start ref-start "" 0 "${portrait_mask[@]}")
need "$d px differ from render (17 h, +31)" "d <= 20"
d=$(readout_differs start ref-start)
need "readout as render's but at $d px" "d == 0"
done_step start

# Keys go to the focused window; without a window manager, focus it by hand.
focus_window() {
  timeout 30 xdotool windowfocus --sync "$wid" 2>/dev/null ||
    timeout 30 xdotool windowactivate --sync "$wid" 2>/dev/null || true
  focused=$(xdotool getwindowfocus 2>/dev/null || echo none)
  [[ $focused == "$wid" ]]
}
poll_until 30 focus_window || true
need "keyboard focus on the window ($focused)" "$([[ $focused == "$wid" ]] && echo 1 || echo 0)"
done_step focus

# A drag of 100 points to the right: +1 h of right ascension.
xdo mousemove --window "$wid" 60 300 mousedown 1
for x in 70 80 90 100 110 120 130 140 150 160; do
  xdo mousemove --window "$wid" "$x" 300
  sleep 0.03
done
xdo mouseup 1
change_from start drag
reference ref-drag --ra 18
d=$(readout_differs start drag)
need "readout changed at $d px" "d >= 10"
d=$(readout_differs drag ref-drag)
need "readout as render's (18 h, +31) but at $d px" "d == 0"
d=$(like_render drag ref-drag "${portrait_mask[@]}")
need "$d px differ from render" "d <= 20"
sky_checks drag 320 480
done_step drag

# A double click: star names too; the view stays where it is.
xdo mousemove --window "$wid" 200 150 click --repeat 2 --delay 80 1
change_from drag labels
count drag "320x480+0+0"
before=$blue
count labels "320x480+0+0"
need "blue px $before -> $blue" "blue >= before + 300"
d=$(readout_differs drag labels)
need "readout kept (differs at $d px)" "d == 0"
reference ref-labels --ra 18 --labels 1
d=$(like_render labels ref-labels "${portrait_mask[@]}")
need "$d px differ from render (labels 1)" "d <= 20"
done_step double-click

# Arrow keys: Left looks left (+0.24 h at zoom 1); Up and then Down come back.
xdo key Left
change_from labels left
d=$(readout_differs labels left)
need "Left: readout changed at $d px" "d >= 10"
reference ref-left --ra 18.24 --labels 1
d=$(like_render left ref-left "${portrait_mask[@]}")
need "Left: $d px differ from render (18.24 h)" "d <= 20"
xdo key Up
change_from left up
d=$(readout_differs left up)
need "Up: readout changed at $d px" "d >= 10"
xdo key Down
change_from up down
d=$(differ left down)
need "Down: $d px differ from the Left view" "d == 0"
sky_checks down 320 480
done_step arrow-keys

# Alt+drag pinches about the screen centre: moving away from it zooms in, the centre stays.
xdo mousemove --window "$wid" 200 300 keydown alt mousedown 1
for p in "205 307" "210 315" "215 322" "220 330" "225 337" "230 345" "235 352" "240 360"; do
  # shellcheck disable=SC2086 # two coordinates
  xdo mousemove --window "$wid" $p
  sleep 0.03
done
xdo mouseup 1 keyup alt
change_from down pinch
d=$(differ down pinch "" 0 "${portrait_mask[@]}")
need "chart changed at $d px" "d >= 2000"
d=$(readout_differs down pinch)
need "readout kept (differs at $d px)" "d == 0"
sky_checks pinch 320 480
done_step alt-drag

# Alt+click over the readout: the mirrored finger lands on the info button, at (290, 430), and
# must not press it. Nothing changes: no flip, no zoom, the button not left highlighted.
xdo mousemove --window "$wid" 30 50 keydown alt mousedown 1
xdo mouseup 1 keyup alt
settle alt-click || true
d=$(differ pinch alt-click)
need "no flip: $d px differ from the chart before" "d == 0"
sky_checks alt-click 320 480
done_step alt-click

# The wheel zooms: two notches out, over the centre.
xdo mousemove --window "$wid" 160 240 click 5 click 5
change_from pinch wheel
d=$(differ pinch wheel "" 0 "${portrait_mask[@]}")
need "chart changed at $d px" "d >= 2000"
d=$(readout_differs pinch wheel)
need "readout kept (differs at $d px)" "d == 0"
sky_checks wheel 320 480
done_step wheel

# minus zooms out down to 0.9 and stops there; plus zooms in again.
for _ in $(seq 15); do xdo key minus; done
change_from wheel minus
reference ref-minus --ra 18.24 --labels 1 --zoom 0.9
d=$(like_render minus ref-minus "${portrait_mask[@]}")
need "minus x15: $d px differ from render (zoom 0.9)" "d <= 20"
xdo key plus
change_from minus plus
d=$(differ minus plus "" 0 "${portrait_mask[@]}")
need "plus: chart changed at $d px" "d >= 2000"
xdo key minus
change_from plus minus-again
d=$(differ minus minus-again)
need "minus: $d px differ from zoom 0.9" "d == 0"
done_step plus-minus

# l advances the label mode: 2 (no lines, no names), then 0 again.
xdo key l
change_from minus-again mode2
count mode2 "320x480+0+0"
need "mode 2: blue px=$blue" "blue <= 20"
reference ref-mode2 --ra 18.24 --labels 2 --zoom 0.9
d=$(like_render mode2 ref-mode2 "${portrait_mask[@]}")
need "$d px differ from render (labels 2)" "d <= 20"
xdo key l
change_from mode2 mode0
count mode0 "320x480+0+0"
need "mode 0: blue px=$blue" "blue >= 1000"
reference ref-mode0 --ra 18.24 --zoom 0.9
d=$(like_render mode0 ref-mode0 "${portrait_mask[@]}")
need "$d px differ from render (labels 0)" "d <= 20"
done_step l-key

# The info button flips to the information page.
t0=$(now)
xdo mousemove --window "$wid" 290 430 click 1
wait_for_info info 320
need "still after $(elapsed "$t0") s" "1"
info_checks info 320
done_step info-button

# Done flips back to the same chart.
t0=$(now)
xdo mousemove --window "$wid" 288 21 click 1
change_from info back
d=$(differ mode0 back)
need "still after $(elapsed "$t0") s, $d px differ from the chart before" "d == 0"
count back "320x480+0+0"
need "blue px=$blue" "blue >= 1000"
sky_checks back 320 480
done_step done-button

# i shows the page, Escape leaves it.
xdo key i
wait_for_info key-info 320
info_checks key-info 320
xdo key Escape
change_from key-info key-back
d=$(differ mode0 key-back)
need "Escape: $d px differ from the chart before" "d == 0"
done_step i-escape

# Left alone after drags and flips, the app waits for input without using the processor: no
# redraws and no polling. One clock tick is allowed for a stray event from the X server; an app
# that polled or redrew at the display's rate would use many.
cpu_ticks() {
  local stat fields
  stat=$(<"/proc/$app_pid/stat")
  read -r -a fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12]))
}
idle_before=$(cpu_ticks)
sleep 3
idle_ticks=$(($(cpu_ticks) - idle_before))
need "CPU in 3 s left alone: $idle_ticks ticks of $(getconf CLK_TCK) a second" "idle_ticks <= 1"
done_step idle

# Ctrl+Right turns the device: the window turns to 480 x 320 and the chart follows.
xdo key ctrl+Right
wait_for_size 480x320
size=$(geometry)
need "window $size" "$([[ $size == 480x320 ]] && echo 1 || echo 0)"
settle landscape || true
count landscape "480x320+0+0"
need "blue px=$blue" "blue >= 1000"
sky_checks landscape 480 320
reference ref-landscape --orientation landscape --ra 18.24 --zoom 0.9
d=$(like_render landscape ref-landscape "${landscape_mask[@]}")
need "$d px differ from render (landscape)" "d <= 20"
done_step ctrl-right

# Alt+click opposite the landscape info button, at (450, 270): again no flip.
xdo mousemove --window "$wid" 30 50 keydown alt mousedown 1
xdo mouseup 1 keyup alt
settle landscape-alt-click || true
d=$(differ landscape landscape-alt-click)
need "no flip: $d px differ from the chart before" "d == 0"
done_step landscape-alt-click

# The info button at its landscape place, and Done at the end of the wider bar.
t0=$(now)
xdo mousemove --window "$wid" 450 270 click 1
wait_for_info landscape-info 480
need "still after $(elapsed "$t0") s" "1"
info_checks landscape-info 480
xdo mousemove --window "$wid" 448 21 click 1
change_from landscape-info landscape-back
d=$(differ landscape landscape-back)
need "Done: $d px differ from the chart before" "d == 0"
sky_checks landscape-back 480 320
done_step landscape-info

# A window shrunk to one pixel (and a click into it) keeps the app running; grown back, it shows the
# same chart.
xdo windowsize "$wid" 1 1
wait_for_size 1x1
xdo mousemove --window "$wid" 0 0 click 1
wait_quiet 30 "${watched_pids[@]}" || true
need "alive at $(geometry)" "$(app_alive && echo 1 || echo 0)"
xdo windowsize "$wid" 480 320
wait_for_size 480x320
settle regrown || true
d=$(differ landscape-back regrown)
need "grown back: $d px differ from the chart before" "d == 0"
done_step shrink-to-one-pixel

# Ctrl+Q quits at once, cleanly.
quit_app
need "app exit status $status" "$([[ $status == 0 ]] && echo 1 || echo 0)"
done_step ctrl-q

# The sky of a place at a fixed time (no clock to follow): the window draws what `dazed render`
# draws with the same options; ] moves it an hour on, T takes the layer away. The readout panel and
# the place's line under it are left out of the comparison.
sky_place=(--place 48.85,2.35 --time 2026-12-12T17:45:00+01:00 --at Sgr)
start_app --quit-after 300 "${sky_place[@]}"
if [[ -z $wid ]]; then
  need "a window with --place" "0"
else
  xdo windowfocus "$wid" 2>/dev/null || true
  place_mask=("265,405 314,454" "0,0 299,45")
  settle place 30 || true
  reference ref-place "${sky_place[@]}"
  d=$(like_render place ref-place "${place_mask[@]}")
  need "$d px differ from render (--place)" "d <= 20"
  xdo key --window "$wid" bracketright
  change_from place place-later
  reference ref-place-later --place 48.85,2.35 --time 2026-12-12T18:45:00+01:00 --at Sgr
  d=$(like_render place-later ref-place-later "${place_mask[@]}")
  need "] : $d px differ from render an hour later" "d <= 20"
  xdo key --window "$wid" t
  change_from place-later place-off
  reference ref-place-off --at Sgr
  d=$(like_render place-off ref-place-off "${portrait_mask[@]}")
  need "T: $d px differ from render without a place" "d <= 20"
  quit_app
  need "app exit status $status" "$([[ $status == 0 ]] && echo 1 || echo 0)"
fi
done_step place

if [[ -s $scratch/app.log ]]; then
  echo "the app said:"
  sed 's/^/  /' "$scratch/app.log"
fi
echo "window_test: $failures failed step(s) in $(elapsed "$started") s"
((failures == 0))
