#!/bin/sh
# Installs the Debian packages that building, testing and packaging Lapwerk need.
# Only packages that are missing are installed, so a second run is quick.
set -e

PACKAGES="cmake make g++ clang libclang-rt-14-dev pkg-config \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev \
  libgtest-dev libgmock-dev libbenchmark-dev libboost-dev \
  xvfb xauth openbox x11-utils fonts-dejavu-core fonts-liberation clang-format poppler-utils \
  dpkg-dev file man-db groff-base"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
