# Sourced by the scripts that drive the real chart window: a private X server (Xvfb) that picks a
# free display number itself, so that several of these scripts and the tests can run at once, and
# the wait for the chart's window to appear on it.
#
#   start_private_display SCRATCH WxHxDEPTH   starts Xvfb, exports DISPLAY; sets xvfb_pid
#   try_private_display SCRATCH WxHxDEPTH     the same, but says nothing when Xvfb cannot start:
#                                             the reason is left in private_display_error
#   wait_for_window PID [WxH]                 sets wid once PID's window is mapped (and WxH big)
#   stop_private_display                      stops Xvfb (safe to call when it is not running)
#
# A caller names itself in $script_name for the messages, and keeps its files in SCRATCH.

xvfb_pid=
wid=
private_display_error=

start_private_display() {
  try_private_display "$@" || { echo "$script_name: $private_display_error" >&2; return 1; }
}

try_private_display() {
  local scratch=$1 screen=$2 display=
  private_display_error=
  # Xvfb writes the display number it chose to descriptor 3 once it accepts connections.
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$scratch/display" \
    >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [[ -s $scratch/display ]] && read -r display <"$scratch/display" && [[ -n $display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ -z $display ]]; then
    private_display_error="Xvfb could not start: $(tail -n 3 "$scratch/xvfb.log" | tr '\n' ' ')"
    return 1
  fi
  export DISPLAY=":$display"
  unset SDL_VIDEODRIVER WAYLAND_DISPLAY
  export SDL_AUDIODRIVER=dummy
}

stop_private_display() {
  [[ -n $xvfb_pid ]] && { kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; }
  xvfb_pid=
}

wait_for_window() {
  local pid=$1 size=${2:-}
  wid=
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || return 1
    wid=$(xdotool search --name Dazed 2>/dev/null | head -n 1 || true)
    if [[ -n $wid ]]; then
      [[ -z $size ]] && return 0
      xdotool getwindowgeometry "$wid" 2>/dev/null | grep -q "Geometry: $size\$" && return 0
    fi
    sleep 0.1
  done
  return 1
}
