#!/usr/bin/env bash
# Shows the main window of each platform's build on a virtual X display and saves a picture of it:
#   docs/window-linux.png    the Linux build (Qt on X11, framed by openbox when it is installed)
#   docs/window-windows.png  the Windows build under Wine (the 64-bit one: it runs on any host),
#                            in a Wine virtual desktop so that Wine draws the window frame
# Builds what is missing. Needs Xvfb, ImageMagick, xwininfo and a CJK font (install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mkdir -p docs

cmake --preset linux >/dev/null && cmake --build --preset linux --target quorvel >/dev/null
cmake --preset windows-x64 >/dev/null && cmake --build --preset windows-x64 --target quorvel >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# The geometry "WxH+X+Y" of the first mapped window whose name contains $1, frame included.
window_geometry() {
  local id
  for _ in $(seq 150); do
    id=$(xwininfo -root -tree | awk -v name="$1" 'index($0, name) && /\+[0-9]+\+[0-9]+/ {print $1; exit}')
    if [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
      local frame=$id parent
      # Climb to the top-level frame (a window manager reparents the window into its frame).
      while parent=$(xwininfo -children -id "$frame" | awk '/Parent window id:/ {print $4}') &&
            [ -n "$parent" ] && ! xwininfo -id "$parent" | grep -q '(the root window)'; do
        frame=$parent
      done
      xwininfo -id "$frame" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}'
      return 0
    fi
    sleep 0.2
  done
  echo "no window named $1 appeared" >&2
  return 1
}

caption="Quorvel 2017"

# Linux.
if command -v openbox >/dev/null; then
  openbox --config-file /dev/null >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi
QT_QPA_PLATFORM=xcb build/linux/src/app/quorvel >/dev/null 2>&1 &
linux_pid=$!
pids+=($linux_pid)
geometry=$(window_geometry "$caption")
sleep 1  # let it paint
import -window root -crop "$geometry" +repage docs/window-linux.png
kill "$linux_pid"
if [ ${#pids[@]} -gt 2 ]; then kill "${pids[1]}" 2>/dev/null || true; fi
echo "docs/window-linux.png: $geometry"

# Windows, under Wine in a virtual desktop the size of the screen.
. cmake/wine-env.sh win64 "$root/build/windows-x64"
cmake/wine-session.sh prefix win64 "$root/build/windows-x64"
"$WINE" explorer /desktop=quorvel,1024x768 "$root/build/windows-x64/src/app/quorvel.exe" \
  >/dev/null 2>&1 &
pids+=($!)
sleep 2
# Wine draws the window inside its desktop window: find the window by its place there.
desktop=$(window_geometry "quorvel")
sleep 2
left=$(( (1024 - 560) / 2 )) top=$(( (768 - 366) / 2 ))
offset_x=${desktop##*+}; rest=${desktop%+*}; offset_y=$offset_x; offset_x=${rest##*+}
import -window root -crop "560x366+$((left + offset_x))+$((top + offset_y))" +repage \
  docs/window-windows.png
"$WINESERVER" -k 2>/dev/null || true
echo "docs/window-windows.png: 560x366+$left+$top in the Wine desktop at $desktop"
