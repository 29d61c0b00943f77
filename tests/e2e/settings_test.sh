#!/usr/bin/env bash
# The remembered settings in the real window, on a private X server: a place given is remembered
# with its sky shown, T hides it and that is remembered, the next run without options opens with
# that place known but its sky hidden (as the plain chart) and T shows it again; a corrupt settings
# file gets one line, the plain chart, and is kept aside when a setting changes.
#
#   tests/e2e/settings_test.sh build/dev/app/dazed
#
# One line per step. Exit status 0 when all passed, 1 when one failed, 77 where no X server can
# start. Its settings folder (XDG_CONFIG_HOME) and screenshots are in its own scratch folder.
set -euo pipefail

if (($# < 1)); then
  echo "usage: $0 PATH/TO/dazed" >&2
  exit 2
fi
dazed=$1
for tool in Xvfb xdotool import compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/bootstrap)"; exit 77; }
done

script_name=settings_test
# shellcheck source-path=SCRIPTDIR source=../../scripts/lib/private-display.bash
source "$(dirname "$0")/../../scripts/lib/private-display.bash"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dazed-settings-test.XXXXXX")
export XDG_CONFIG_HOME=$scratch/config
settings=$XDG_CONFIG_HOME/dazed/settings.json
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
    echo "settings_test: screenshots and logs kept in $scratch"
  else
    rm -rf "$scratch"
  fi
  exit "$status"
}
trap cleanup EXIT

try_private_display "$scratch" 1024x768x24 || { echo "SKIP: $private_display_error"; exit 77; }

check() { # check WHAT CONDITION...
  local what=$1
  shift
  if "$@"; then
    echo "PASS: $what"
  else
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}

# eventually SECONDS COMMAND...: true once COMMAND succeeds, polling until the deadline.
eventually() {
  local deadline=$((SECONDS + $1))
  shift
  while ((SECONDS < deadline)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

file_says() { [[ -f $settings ]] && grep -q -- "$1" "$settings"; }

open_window() { # open_window LOG ARGS...
  local log=$1
  shift
  "$dazed" --quit-after 60 "$@" >"$scratch/$log" 2>&1 &
  app_pid=$!
  wait_for_window "$app_pid" 320x480 || { wait "$app_pid"; echo "FAIL: no window for $* (status $?)"; cat "$scratch/$log"; exit 1; }
  timeout 10 xdotool windowfocus --sync "$wid" 2>/dev/null || true
}

close_window() {
  timeout 10 xdotool key ctrl+q || true
  eventually 15 bash -c "! kill -0 $app_pid 2>/dev/null" || kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

shot() { timeout 10 import -window "$wid" "$scratch/$1.ppm" 2>>"$scratch/import.log"; }
differing() { compare -metric AE "$scratch/$1.ppm" "$scratch/$2.ppm" null: 2>&1 | cut -d' ' -f1 || true; }
# changes_from BEFORE AFTER: true once a new screenshot AFTER differs from BEFORE.
changes_from() { shot "$2" && (($(differing "$1" "$2") > 100)); }
settled_like() { shot "$2" && (($(differing "$1" "$2") <= 20)); }
# settle NAME: NAME once two screenshots in a row agree (the first frame is on screen).
settle() {
  local deadline=$((SECONDS + 10))
  shot "$1.prev" || true
  while ((SECONDS < deadline)); do
    sleep 0.2
    shot "$1" && (($(differing "$1.prev" "$1") <= 20)) && return 0
    cp "$scratch/$1.ppm" "$scratch/$1.prev.ppm" 2>/dev/null || true
  done
  return 1
}

# 1. A place given is remembered with its sky shown; T hides the sky and that is remembered.
open_window first.log --place 48.85,2.35
check "a place given is remembered with its sky shown" eventually 10 file_says '"layer": true'
check "the place is in the file" file_says '"latitude": 48.85'
timeout 10 xdotool key t
check "T hiding the sky is remembered" eventually 10 file_says '"layer": false'
close_window

# 2. The next run knows the place but opens as the plain chart; T shows the place's sky again.
open_window second.log
settle second-a
timeout 10 xdotool key t
check "T shows the remembered place's sky without --place" eventually 10 changes_from second-a second-b
check "and that is remembered" eventually 10 file_says '"layer": true'
timeout 10 xdotool key t
check "T again hides it: the chart as before" eventually 10 settled_like second-a second-c
close_window
# (The X library may print errors of its own as the window closes; only the app's lines count.)
check "no line from the app about its settings" bash -c "! grep -q '^dazed:' '$scratch/second.log'"

# 3. A corrupt file: one line, the plain chart, and kept aside once a setting changes.
printf 'not json' >"$settings"
open_window third.log
settle third-a
check "a corrupt file opens the plain chart" eventually 10 settled_like second-a third-a
close_window
check "a corrupt file gets one line" test "$(grep -c 'settings.json: is not valid JSON' "$scratch/third.log")" = 1
open_window fourth.log --place -33.87,151.21
check "a new place is written" eventually 10 file_says '"latitude": -33.87'
close_window
check "the corrupt file is kept aside" test "$(cat "$settings.bad" 2>/dev/null)" = "not json"

((failures == 0)) || exit 1
echo "settings_test: all steps passed"
