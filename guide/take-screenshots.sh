#!/usr/bin/env bash
# Takes the guide's pictures of the real editor on the demonstration installation, on a virtual
# display: starts build/bin/sablemap, chooses a map, loads the demo files and ticks every layer,
# driving it with xdotool, and saves PNG files into guide/images/.
# Needs: xvfb, xauth, xdotool, imagemagick.
# Usage: guide/take-screenshots.sh [build folder] [picture folder, default guide/images]
# Fails when a window does not appear or the picture with every layer is (nearly) blank, so it
# also serves as the smoke test of the real program.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
out=${2:-$PWD/guide/images}
mkdir -p "$out"
out=$(cd "$out" && pwd)
unset QT_QPA_PLATFORM # the program must open a real window on the virtual display

if [ -z "${SABLEMAP_ON_XVFB:-}" ]; then
  SABLEMAP_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$build" "$out"
fi

# A demonstration and a configuration of its own, made afresh: the pictures show a first start
# on the untouched demonstration, whatever run-demo.sh's copy and window remember.
demo="$build/screenshots-demo"
config="$build/screenshots-config"
rm -rf "$demo" "$config"
"$build/bin/sablemap-cli" demo "$demo" >/dev/null
mkdir -p "$config/Quillfeather"
printf '[General]\nINSTALLATION PATH=%s\n' "$demo" > "$config/Quillfeather/Stormcrest.ini"
maps="$demo/common/maps"

# Copies of unsaved work from runs elsewhere must not interrupt with their offer.
rm -rf "$build/demo-data"
XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$build/demo-data" "$build/bin/sablemap" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

window() { # the id of the visible window with this exact title, waiting for it
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "window '$1' did not appear" >&2; exit 1
}
shot() { sleep "${2:-0.8}"; import -window root "$out/$1.png"; }
crop() { convert "$out/$1.png" -crop "$2" +repage "$out/$1.png"; }

main=$(window Sablemap)
xdotool windowsize "$main" 1200 860
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")" # X, Y, WIDTH, HEIGHT
frame="${WIDTH}x${HEIGHT}+${X}+${Y}"
colX=$((X + WIDTH - 90)); colY=$((Y + 49))         # the map control column, below the menu and tool bars
tick() { xdotool mousemove $((colX + $1)) $((colY + $2)) click 1; sleep 0.5; }
openFile() { sleep 1; xdotool type --delay 5 "$1"; xdotool key Return; sleep 1.5; }

shot start; crop start "$frame"

xdotool windowfocus "$main"; xdotool key ctrl+m
dialog=$(window "Select map")
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove --window "$dialog" 45 85 click 1 # the second map, map_sable_coast
shot select-map 0.3; crop select-map "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))"
xdotool key Return
shot map-chosen 2; crop map-chosen "$frame"

xdotool windowfocus "$main"; xdotool key ctrl+o
openFile "$maps/map_sable_coast/sable_coast.BIN"
tick 15 179                                       # Grid (the record symbols show from the first start)
for y in 296 307 319 331; do tick 12 "$y"; done   # Roads, Rivers, Power lines, Borders
xdotool mousemove $((colX - 300)) $((colY + 200))
shot all-layers; crop all-layers "$frame"

xdotool windowfocus "$main"; xdotool key alt+f; sleep 0.3; xdotool key f
openFile "$maps/map_sable_coast/sable_coast.SID"
shot factions; crop factions "$frame"

# Terrain, grid, routes and symbols give hundreds of colours; an empty map area a handful.
colours=$(convert "$out/all-layers.png" -format %k info:)
if [ "$colours" -lt 100 ]; then
  echo "the map with every layer shows only $colours colours" >&2; exit 1
fi
kill -0 $app || { echo "the program ended unexpectedly" >&2; exit 1; }
echo "Pictures written to $out"
