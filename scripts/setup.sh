#!/bin/sh
# Installs what building, playing and testing Orvalle need on Debian 12 (as root, or through sudo).
set -e
PACKAGES="build-essential cmake pkg-config liballegro4-dev libgtest-dev libbenchmark-dev python3
freepats xvfb xauth xdotool x11-apps imagemagick valgrind clang libclang-rt-14-dev"

missing=""
for package in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
echo "Installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
