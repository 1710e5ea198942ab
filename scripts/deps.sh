#!/bin/bash
# Installs the Debian packages the build and the tests need, only those
# missing, quietly. Needs root (or sudo) when something is missing.
set -euo pipefail

packages=(
    cmake make file zip unzip python3 locales
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    wine wine32:i386 xvfb x11-utils fonts-wine xdotool imagemagick
    clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
