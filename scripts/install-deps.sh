#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Nimbalo need.
# Usage: scripts/install-deps.sh [--no-update]
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev
  qt6-qpa-plugins libgl-dev
  libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xauth imagemagick
  weather-util-data
  python3 clang-format
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

if [ "${1:-}" != "--no-update" ]; then
  $sudo apt-get update
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${packages[@]}"
