#!/usr/bin/env bash
# Pictures of every tab without a screen: xvfb-run -a bash scripts/screenshot.sh [folder]
set -euo pipefail
cd "$(dirname "$0")/.."
./build/aobaroku-screenshot "${1:-shots}"
echo "Saved the tabs as ${1:-shots}/tab1.png … tab7.png"
