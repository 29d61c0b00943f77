# What the window tests check in their screenshots, and how they report it: one line a step,
# PASS or FAIL with what was seen. Sourced by window_test.sh (X11) and wayland_test.sh; the caller
# sets $scratch (where pictures are kept, as NAME.ppm), $dazed and failures=0. Pictures are kept as
# PPM, which holds nothing but the pixels: two pictures are the same when their files are.
# Screens default to the phone held upright (320 x 480).
# $scratch and $dazed are the caller's, and count sets colour counts for the caller to read:
# shellcheck disable=SC2154,SC2034

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

notes=()
step_ok=1

# need DESCRIPTION ARITHMETIC: one check of the current step.
need() {
  if (($2)); then
    notes+=("$1")
  else
    notes+=("NOT $1")
    step_ok=0
  fi
}

# done_step NAME: prints the step's line, with the seconds it took, and starts the next one.
step_started=$(now)
done_step() {
  local text
  text="${notes[*]/%/;} ($(elapsed "$step_started") s)"
  if ((step_ok)); then
    echo "PASS $1: ${text/; (/ (}"
  else
    echo "FAIL $1: ${text/; (/ (}"
    failures=$((failures + 1))
  fi
  notes=()
  step_ok=1
  step_started=$(now)
}

# number TEXT: compare's count, which it may write as 1.2e+05; anything else counts as very large.
number() {
  awk -v s="$1" 'BEGIN { if (s ~ /^[0-9.]+(e[+-]?[0-9]+)?$/) printf "%d\n", s + 0; else print 999999999 }'
}

# picture NAME: the path of a screenshot or reference picture.
picture() { if [[ $1 == */* ]]; then echo "$1"; else echo "$scratch/$1.ppm"; fi; }

# same A B: whether two pictures are the same.
same() { cmp -s "$(picture "$1")" "$(picture "$2")"; }

# differ A B [GEOMETRY] [FUZZ] [MASK...]: how many pixels differ by more than FUZZ (a percentage,
# 0 when empty) between the pictures A and B, within GEOMETRY (WxH+X+Y; the whole picture when
# empty), with each rectangle MASK ("x0,y0 x1,y1") blacked out in both.
differ() {
  local a b geometry=${3:-} fuzz=${4:-0} ops=() mask out
  a=$(picture "$1")
  b=$(picture "$2")
  shift 4 2>/dev/null || shift $#
  for mask in "$@"; do ops+=(-fill black -draw "rectangle $mask"); done
  [[ -n $geometry ]] && ops+=(-crop "$geometry" +repage)
  if ((${#ops[@]} == 0)) && cmp -s "$a" "$b"; then
    echo 0
    return
  fi
  convert "$a" "${ops[@]}" "$scratch/differ-a.ppm"
  convert "$b" "${ops[@]}" "$scratch/differ-b.ppm"
  if (($(identify -format '%wx%h\n' "$scratch/differ-a.ppm" "$scratch/differ-b.ppm" | sort -u | wc -l) != 1)); then
    echo 999999999
    return
  fi
  out=$(compare -fuzz "$fuzz%" -metric AE "$scratch/differ-a.ppm" "$scratch/differ-b.ppm" null: 2>&1 || true)
  number "$out"
}

# readout_pixels NAME: one character a pixel of the readout panel (300 x 26 points at the top
# left): r for the readout's red, k for black, o for anything else.
readout_pixels() {
  convert "$(picture "$1")" -crop 300x26+0+0 +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    { mx = $1; if ($2 > mx) mx = $2; if ($3 > mx) mx = $3
      printf "%s", ($1 >= 80 && $1 >= $2 + 60 && $1 >= $3 + 60) ? "r" : (mx <= 40 ? "k" : "o") }
    END { print "" }'
}

# readout_differs A B: at how many places one readout has red text where the other is black.
# Stars are drawn over the panel and move with the chart; where they are, nothing is said.
readout_differs() {
  awk -v a="$(readout_pixels "$1")" -v b="$(readout_pixels "$2")" 'BEGIN {
    n = length(a) == length(b) ? 0 : 100000
    for (i = 1; i <= length(a); i++) {
      p = substr(a, i, 1); q = substr(b, i, 1)
      if ((p == "r" && q == "k") || (p == "k" && q == "r")) n++
    }
    print n }'
}

# like_render NAME REFERENCE MASK...: how many pixels of the chart differ visibly from the
# reference, leaving out the rectangles MASK (the info button and the readout panel). The window
# reaches a position by steps, the reference directly, and the last bits of the two positions may
# differ: that moves antialiased edges by a shade and may truncate the readout's seconds the other
# way.
like_render() { differ "$1" "$2" "" 5 "${@:3}"; }

# count NAME GEOMETRY: sets red, blue, black, white, grey and total, the pixels of each kind in
# that part of the screenshot. The chart's red is 0.8 (0.4 where a one-point line straddles two
# pixels); its lines and names are blue; the information page's bar is a neutral grey.
count() {
  read -r red blue black white grey total < <(
    convert "$(picture "$1")" -crop "$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
      { r = $1; g = $2; b = $3; n++
        mx = r; if (g > mx) mx = g; if (b > mx) mx = b
        mn = r; if (g < mn) mn = g; if (b < mn) mn = b
        if (r >= 80 && r >= g + 60 && r >= b + 60) red++
        else if (b >= 140 && r <= 100 && g <= 100) blue++
        else if (mx <= 24) black++
        else if (mn >= 190) white++
        else if (mx - mn <= 12) grey++ }
      END { printf "%d %d %d %d %d %d\n", red, blue, black, white, grey, n }')
}

# reference NAME ARGS...: `dazed render` of a view at one pixel per point, as NAME.
reference() {
  local name=$1
  shift
  "$dazed" render --scale 1 "$@" -o "$scratch/$name.png" >>"$scratch/render.log" 2>&1
  convert "$scratch/$name.png" -alpha off "$scratch/$name.ppm"
}

# sky_checks NAME [W H]: the readout's red text in the top-left panel and the red centre cross.
sky_checks() {
  local w=${2:-320} h=${3:-480}
  count "$1" "300x26+0+0"
  need "readout text red px=$red" "red >= 300"
  count "$1" "21x21+$((w / 2 - 10))+$((h / 2 - 10))"
  need "centre cross red px=$red" "red >= 40"
}

# info_checks NAME [W]: a black page under a grey navigation bar titled in white, no readout.
info_checks() {
  local w=${2:-320}
  count "$1" "${w}x1+0+3"
  need "bar row grey px=$grey/$total" "grey >= total * 9 / 10"
  count "$1" "100x30+$((w / 2 - 50))+5"
  need "title white px=$white" "white >= 30"
  count "$1" "${w}x400+0+44"
  need "page black px=$black/$total" "black >= total * 6 / 10"
  count "$1" "300x26+0+0"
  need "no readout red px=$red" "red == 0"
}

