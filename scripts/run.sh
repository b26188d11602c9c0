#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: run it headless with  xvfb-run -a bash scripts/screenshot.sh shots  and open shots/tab1.png to tab7.png."
    exit 0
fi
exec ./build/aobaroku
