#!/usr/bin/env bash
# The real program under a real X server: start it on the colour clip with
# subtitles beside it, type a word into the search box, press Enter, and
# check that the image area shows the colour of the matched second.
#   binary-search.sh QUENNEL FIXTURES_DIR [SHOT_DIR]
set -euo pipefail
quennel=${1:?quennel binary} fixtures=${2:?fixture folder} shots=${3:-}

if [[ -z ${QUENNEL_IN_XVFB:-} ]]; then
  export QUENNEL_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
  if [[ -n $pid ]]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the program, so its settings file lands in our folder.
cp "$quennel" "$work/quennel"
cp "$fixtures/colors.mp4" "$work/clip.mp4"
printf '1\r\n00:00:01,000 --> 00:00:01,900\r\nHello there\r\n\r\n2\r\n00:00:03,000 --> 00:00:03,900\r\nFind the walrus\r\n\r\n' >"$work/clip.srt"

# colour at x,y of a screenshot, as RRGGBB
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1 | tr -d '#'; }
close_to() { # RRGGBB RRGGBB
  local a=$1 b=$2 i
  for i in 0 2 4; do
    local d=$(( 16#${a:$i:2} - 16#${b:$i:2} ))
    (( d < -40 || d > 40 )) && return 1
  done
  return 0
}

source "$(dirname "$0")/../../scripts/test-env"
"$work/quennel" "$work/clip.mp4" >"$work/log" 2>&1 &
pid=$!

# The main window appears after the splash and names the file it opened.
wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --name '^MP4Player - clip.mp4$' 2>/dev/null | head -1 || true)
  [[ -n $wid ]] && break
  sleep 0.1
done
[[ -n $wid ]] || { echo "no main window"; cat "$work/log"; exit 1; }
sleep 1.5   # first frame

eval "$(xdotool getwindowgeometry --shell "$wid")"   # X Y WIDTH HEIGHT
# Without a window manager the window takes focus only when clicked: click the
# search box (left end of the search row, past the toggle button).
xdotool mousemove $((X + 100)) $((Y + HEIGHT - 17)) click 1
sleep 0.3
xdotool type --delay 30 walrus
xdotool key Return
sleep 2

shot=$work/shot.png
import -window root "$shot"
[[ -n $shots ]] && cp "$shot" "$shots/binary-search.png"
# The image area's centre: above the 65-high control bar and the panel.
got=$(pixel "$shot" $((X + WIDTH / 2)) $((Y + (HEIGHT - 65) / 2)))
want=ffff00   # second 3 of the colour clip: yellow
if ! close_to "$got" "$want"; then
  echo "image shows #$got, want #$want (second 3)"
  cat "$work/log"
  exit 1
fi
echo "image shows #$got after the search: second 3"
