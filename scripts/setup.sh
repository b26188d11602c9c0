#!/usr/bin/env bash
# Installs with apt-get only the packages that are missing. When nothing is
# missing it needs no root, so a normal user can build and start the program.
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
    libxml2-dev libjpeg62-turbo-dev fonts-noto-cjk libxcb1-dev
    zlib1g-dev
    libical-dev
    # The reminder's tests run on a session bus of their own.
    dbus-daemon
    qt6-charts-dev libqt6opengl6-dev
    xvfb xauth poppler-utils imagemagick jpeginfo libjpeg-turbo-progs
    # Building the Debian package and checking it.
    file
    dpkg-dev
    lintian
    appstream
    desktop-file-utils
    librsvg2-bin
    # Two real sync daemons for the test of a notebook in a synced folder.
    syncthing
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages (${missing[*]}): run  bash scripts/setup.sh  as root, then try again." >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
