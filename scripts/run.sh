#!/usr/bin/env bash
# Installs what is missing, builds the program alone (not the tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    bash scripts/build.sh aobaroku aobaroku-screenshot
    echo "No display found: run it headless with  xvfb-run -a bash scripts/screenshot.sh shots  and open shots/tab1.png to tab7.png."
    exit 0
fi
bash scripts/build.sh aobaroku
exec ./build/aobaroku
