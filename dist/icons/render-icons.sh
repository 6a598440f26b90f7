#!/usr/bin/env bash
# Renders the icon's PNG sizes from sablemap.svg (run by hand after the drawing changes; the PNG
# files are committed so that building needs no SVG renderer). Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" sablemap.svg -o "hicolor/${size}x${size}/sablemap.png"
done
