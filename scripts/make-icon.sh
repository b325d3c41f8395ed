#!/usr/bin/env bash
# Draws the program's icon, a blue cloud with a white arrow pointing down, and writes:
#   src/app/res/quorvel.ico            48, 32 and 16 pixels, each palettised in 256 colours
#                                      (transparency in the AND mask) and in 32-bit colour
#   src/app/res/icon-{48,32,16}.png    the 32-bit images, for the Linux window
# The picture is drawn once at 256 pixels and scaled down. Needs ImageMagick. The outputs are
# committed; run this again after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
out=src/app/res
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#2f7fd8' -stroke none \
  -draw "circle 92,132 92,84" -draw "circle 150,112 150,48" -draw "circle 196,146 196,108" \
  -draw "roundrectangle 40,120 232,196 38,38" \
  -fill white -draw "rectangle 120,96 148,150" -draw "polygon 96,146 172,146 134,188" \
  "$work/icon-256.png"

palettised=()
for size in 48 32 16; do
  convert "$work/icon-256.png" -filter Lanczos -resize ${size}x${size} -strip "$out/icon-$size.png"
  # 256 colours with all-or-nothing transparency: ImageMagick then writes an 8-bit entry.
  palettised+=( "(" "$out/icon-$size.png" -channel A -threshold 50% +channel -colors 256 ")" )
done
convert "${palettised[@]}" "$out/icon-48.png" "$out/icon-32.png" "$out/icon-16.png" \
  "$out/quorvel.ico"

# Check what was written: six entries, 8-bit ones first.
python3 - "$out/quorvel.ico" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
_, kind, count = struct.unpack("<HHH", data[:6])
found = []
for i in range(count):
    width, height, _, _, _, _, size, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
    bits = struct.unpack("<H", data[offset + 14:offset + 16])[0]
    found.append((width or 256, bits))
want = [(48, 8), (32, 8), (16, 8), (48, 32), (32, 32), (16, 32)]
if kind != 1 or found != want:
    sys.exit(f"unexpected icon entries {found}, wanted {want}")
print("icon entries:", ", ".join(f"{w}px {b}-bit" for w, b in found))
PY
