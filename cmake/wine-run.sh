#!/usr/bin/env bash
# Runs one Windows program of a build tree under that tree's Wine (CTest's emulator).
#   wine-run.sh win32|win64 BUILD_DIR PROGRAM [ARGS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1" "$2"
shift 2
"$here/wine-session.sh" prefix "$WINEARCH" "$wine_build"
exec "$WINE" "$@"
