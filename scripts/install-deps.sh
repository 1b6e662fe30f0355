#!/usr/bin/env bash
# Installs everything needed to build, run and test the program on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-translations-l10n qt6-qpa-plugins \
  libgl1-mesa-dev libsqlite3-dev sqlite3 libbenchmark-dev \
  libemf2svg-dev libwmf-dev \
  fonts-dejavu-core fonts-liberation2 poppler-utils \
  xvfb xauth >/dev/null
