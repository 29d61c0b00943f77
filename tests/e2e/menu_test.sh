#!/usr/bin/env bash
# The long-press menu and Find… in the real chart window, on a private X server (Xvfb) with X input
# (xdotool) and screenshots (ImageMagick): one line per step, PASS or FAIL with what was seen.
#
#   tests/e2e/menu_test.sh build/dev/app/dazed
#
# 1. The left button held still on the sky opens the menu (and moves nothing); released, it stays.
# 2. Escape closes it, and the chart is as before.
# 3. A second hold, then a click on Find…, shows the list of names.
# 4. Typing "betelgeuse" and Return centres the chart as `dazed render --at Betelgeuse` does.
# 5. Left alone with the menu open, the app uses no processor time.
# 6. With no place known and no system bus, Tonight here brings the menu back with a note, and the
#    answer (no place, and why) reaches the window without any further input.
#
# Exit status: 0 when every step passed, 1 when one failed, 77 (skipped) when no X server could be
# started here. Everything it writes goes into its own scratch folder, kept only after a failure.
set -euo pipefail

if (($# < 1)); then
  echo "usage: $0 PATH/TO/dazed" >&2
  exit 2
fi
dazed=$1
if [[ ! -x $dazed ]]; then
  echo "menu_test: $dazed is not an executable file" >&2
  exit 1
fi
for tool in Xvfb xdotool import convert compare od awk; do
  command -v "$tool" >/dev/null || {
    echo "SKIP: $tool is missing (scripts/bootstrap xvfb xdotool imagemagick installs it)"
    exit 77
  }
done

script_name=menu_test
# shellcheck source-path=SCRIPTDIR source=../../scripts/lib/private-display.bash
source "$(dirname "$0")/../../scripts/lib/private-display.bash"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dazed-menu-test.XXXXXX")
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
    echo "menu_test: screenshots and logs kept in $scratch"
  else
    rm -rf "$scratch"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

try_private_display "$scratch" 1280x1024x24 || {
  echo "SKIP: $private_display_error"
  exit 77
}
if ldd "$dazed" 2>/dev/null | grep -q libasan; then
  export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
fi

now() { date +%s.%N; }
before() { awk -v s="$1" -v t="$(now)" -v l="$2" 'BEGIN { exit !(t - s <= l) }'; }

notes=()
step_ok=1
need() {
  if (($2)); then notes+=("$1"); else
    notes+=("NOT $1")
    step_ok=0
  fi
}
done_step() {
  local text
  text=$(printf '%s; ' "${notes[@]}")
  text=${text%; }
  if ((step_ok)); then echo "PASS $1: $text"; else
    echo "FAIL $1: $text"
    failures=$((failures + 1))
  fi
  notes=()
  step_ok=1
}
app_alive() { kill -0 "$app_pid" 2>/dev/null; }
give_up() {
  echo "FAIL $1; the app said: $(tr '\n' ' ' <"$scratch/app.log")"
  exit 1
}
xdo() { timeout 10 xdotool "$@" || give_up "xdotool $*"; }
shot() {
  for _ in 1 2 3 4 5; do
    app_alive || break
    timeout 10 import -window "$wid" "$scratch/$1.ppm" 2>>"$scratch/import.log" && return 0
    sleep 0.2
  done
  give_up "$1: cannot capture the window"
}
same() { cmp -s "$scratch/$1.ppm" "$scratch/$2.ppm"; }
# differ A B [MASK...]: pixels that differ visibly (by more than 5 %) between two pictures, the
# rectangles MASK ("x0,y0 x1,y1") blacked out in both.
differ() {
  local a=$1 b=$2 ops=() mask out
  shift 2
  for mask in "$@"; do ops+=(-fill black -draw "rectangle $mask"); done
  convert "$scratch/$a.ppm" "${ops[@]}" "$scratch/differ-a.ppm"
  convert "$scratch/$b.ppm" "${ops[@]}" "$scratch/differ-b.ppm"
  out=$(compare -fuzz 5% -metric AE "$scratch/differ-a.ppm" "$scratch/differ-b.ppm" null: 2>&1 || true)
  awk -v s="$out" 'BEGIN { if (s ~ /^[0-9.]+(e[+-]?[0-9]+)?$/) printf "%d\n", s + 0; else print 999999999 }'
}
# colour NAME X Y: the pixel's "R G B".
colour() { convert "$scratch/$1.ppm" -crop "1x1+$2+$3" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '{ print $1, $2, $3 }'; }
# is_panel R G B: the menu's and the list header's dark slate (0.13, 0.14, 0.17), give or take.
is_panel() { awk -v r="$1" -v g="$2" -v b="$3" 'BEGIN { exit !(r >= 20 && r <= 50 && g >= 22 && g <= 52 && b >= 30 && b <= 60 && b > r) }'; }
# wait_for NAME SECONDS X Y: polls screenshots until the pixel at X Y is the panel's colour.
wait_for_panel() {
  local start
  start=$(now)
  while before "$start" "$2"; do
    shot "$1"
    # shellcheck disable=SC2046
    is_panel $(colour "$1" "$3" "$4") && return 0
    sleep 0.1
  done
  return 1
}
# settle NAME: polls until two screenshots a moment apart are the same.
settle() {
  local start
  start=$(now)
  shot "$1"
  while before "$start" 20; do
    sleep 0.3
    shot "$1-next"
    same "$1" "$1-next" && return 0
    mv "$scratch/$1-next.ppm" "$scratch/$1.ppm"
  done
  return 1
}
cpu_ticks() {
  local stat fields
  stat=$(<"/proc/$app_pid/stat")
  read -r -a fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12]))
}

