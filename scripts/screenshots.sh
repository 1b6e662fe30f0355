#!/usr/bin/env bash
# Takes every picture of the handbook and the README (docs/handbuch/bilder/*.png) from the
# real program on a sample collection, in a virtual X display, with a scratch program
# directory and settings file so that the user's own stay untouched. Needs the packages of
# scripts/install-deps.sh; builds into $BUILD (default: build) when needed.
#
#   bash scripts/screenshots.sh            # all pictures, then the handbook again
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build}"
ziel="docs/handbuch/bilder"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target bildschirmfotos -j2

# A fixed scratch place, so that the paths the pictures show stay the same from run to run.
arbeit=/tmp/quorbel98-fotos
rm -rf "$arbeit"
trap 'rm -rf "$arbeit"' EXIT
mkdir -p "$arbeit/programm" "$arbeit/einstellungen" "$arbeit/state" "$arbeit/config"

# A fixed look: German texts and dates, one window style, 96 dots per inch, no desktop theme.
env -i PATH="$PATH" HOME="$arbeit" \
  LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 LANGUAGE=de TZ=Europe/Berlin \
  XDG_CONFIG_HOME="$arbeit/config" XDG_STATE_HOME="$arbeit/state" XDG_DATA_HOME="$arbeit/data" \
  QUORBEL_PROGRAM_DIR="$arbeit/programm" QUORBEL_SETTINGS_FILE="$arbeit/einstellungen/quorbel98.ini" \
  QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE=Fusion QT_SCALE_FACTOR=1 QT_LOGGING_RULES='qt.qpa.*=false' \
  xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
  "$build/bin/bildschirmfotos" "$ziel"

# The handbook with the new pictures.
if grep -q '^QUORBEL_HANDBUCH:BOOL=ON' "$build/CMakeCache.txt"; then
  cmake --build "$build" --target handbuch
fi
