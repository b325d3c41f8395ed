# Sourced by the Wine wrappers: the environment of one Windows build tree's Wine.
#   $1: win32 or win64     $2: the build tree
wine_arch=$1
wine_build=$2
export WINEARCH=$wine_arch
export WINEPREFIX=$wine_build/wineprefix
export WINEDEBUG=-all
# Without the gecko and mono add-ons Wine would offer to download them when the prefix is made.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
if [ "$wine_arch" = win32 ]; then WINE=/usr/lib/wine/wine; else WINE=/usr/lib/wine/wine64; fi
WINESERVER=/usr/lib/wine/wineserver
wine_session=$wine_build/wine-session
if [ -z "${DISPLAY:-}" ] && [ -s "$wine_session/display" ]; then
  export DISPLAY=":$(cat "$wine_session/display")"
fi