# No system bus: the question for the place fails at once, off the event loop.
DBUS_SYSTEM_BUS_ADDRESS="unix:path=$scratch/no-system-bus" "$dazed" --quit-after 120 >"$scratch/app.log" 2>&1 &
app_pid=$!
wait_for_window "$app_pid" 320x480 || give_up "no 320x480 window"
settle start || give_up "the first frame never settled"

# The info button, which `dazed render` does not draw, and the readout, whose last digit may round
# the other way after steps.
mask=("265,405 314,454" "0,0 299,25")

# 1. A hold in the middle: the panel (300 x 364 points, centred on the press) appears while the
#    button is still down, within the hold's half second and the frame after it.
xdo mousemove --window "$wid" 160 240
t0=$(now)
xdo mousedown 1
if wait_for_panel held 5 20 70; then
  need "menu shown while held, $(awk -v a="$t0" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }') s after the press" 1
else
  need "menu shown while held" 0
fi
xdo mouseup 1
sleep 0.5
shot released
# shellcheck disable=SC2046
is_panel $(colour released 20 70) && open=1 || open=0
need "still open after the release" "open"
done_step hold-opens-menu

# 5 (checked while it is open). Left alone, the open menu costs nothing: no redraws, no polling.
idle_before=$(cpu_ticks)
sleep 3
idle=$(($(cpu_ticks) - idle_before))
need "CPU in 3 s with the menu open: $idle ticks" "idle <= 1"
done_step idle-with-menu

# 2. Escape closes it; the hold moved nothing.
xdo key Escape
settle closed || true
d=$(differ start closed)
need "$d px differ from the chart before the hold" "d == 0"
done_step escape-closes

# 3. Find… (the sixth item: 58 + 5 x 52 + 26 points down) shows the list under its header.
xdo mousemove --window "$wid" 160 240 mousedown 1
wait_for_panel held2 5 20 70 || true
xdo mouseup 1
sleep 0.3
xdo mousemove --window "$wid" 100 344 click 1
if wait_for_panel find 5 150 20; then need "list header shown" 1; else need "list header shown" 0; fi
done_step find-opens

# 4. A name typed and Return: the chart centred as --at centres it.
xdo type --delay 40 betelgeuse
xdo key Return
sleep 0.3
settle chosen || true
"$dazed" render --scale 1 --at Betelgeuse -o "$scratch/ref.png" >"$scratch/render.log" 2>&1
convert "$scratch/ref.png" -alpha off "$scratch/ref.ppm"
d=$(differ chosen ref "${mask[@]}")
need "$d px differ from dazed render --at Betelgeuse" "d <= 20"
done_step find-centres

# 6. Tonight here (the second item: 58 + 52 + 26 points down). The menu comes back taller, with a
#    note under its items (a panel 364 + 48 points tall, centred on the press: its foot below the
#    first panel's at 422), and the window says why there is no place with no event to wake it.
xdo mousemove --window "$wid" 160 240 mousedown 1
wait_for_panel held3 5 20 70 || true
xdo mouseup 1
sleep 0.3
xdo mousemove --window "$wid" 160 136 click 1
xdo mousemove --window "$wid" 160 470
if wait_for_panel noted 5 20 438; then need "menu back with a note" 1; else need "menu back with a note" 0; fi
start=$(now)
said=0
while before "$start" 5; do
  grep -q "Tonight here: no system bus to ask GeoClue on" "$scratch/app.log" && said=1 && break
  sleep 0.1
done
need "the window said why there is no place" "said"
app_alive && alive=1 || alive=0
need "still running" "alive"
done_step tonight-here-without-place

((failures == 0))
