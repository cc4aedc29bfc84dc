#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail
packages=(cmake g++ ninja-build ccache pkg-config
          libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev qt6-qpa-plugins libxlsxwriter-dev libminizip-dev
          xvfb xauth libgl1-mesa-dri libgl-dev
          fonts-liberation)  # the charts' Times New Roman resolves to its metric twin
# The Windows engine check (scripts/windows-check.sh): the MinGW-w64 cross compiler and Wine
# (on Debian 12 the wine package brings the 64-bit loader wine64).
packages+=(g++-mingw-w64-x86-64-posix wine)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
