#!/usr/bin/env bash
# Drives the real chart window on a private X server (Xvfb) for night mode and `--device fit`, one
# line per step, PASS or FAIL with the numbers seen:
#   - `dazed --night`: no pixel of the window, nor of the mouse pointer over it, keeps green or blue
#     above a small threshold; R gives the day's colours (and the system's pointer) back and takes
#     them away again; the information page is red too;
#   - `dazed --device fit`: the chart fills a window resized to 600 x 800 (no letterbox bars; the
#     info button at its corner), and a window shrunk to 50 x 50 and grown again is drawn whole.
#
#   tests/e2e/night_fit_test.sh build/dev/app/dazed build/dev/tests/e2e/e2e_pointer_colours
#
# Exit status: 0 when every step passed, 1 when one failed, 77 (skipped) when no X server could be
# started here. Everything it writes goes into its own scratch folder, kept only after a failure.
set -euo pipefail

if (($# < 2)); then
  echo "usage: $0 PATH/TO/dazed PATH/TO/e2e_pointer_colours" >&2
  exit 2
fi
dazed=$1
pointer_colours=$2
for tool in Xvfb xdotool import convert od awk; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/bootstrap installs it)"; exit 77; }
done

script_name=night_fit_test
# shellcheck source-path=SCRIPTDIR source=../../scripts/lib/private-display.bash
source "$(dirname "$0")/../../scripts/lib/private-display.bash"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dazed-night-fit-test.XXXXXX")
app_pid=
failures=0

stop_app() {
  if [[ -n $app_pid ]]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  app_pid=
}
cleanup() {
  local status=$?
  stop_app
  stop_private_display
  if ((status != 0 && status != 77)); then
    echo "night_fit_test: screenshots and logs kept in $scratch"
  else
    rm -rf "$scratch"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

now() { date +%s.%N; }
past() { awk -v s="$1" -v t="$(now)" -v l="$2" 'BEGIN { exit !(t - s > l) }'; }

try_private_display "$scratch" 1280x1024x24 || { echo "SKIP: $private_display_error"; exit 77; }
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "SKIP: Xvfb on $DISPLAY does not answer"; exit 77; }
if ldd "$dazed" 2>/dev/null | grep -q libasan; then
  export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
fi

notes=()
step_ok=1
need() {
  if (($2)); then notes+=("$1"); else
    notes+=("NOT $1")
    step_ok=0
  fi
}
done_step() {
  local text="${notes[*]}"
  if ((step_ok)); then echo "PASS $1: $text"; else
    echo "FAIL $1: $text"
    failures=$((failures + 1))
  fi
  notes=()
  step_ok=1
}
app_alive() { [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; }
give_up() {
  echo "FAIL $1; the app said: $(tr '\n' ' ' <"$scratch/app.log")"
  exit 1
}
xdo() { timeout 10 xdotool "$@" || give_up "xdotool $*"; }
geometry() { xdotool getwindowgeometry "$wid" 2>/dev/null | awk '/Geometry:/ { print $2 }'; }

shot() {
  for _ in 1 2 3 4 5; do
    app_alive || break
    timeout 10 import -window "$wid" "$scratch/$1.ppm" 2>>"$scratch/import.log" && return 0
    sleep 0.2
  done
  give_up "$1: cannot capture the window $wid"
}
# settle NAME: waits until two screenshots a moment apart are the same, kept as NAME.
settle() {
  local start
  start=$(now)
  shot "$1"
  while :; do
    sleep 0.3
    shot "$1-next"
    cmp -s "$scratch/$1.ppm" "$scratch/$1-next.ppm" && return 0
    mv "$scratch/$1-next.ppm" "$scratch/$1.ppm"
    past "$start" 20 && return 1
  done
}
# change_from PREVIOUS NAME: waits until the window differs from PREVIOUS, then until it is still.
change_from() {
  local start
  start=$(now)
  while :; do
    shot "$2"
    cmp -s "$scratch/$1.ppm" "$scratch/$2.ppm" || break
    past "$start" 20 && return 0
    sleep 0.2
  done
  settle "$2" || true
}
# colours NAME [GEOMETRY]: sets coloured (green or blue above 16), lit (any channel above 24),
# red (red above 80, green and blue under 17) and total for that part of the screenshot.
colours() {
  local crop=()
  [[ -n ${2:-} ]] && crop=(-crop "$2" +repage)
  read -r coloured lit red total < <(
    convert "$scratch/$1.ppm" "${crop[@]}" -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
      { n++; if ($2 > 16 || $3 > 16) c++; if ($1 > 24 || $2 > 24 || $3 > 24) l++
        if ($1 > 80 && $2 <= 16 && $3 <= 16) r++ }
      END { printf "%d %d %d %d\n", c, l, r, n }')
}
# pointer: sets pointer_shown and pointer_coloured, the pointer's pixels and those of them with
# green or blue, once the pointer lies over the window.
pointer() {
  read -r _ _ _ pointer_shown _ pointer_coloured _ _ < <("$pointer_colours" 16 || echo "x x x 0 x 0 x 0")
}
start_app() {
  "$dazed" "$@" --quit-after 300 >"$scratch/app.log" 2>&1 &
  app_pid=$!
  wid=
  for _ in $(seq 600); do
    app_alive || break
    wid=$(xdotool search --name Dazed 2>/dev/null | head -n 1 || true)
    [[ -n $wid && $(geometry) == 320x480 ]] && break
    wid=
    sleep 0.1
  done
  [[ -n $wid ]] || give_up "start $*: no 320x480 window"
  timeout 10 xdotool windowfocus --sync "$wid" 2>/dev/null ||
    timeout 10 xdotool windowactivate --sync "$wid" 2>/dev/null || true
}

# --- night mode --------------------------------------------------------------------------------

start_app --night
settle night-sky || true
colours night-sky
need "no green or blue px=$coloured/$total" "coloured == 0"
need "red stars and readout px=$red" "red >= 500"
xdo mousemove --window "$wid" 150 200
sleep 0.3
pointer
need "red pointer over the window px=$pointer_shown, green or blue $pointer_coloured" \
  "pointer_shown >= 20 && pointer_coloured == 0"
done_step "night sky"

xdo key r
change_from night-sky day-sky
colours day-sky
need "day colours back px=$coloured" "coloured >= 1000"
pointer
need "the system's pointer back, green or blue px=$pointer_coloured" "pointer_coloured > 0"
done_step "R: day"

xdo key r
change_from day-sky night-again
need "the same night picture" "$(cmp -s "$scratch/night-sky.ppm" "$scratch/night-again.ppm" && echo 1 || echo 0)"
pointer
need "red pointer again, green or blue px=$pointer_coloured" "pointer_coloured == 0"
done_step "R: night again"

xdo key i
sleep 1.1
change_from night-again night-page
colours night-page
need "no green or blue px=$coloured/$total" "coloured == 0"
colours night-page "320x44+0+0"
need "the bar lit red px=$lit" "lit >= 1000"
done_step "night page"
stop_app

# --- the window's own size ---------------------------------------------------------------------

start_app --device fit
settle fit-start || true
# The whole window on the X screen, or its screenshot would be cut at the screen's edge.
xdo windowmove "$wid" 0 0
xdo windowsize "$wid" 600 800
for _ in $(seq 100); do [[ $(geometry) == 600x800 ]] && break; sleep 0.1; done
change_from fit-start fit-600
need "window $(geometry)" "$([[ $(geometry) == 600x800 ]] && echo 1 || echo 0)"
colours fit-600 "600x26+0+0"
need "readout at the top left red px=$red" "red >= 300"
colours fit-600 "21x21+290+390"
need "centre cross at 300,400 px=$red" "red >= 40"
colours fit-600 "50x50+545+725"
need "info button at the bottom right lit px=$lit" "lit >= 100"
# A letterboxed phone screen would leave bars of 33 pixels black at both sides.
colours fit-600 "30x770+0+30"
need "chart up to the left edge px=$lit" "lit >= 10"
colours fit-600 "30x700+570+30"
need "chart up to the right edge px=$lit" "lit >= 10"
done_step "fit 600x800"

xdo windowsize "$wid" 50 50
sleep 1
need "alive at 50x50" "$(app_alive && echo 1 || echo 0)"
xdo windowsize "$wid" 400 300
for _ in $(seq 100); do [[ $(geometry) == 400x300 ]] && break; sleep 0.1; done
settle fit-400 || true
need "alive at 400x300" "$(app_alive && echo 1 || echo 0)"
colours fit-400 "21x21+190+140"
need "centre cross at 200,150 px=$red" "red >= 15"
colours fit-400 "50x50+345+225"
need "info button at the bottom right lit px=$lit" "lit >= 100"
done_step "fit shrunk to 50x50 and grown to 400x300"

((failures == 0)) || exit 1
