#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that are needed and not there yet. Runs as root,
# or through sudo for an ordinary user. Safe to run again.
#   install-deps.sh          everything: the Linux build, the Windows cross build, Wine
#   install-deps.sh linux    only what building and running the Linux program needs
set -euo pipefail
what=${1:-all}

if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

# What the Linux build and its tests need; a CJK font for the window's texts, and a window manager
# for the screenshots (scripts/screenshots.sh).
linux_pkgs=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev duktape-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev
  xvfb xauth x11-apps x11-utils imagemagick
  fonts-wqy-microhei openbox
  python3 openssl locales
)
# What the Windows cross build and its runs under Wine need.
windows_pkgs=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine32:i386 wine64
)

missing=()
wanted=("${linux_pkgs[@]}")
[ "$what" = linux ] || wanted+=("${windows_pkgs[@]}")
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$what" != linux ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${SUDO[@]}" dpkg --add-architecture i386
  fi
  "${SUDO[@]}" apt-get update -q
  "${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine answers GetACP() with 936 only when the zh_CN.UTF-8 locale exists on the host.
if [ "$what" != linux ] && ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${SUDO[@]}" locale-gen
fi
