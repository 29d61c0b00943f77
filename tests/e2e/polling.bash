# Sourced by the window tests: each step waits for what it needs (the window mapped, the frame
# changed after an input, a flip finished, the app gone) by looking again and again until a
# deadline, never by sleeping a fixed time, so that a loaded machine makes a step slower but never
# wrong. A deadline only ends a wait that would otherwise never end; the step's checks then fail.
#
#   poll_until SECONDS COMMAND [ARG...]   runs COMMAND in this shell every poll_interval seconds
#                                         until it succeeds (returns 0) or SECONDS have passed
#                                         (returns 1); it may set variables for the caller
#   processes_quiet PID...                whether, over quiet_seconds, the processes used no
#                                         processor time and none of their threads was ever found
#                                         running or waiting to run: each of them waits for input
#                                         (a process that has ended is quiet)
#   wait_quiet SECONDS PID...             polls processes_quiet
#   process_gone PID                      whether PID has ended (or is a zombie)
#   wait_gone SECONDS PID                 polls process_gone
#   settle NAME [SECONDS]                 until the screen is still: a screenshot, a quiet spell of
#                                         every process in watched_pids, and a second screenshot
#                                         the same as the first; keeps the first as NAME (30 s)
#   change_from PREVIOUS NAME [SECONDS]   until the screen differs from the screenshot PREVIOUS,
#                                         then settles as NAME; when nothing changes in time, NAME
#                                         is what the screen shows then (30 s)
#
# settle and change_from use the caller's `shot NAME` (a screenshot of the window kept as NAME)
# and `same A B` (whether two screenshots are the same), and watch the processes the caller lists
# in watched_pids: the app and the display server that shows it. Waiting for both to be quiet
# means the app has handled every input it was sent and the server has drawn what the app asked.

poll_interval=0.1
quiet_seconds=0.3
watched_pids=()

# _poll_us SECONDS: SECONDS (a decimal number) in microseconds.
_poll_us() {
  local whole=${1%%.*} fraction=
  [[ $1 == *.* ]] && fraction=${1#*.}
  fraction="${fraction}000000"
  echo $((10#${whole:-0} * 1000000 + 10#${fraction:0:6}))
}

# _poll_clock: sets _poll_now, microseconds on the wall clock.
_poll_clock() { _poll_now=${EPOCHREALTIME//[.,]/}; }

poll_until() {
  local limit deadline
  limit=$(_poll_us "$1")
  shift
  _poll_clock
  deadline=$((_poll_now + limit))
  while :; do
    "$@" && return 0
    _poll_clock
    ((_poll_now < deadline)) || return 1
    sleep "$poll_interval"
  done
}

# _proc_sample PID...: sets _proc_ticks, the processor time the processes have used (clock ticks),
# and _proc_busy, how many of their threads are running, waiting to run or in an uninterruptible
# wait now.
_proc_sample() {
  local pid line rest task
  local -a fields
  _proc_ticks=0
  _proc_busy=0
  for pid in "$@"; do
    { read -r line <"/proc/$pid/stat"; } 2>/dev/null || continue
    rest=${line##*) }
    read -r -a fields <<<"$rest"
    _proc_ticks=$((_proc_ticks + fields[11] + fields[12]))
    for task in "/proc/$pid/task/"*/stat; do
      { read -r line <"$task"; } 2>/dev/null || continue
      rest=${line##*) }
      [[ ${rest:0:1} == [RD] ]] && _proc_busy=$((_proc_busy + 1))
    done
  done
  return 0
}

processes_quiet() {
  local ticks deadline
  _proc_sample "$@"
  ((_proc_busy == 0)) || return 1
  ticks=$_proc_ticks
  _poll_clock
  deadline=$((_poll_now + $(_poll_us "$quiet_seconds")))
  while ((_poll_now < deadline)); do
    sleep 0.05
    _proc_sample "$@"
    ((_proc_busy == 0)) || return 1
    _poll_clock
  done
  ((_proc_ticks == ticks))
}

wait_quiet() {
  local limit=$1
  shift
  poll_until "$limit" processes_quiet "$@"
}

process_gone() {
  local line
  kill -0 "$1" 2>/dev/null || return 0
  { read -r line <"/proc/$1/stat"; } 2>/dev/null || return 0
  line=${line##*) }
  [[ ${line:0:1} == Z ]]
}

wait_gone() { poll_until "$1" process_gone "$2"; }

_still() {
  shot "$1" && processes_quiet "${watched_pids[@]}" && shot "$1-still" && same "$1" "$1-still"
}

settle() { poll_until "${2:-30}" _still "$1"; }

_changed() {
  shot "$2"
  ! same "$1" "$2"
}

change_from() {
  local limit=${3:-30}
  poll_until "$limit" _changed "$1" "$2" || return 0
  settle "$2" "$limit" || true
}
