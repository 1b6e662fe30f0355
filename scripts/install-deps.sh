#!/usr/bin/env bash
# Installs everything needed to build, run and test the program on Debian 12.
# Recommended packages are left out, so every package the build, the program and the tests use is
# named here:
# - libexpat1-dev, libjpeg62-turbo-dev: libwmf's link flags name libexpat and libjpeg, and
#   libwmf-dev does not pull in their development files;
# - fonts-urw-base35: the Type 1 fonts libwmf draws metafile text with (it only recommends them;
#   without any font it refuses every metafile);
# - clang, libclang-rt-14-dev: the fuzz programs (libFuzzer);
# - clang-format, clang-tidy: CI checks the formatting and runs the static analysis;
# - poppler-utils: pdftotext, with which the tests read printed pages back;
# - desktop-file-utils, appstream, shared-mime-info: the test of the installed tree validates the
#   desktop entry and the metainfo and reads the list files' type into a MIME database;
# - dpkg-dev: dpkg-shlibdeps, from which `cpack -G DEB` takes the package's dependencies;
# - pxlib-dev: the writer's tables are read back with an independent reader;
# - cmark-gfm: renders the handbook (docs/handbuch) to HTML at build time; small (a C program
#   and its two libraries) and it has the table extension that the list of messages needs;
# - xvfb, xauth: the virtual display in which scripts/screenshots.sh takes the pictures.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-translations-l10n qt6-qpa-plugins \
  libgl1-mesa-dev libsqlite3-dev sqlite3 libbenchmark-dev \
  libemf2svg-dev libwmf-dev libexpat1-dev libjpeg62-turbo-dev \
  clang libclang-rt-14-dev clang-format clang-tidy \
  fonts-dejavu-core fonts-liberation2 fonts-urw-base35 poppler-utils \
  desktop-file-utils appstream shared-mime-info dpkg-dev pxlib-dev cmark-gfm \
  xvfb xauth >/dev/null
