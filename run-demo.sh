#!/usr/bin/env bash
# Opens the editor on a demonstration installation: installs what is missing (Debian/Ubuntu),
# builds the program, writes the demonstration into the build folder (once) and starts the editor
# with a private registry stand-in pointing at it, the demonstration map chosen and its Map BIN and
# faction files loaded. The user's own configuration (recent files and the window's last state
# included) is never touched.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

scripts/ensure-packages.sh cmake g++ make qt6-base-dev libgl-dev

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target sablemap sablemap-cli

build=$(cd "$BUILD_DIR" && pwd)
# Written once: a later run opens the same demonstration, with whatever was changed in it since.
if [ ! -d "$build/demo/common/maps" ]; then
  "$build/bin/sablemap-cli" demo "$build/demo" >/dev/null
fi

# The registry stand-in: a folder of our own as XDG_CONFIG_HOME, holding only the one key file.
config="$build/demo-config"
mkdir -p "$config/Quillfeather"
printf '[General]\nINSTALLATION PATH=%s\n' "$build/demo" > "$config/Quillfeather/Stormcrest.ini"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the editor has nowhere to open.
Everything is built and the demonstration installation is in $build/demo.
On a desktop session run ./run-demo.sh again; on a machine without one, run it on a virtual
display (sudo apt-get install xvfb xauth), for example:

  xvfb-run -a -s "-screen 0 1600x1000x24" ./run-demo.sh

MSG
  exit 2
fi

map=map_sable_coast
files="$build/demo/common/maps/$map"
echo "Starting $build/bin/sablemap on $build/demo with $map, sable_coast.BIN and sable_coast.SID"
cd "$root"
XDG_CONFIG_HOME="$config" exec "$build/bin/sablemap" --map "$map" "$files/sable_coast.BIN" \
  --factions "$files/sable_coast.SID"
