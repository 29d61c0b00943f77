#!/usr/bin/env bash
# Drives the real chart window on Wayland: a compositor of the test's own (weston with its X11
# backend, in a 320 x 480 output on a private Xvfb, its kiosk shell filling the output with the
# window), mouse input through weston's X window (xdotool) and touch through a proxy between the
# app and the compositor (wayland_touch_proxy.py), which gives the seat touch and sends wl_touch
# events on the app's touch object. Screenshots are of weston's output window; after each step
# one line, PASS or FAIL with the numbers seen.
#
#   tests/e2e/wayland_test.sh build/dev/app/dazed
#
# It also checks the choice of SDL's video driver: with both WAYLAND_DISPLAY and DISPLAY set the
# window goes to the compositor, not to the X server, and a compositor without a seat (weston's
# headless backend) sends it to X11, or is refused in one line where there is no X server.
#
# Exit status: 0 when every step passed, 1 when one failed, 77 (skipped) when no compositor could
# be started here. Everything it writes goes into its own scratch folder, kept only after a failure.
set -euo pipefail

if (($# < 1)); then
  echo "usage: $0 PATH/TO/dazed" >&2
  exit 2
fi
dazed=$1
here=$(cd "$(dirname "$0")" && pwd)
if [[ ! -x $dazed ]]; then
  echo "wayland_test: $dazed is not an executable file" >&2
  exit 1
fi

skip() {
  echo "SKIP: $*"
  exit 77
}
# The compositor, the X server, the input tool and ImageMagick are Debian packages;
# scripts/bootstrap installs the missing ones (it needs root or sudo for that).
tools=(weston Xvfb xdotool import convert compare identify od awk /usr/bin/python3)
for tool in "${tools[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    "$here/../../scripts/bootstrap" weston xvfb xdotool imagemagick || true
    break
  fi
done
command -v weston >/dev/null || skip "weston is not installed (scripts/bootstrap weston installs it)"
for tool in "${tools[@]:1}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "wayland_test: $tool is missing; scripts/bootstrap xvfb xdotool imagemagick installs it" >&2
    exit 1
  fi
done

script_name=wayland_test
# shellcheck source-path=SCRIPTDIR source=../../scripts/lib/private-display.bash
source "$here/../../scripts/lib/private-display.bash"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dazed-wayland-test.XXXXXX")
app_pid='' weston_pid='' headless_pid='' proxy_pid=''
failures=0

stop() {
  local pid
  for pid in "$@"; do
    [[ -n $pid ]] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
cleanup() {
  local status=$?
  stop "$app_pid" "$proxy_pid" "$headless_pid" "$weston_pid"
  stop_private_display
  if ((status != 0 && status != 77)); then
    echo "wayland_test: screenshots and logs kept in $scratch"
  else
    rm -rf "$scratch"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# shellcheck source-path=SCRIPTDIR source=picture_checks.bash
source "$here/picture_checks.bash"
# past START SECONDS: whether that many seconds have gone since START.
past() { awk -v s="$1" -v t="$(now)" -v l="$2" 'BEGIN { exit !(t - s > l) }'; }
started=$(now)

# --- the compositor ----------------------------------------------------------------------------

try_private_display "$scratch" 1280x1024x24 || skip "$private_display_error"
# The compositor's sockets go in a runtime folder of the test's own.
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# start_weston NAME ARGS...: a weston on the socket NAME; sets started_pid, or fails when its
# socket does not appear in 20 s.
start_weston() {
  local name=$1 start
  shift
  weston --socket="$name" --no-config --idle-time=0 --log="$scratch/$name.log" "$@" >/dev/null 2>&1 &
  started_pid=$!
  start=$(now)
  until [[ -S $XDG_RUNTIME_DIR/$name ]]; do
    kill -0 "$started_pid" 2>/dev/null && ! past "$start" 20 || return 1
    sleep 0.05
  done
}

# The output is the phone's screen, and the kiosk shell makes the window fill it; --idle-time=0
# keeps the output from blanking. Weston's X11 backend shows its output in an X window, which holds
# exactly what it composited (its pixman renderer draws in memory and puts the image there), so
# screenshots are taken of that window rather than through weston's own screenshot protocol.
start_weston dazed-wayland --backend=x11-backend.so --use-pixman --width=320 --height=480 \
  --shell=kiosk-shell.so ||
  skip "weston could not start on Xvfb: $(tail -n 3 "$scratch/dazed-wayland.log" | tr '\n' ' ')"
weston_pid=$started_pid
output=
for _ in $(seq 200); do
  output=$(xdotool search --classname '^weston' 2>/dev/null | head -n 1 || true)
  [[ -n $output ]] && break
  sleep 0.05
done
[[ -n $output ]] || skip "weston started but shows no output window on $DISPLAY"
echo "weston on $DISPLAY, output window $output, after $(elapsed "$started") s"
# A sanitized build looks for leaks at exit. On Wayland, SDL 2.26 has no window pixels of its own
# and shows frames through a GL renderer, and its Wayland driver, libdecor and Mesa's EGL leave
# allocations behind at exit, partly in modules already unloaded, so that no suppression can name
# them. Here the app runs with the address and undefined-behaviour checks but without the leak
# check, which the X11 window test and the unit tests make.
# (clang links the sanitizer runtime into the program, GCC as a library.)
if ldd "$dazed" 2>/dev/null | grep -q libasan || grep -qa __asan_init "$dazed"; then
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  echo "sanitized build: no leak check at exit (SDL's Wayland driver, libdecor and Mesa leave memory)"
fi

# --- helpers -----------------------------------------------------------------------------------

app_alive() { [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; }
give_up() {
  echo "FAIL $1 ($(app_alive && echo "the app runs" || echo "the app has ended"));" \
    "the app said: $(tr '\n' ' ' <"$scratch/app.log" 2>/dev/null)"
  exit 1
}
xdo() { timeout 10 xdotool "$@" || give_up "xdotool $*"; }
# The pointer is drawn into weston's output: it waits in the bottom right corner, its arrow off
# the output but for a pixel or two.
park() { xdo mousemove --window "$output" 319 479; }

# shot NAME: weston's output now, as NAME.ppm.
shot() {
  for _ in 1 2 3 4 5; do
    timeout 10 import -window "$output" "$scratch/$1.ppm" 2>>"$scratch/import.log" && return 0
    sleep 0.2
  done
  give_up "$1: cannot capture weston's output window $output"
}
# settle NAME [SECONDS]: waits until two screenshots a moment apart are the same, kept as NAME.
settle() {
  local limit=${2:-20} start
  start=$(now)
  shot "$1"
  while :; do
    sleep 0.3
    shot "$1-next"
    same "$1" "$1-next" && return 0
    mv "$scratch/$1-next.ppm" "$scratch/$1.ppm"
    past "$start" "$limit" && return 1
  done
}
# change_from PREVIOUS NAME [SECONDS]: waits until the output differs from PREVIOUS, then until
# it is still, and keeps it as NAME.
change_from() {
  local limit=${3:-20} start
  start=$(now)
  while :; do
    shot "$2"
    same "$1" "$2" || break
    past "$start" "$limit" && return 0
    sleep 0.2
  done
  settle "$2" "$limit" || true
}
mask=("265,405 314,454" "0,0 299,25")
# wait_for_info NAME: polls until the page is up and still (the flip takes a second).
wait_for_info() {
  local start
  start=$(now)
  while :; do
    if settle "$1" 10; then
      count "$1" "320x1+0+3"
      ((grey >= total * 9 / 10)) && return 0
    fi
    past "$start" 20 && return 0
    sleep 0.2
  done
}
# wait_for_sky PREVIOUS NAME: polls until the chart shows (a readout) and is still; PREVIOUS is
# what the output showed before, or - for nothing.
wait_for_sky() {
  local start
  start=$(now)
  while :; do
    if [[ $1 == - ]]; then shot "$2"; else change_from "$1" "$2" 10; fi
    count "$2" "300x26+0+0"
    ((red >= 300)) && settle "$2" 10 && return 0
    past "$start" 20 && return 0
  done
}

# touch LINE: touch events through the proxy (see wayland_touch_proxy.py), one frame.
touch() { echo "$*" >"$scratch/touch.fifo"; }
# wait_for_log FILE TEXT [SECONDS]: whether a line of FILE holds TEXT within the time.
wait_for_log() {
  local start
  start=$(now)
  until grep -q -- "$2" "$1" 2>/dev/null; do
    past "$start" "${3:-20}" && return 1
    sleep 0.05
  done
}

# --- a compositor without a seat ---------------------------------------------------------------

if start_weston headless --backend=headless-backend.so; then
  headless_pid=$started_pid
  # With an X server beside it, the window goes there.
  WAYLAND_DISPLAY=headless "$dazed" --quit-after 60 >"$scratch/headless-x11.log" 2>&1 &
  app_pid=$!
  if wait_for_window "$app_pid"; then
    need "X11 window $wid on $DISPLAY" "1"
  else
    need "an X11 window ($(tr '\n' ' ' <"$scratch/headless-x11.log"))" "0"
  fi
  stop "$app_pid"
  app_pid=
  # Without one, one line and exit status 1.
  set +e
  WAYLAND_DISPLAY=headless DISPLAY='' timeout 30 "$dazed" >"$scratch/headless.log" 2>&1
  status=$?
  set -e
  need "alone: exit status $status" "status == 1"
  need "alone: $(wc -l <"$scratch/headless.log") line: $(cat "$scratch/headless.log")" \
    "$(wc -l <"$scratch/headless.log") == 1"
  grep -q "offers no seat" "$scratch/headless.log" || need "the line says the compositor offers no seat" "0"
  stop "$headless_pid"
  headless_pid=
else
  notes+=("weston's headless backend did not start: not tried")
fi
done_step seatless-compositor

# --- the window on Wayland ---------------------------------------------------------------------

"$here/wayland_touch_proxy.py" "$scratch/proxy.sock" "$XDG_RUNTIME_DIR/dazed-wayland" "$scratch/touch.fifo" \
  >"$scratch/proxy.log" 2>&1 &
proxy_pid=$!
wait_for_log "$scratch/proxy.log" "listening" || give_up "the touch proxy did not start: $(cat "$scratch/proxy.log")"

# Both displays are set, as in a phone's session; SDL_VIDEODRIVER is not.
WAYLAND_DISPLAY=$scratch/proxy.sock "$dazed" --quit-after 120 >"$scratch/app.log" 2>&1 &
app_pid=$!
wait_for_log "$scratch/proxy.log" "touch ready" 30 ||
  give_up "start: the app did not reach the compositor with a touch object in 30 s: $(tr '\n' ' ' <"$scratch/proxy.log")"
park
wait_for_sky - start
x11=$(xdotool search --name Dazed 2>/dev/null | head -n 1 || true)
need "native: no X11 window${x11:+ (but $x11)}" "$([[ -z $x11 ]] && echo 1 || echo 0)"
count start "320x480+0+0"
need "blue px=$blue" "blue >= 1000"
sky_checks start
reference ref-start
d=$(differ start ref-start "" 0 "${mask[@]}")
need "$d px differ from render (17 h, +31)" "d <= 20"
d=$(readout_differs start ref-start)
need "readout as render's but at $d px" "d == 0"
done_step start

# --- the mouse, through weston's X window ------------------------------------------------------

# A drag of 100 points to the right: +1 h of right ascension.
xdo mousemove --window "$output" 60 300 mousedown 1
for x in 70 80 90 100 110 120 130 140 150 160; do
  xdo mousemove --window "$output" "$x" 300
  sleep 0.03
done
xdo mouseup 1
park
change_from start drag
reference ref-drag --ra 18
d=$(readout_differs drag ref-drag)
need "readout as render's (18 h, +31) but at $d px" "d == 0"
d=$(like_render drag ref-drag "${mask[@]}")
need "$d px differ from render" "d <= 20"
done_step drag

xdo mousemove --window "$output" 200 150 click --repeat 2 --delay 80 1
park
change_from drag labels
reference ref-labels --ra 18 --labels 1
d=$(like_render labels ref-labels "${mask[@]}")
need "$d px differ from render (labels 1)" "d <= 20"
d=$(readout_differs drag labels)
need "readout kept (differs at $d px)" "d == 0"
done_step double-click

xdo mousemove --window "$output" 290 430 click 1
park
wait_for_info info
info_checks info
done_step info-button

xdo mousemove --window "$output" 288 21 click 1
park
wait_for_sky info back
d=$(differ labels back)
need "$d px differ from the chart before" "d == 0"
done_step done-button

# --- touch, through the proxy ------------------------------------------------------------------

# One finger dragged 100 points to the right: +1 h.
touch "down 0 60 300"
for x in 70 80 90 100 110 120 130 140 150 160; do
  touch "move 0 $x 300"
  sleep 0.03
done
touch "up 0"
change_from back touch-drag
reference ref-touch-drag --ra 19 --labels 1
d=$(readout_differs touch-drag ref-touch-drag)
need "readout as render's (19 h, +31) but at $d px" "d == 0"
d=$(like_render touch-drag ref-touch-drag "${mask[@]}")
need "$d px differ from render" "d <= 20"
done_step touch-drag

# Two fingers 100 points apart; the second moves away 10 points a step. Each move adds the
# stretch over the pinch's first separation, divided by 2000 on a phone, to the zoom: after
# 110, 120, ... 160 points, 1 + (10 + 20 + ... + 60) / 2000.
touch "down 0 100 240"
touch "down 1 200 240"
zoom=1
for x in 210 220 230 240 250 260; do
  touch "move 1 $x 240"
  zoom=$(awk -v z="$zoom" -v d=$((x - 100)) 'BEGIN { printf "%.17g", z - (100 - d) / 2000 }')
  sleep 0.03
done
touch "up 1"
touch "up 0"
change_from touch-drag pinch
reference ref-pinch --ra 19 --labels 1 --zoom "$zoom"
d=$(like_render pinch ref-pinch "${mask[@]}")
need "$d px differ from render (zoom $zoom)" "d <= 20"
d=$(readout_differs touch-drag pinch)
need "readout kept (differs at $d px)" "d == 0"
sky_checks pinch
done_step touch-pinch

# Two taps: the next label mode, neither lines nor names. Each tap is one frame, and the second
# follows at once, well inside the double tap's interval however busy the machine is.
touch "down 0 200 150; up 0"
touch "down 0 200 150; up 0"
change_from pinch touch-labels
reference ref-touch-labels --ra 19 --labels 2 --zoom "$zoom"
d=$(like_render touch-labels ref-touch-labels "${mask[@]}")
need "$d px differ from render (labels 2)" "d <= 20"
count touch-labels "320x480+0+0"
need "blue px=$blue" "blue <= 20"
done_step double-tap

touch "down 0 290 430"
touch "up 0"
wait_for_info touch-info
info_checks touch-info
done_step tap-info

touch "down 0 288 21"
touch "up 0"
wait_for_sky touch-info touch-back
d=$(differ touch-labels touch-back)
need "$d px differ from the chart before" "d == 0"
done_step tap-done

# Left alone, the app sleeps in its wait for the compositor's events: one clock tick at most in
# 3 s, where polling or redrawing at the display's rate would take many.
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

# Ctrl+Q, through weston's keyboard, quits at once, cleanly.
xdo key --window "$output" ctrl+q
status=timeout
start=$(now)
while ! past "$start" 15; do
  if ! app_alive; then
    status=0
    wait "$app_pid" || status=$?
    app_pid=
    break
  fi
  sleep 0.1
done
need "app exit status $status" "$([[ $status == 0 ]] && echo 1 || echo 0)"
done_step ctrl-q

echo "wayland_test: $failures failed step(s) in $(elapsed "$started") s"
((failures == 0))
