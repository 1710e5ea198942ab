#!/bin/bash
# Installs the Debian packages the build and the tests need, and those
# given as arguments, only those missing, quietly. Needs root (or sudo) when
# something is missing.
set -euo pipefail

packages=(
    cmake make file zip unzip python3 locales
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    wine wine32:i386 xvfb x11-utils fonts-wine xdotool imagemagick
    clang libclang-rt-14-dev googletest libgtest-dev valgrind
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
SUDO=
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run this as root (or install sudo) to install them." >&2; exit 1; }
    SUDO=sudo
fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
