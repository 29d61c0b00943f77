#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses the program from there, as a person would: from
# another folder, with no resource folder named. The window must find its interface descriptions
# and links at <prefix>/share/dazed, also after the whole tree is moved; the chart must render; the
# desktop entry and the AppStream metainfo must validate; and no path of the build or source tree
# may be compiled in for the resources.
#
# Usage: installed_tree_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unset DAZED_RESOURCE_DIR

fail() {
  echo "installed_tree_test: $*" >&2
  exit 1
}

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/dazed share/dazed/MainWindow_Phone.json share/dazed/MainWindow_Pad.json share/dazed/Links.json \
  share/dazed/qorvilan.png share/dazed/qorvilan@2x.png share/dazed/InfoButton.png share/dazed/DevoRod1.png \
  share/applications/org.dazed.Dazed.desktop share/metainfo/org.dazed.Dazed.metainfo.xml \
  share/icons/hicolor/128x128/apps/dazed.png share/icons/hicolor/256x256/apps/dazed.png; do
  [[ -f "$prefix/$f" ]] || fail "$f is not installed"
done

# A PNG of the phone's screen at scale 2 (640 x 960 pixels) that is more than a blank page.
check_png() {
  local png=$1
  [[ -f "$png" ]] || fail "no $png"
  [[ $(head -c 8 "$png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$png is not a PNG"
  local size
  size=$(stat -c %s "$png")
  ((size > 20000)) || fail "$png has only $size bytes"
  [[ $(od -An -tu1 -j16 -N8 "$png" | tr -s ' ') == " 0 0 2 128 0 0 3 192" ]] || fail "$png is not 640 x 960"
}

elsewhere="$scratch/elsewhere"
mkdir -p "$elsewhere"
cd "$elsewhere"
"$prefix/bin/dazed" render -o chart.png
check_png chart.png
"$prefix/bin/dazed" render --at Orion -o orion.png
check_png orion.png

# The window loads its interface description and links from the installed resources; a missing
# file would end it with exit code 1 or a complaint on stderr.
window() {
  local err
  err=$(SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$1" --quit-after 0.3 --at Vega 2>&1 >/dev/null) ||
    fail "the window from $1 failed: $err"
  [[ -z "$err" ]] || fail "the window from $1 said: $err"
}
window "$prefix/bin/dazed"

# The tree works wherever it is put.
mv "$prefix" "$scratch/moved"
window "$scratch/moved/bin/dazed"
(cd "$elsewhere" && "$scratch/moved/bin/dazed" render --overhead 78.22,15.63 -o moved.png && check_png moved.png)

desktop-file-validate "$scratch/moved/share/applications/org.dazed.Dazed.desktop"
appstreamcli validate --no-net "$scratch/moved/share/metainfo/org.dazed.Dazed.metainfo.xml" ||
  fail "the metainfo does not validate"

for tree in "$source" "$build"; do
  real=$(cd "$tree" && pwd -P)
  if grep -q -a -F "$real/resources" "$scratch/moved/bin/dazed" || grep -q -a -F "$real/share" "$scratch/moved/bin/dazed"; then
    fail "the binary names a resource folder under $real"
  fi
done
echo "installed_tree_test: the installed tree works from $scratch"
