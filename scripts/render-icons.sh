#!/usr/bin/env bash
# Renders the editor's icon from packaging/icons/*.svg into the committed PNGs (hicolor sizes) and the
# Windows .ico. Run it after changing the SVG; the build itself does not need ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
svg=io.github.orvik.OrvikEditor.svg
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
  convert -background none -density 300 "$svg" -resize "${s}x${s}" -depth 8 -strip \
          -define png:exclude-chunks=date,time "$s.png"
done
# The .ico carries the sizes Windows shows in Explorer, the taskbar and the title bar.
convert 16.png 24.png 32.png 48.png 64.png 256.png ../windows/orvik-editor.ico
