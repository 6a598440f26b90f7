#!/usr/bin/env bash
# Installs what is missing (Debian/Ubuntu), builds Sablemap and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"

# xvfb, xdotool and imagemagick serve the smoke test that starts the real editor on a virtual display;
# desktop-file-utils, appstream and groff-base check the installed desktop files and manual pages,
# dpkg-dev computes the .deb package's dependencies and lintian checks the package.
# python3-jsonschema validates the JSON form of Map BIN files against its schema; git runs the textconv recipe.
scripts/ensure-packages.sh cmake g++ make qt6-base-dev libgl-dev libbenchmark-dev xvfb xauth xdotool imagemagick \
  desktop-file-utils appstream groff-base dpkg-dev lintian python3-jsonschema git

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$BUILD_DIR" -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
