#!/usr/bin/env bash
# The Wine session of one Windows build tree, used as CTest fixtures around the Windows tests.
#   wine-session.sh prefix win32|win64 BUILD_DIR   make the 32- or 64-bit prefix once (locked)
#   wine-session.sh start  win32|win64 BUILD_DIR   prefix, an Xvfb display and a wineserver
#   wine-session.sh stop   win32|win64 BUILD_DIR   stop that wineserver and that display
set -eu
here=$(cd "$(dirname "$0")" && pwd)
what=$1
. "$here/wine-env.sh" "$2" "$3"
mkdir -p "$wine_session"

make_prefix() {
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$WINE" wineboot -i >/dev/null 2>&1 || true
      "$WINESERVER" -w
      [ -f "$WINEPREFIX/system.reg" ] || { echo "could not make the Wine prefix $WINEPREFIX" >&2; exit 1; }
    fi
  ) 9>"$wine_session/prefix.lock"
}

case "$what" in
  prefix)
    make_prefix
    ;;
  start)
    make_prefix
    if [ ! -s "$wine_session/display" ] || ! kill -0 "$(cat "$wine_session/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
      rm -f "$wine_session/display"
      # Xvfb picks a free display and writes its number once it accepts clients.
      setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$wine_session/display" \
        >/dev/null 2>&1 &
      echo $! >"$wine_session/xvfb.pid"
      for _ in $(seq 100); do [ -s "$wine_session/display" ] && break; sleep 0.1; done
      [ -s "$wine_session/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    fi
    export DISPLAY=":$(cat "$wine_session/display")"
    # A persistent wineserver saves every test program the server's start-up. Wine's own
    # background processes (services, the desktop window) are started here too, with no standard
    # streams: started by a test they would inherit its output pipe and keep CTest waiting.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$wine_session/xvfb.pid" ]; then
      kill "$(cat "$wine_session/xvfb.pid")" 2>/dev/null || true
      rm -f "$wine_session/xvfb.pid" "$wine_session/display"
    fi
    ;;
  *)
    echo "usage: wine-session.sh prefix|start|stop win32|win64 BUILD_DIR" >&2
    exit 2
    ;;
esac
