#!/usr/bin/env bash
# Builds the Debian package build/aobaroku_VERSION-1_ARCH.deb and checks it
# with lintian, appstreamcli and desktop-file-validate.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DAOBAROKU_PORTABLE=OFF >/dev/null
bash scripts/build.sh
rm -f build/aobaroku_*.deb
(cd build && cpack -G DEB)
deb=$(echo build/aobaroku_*.deb)
desktop-file-validate build/generated/*.desktop
appstreamcli validate --no-net build/generated/*.metainfo.xml
lintian --fail-on error "$deb"
echo "Built $deb. Install it as root with:  apt install ./$deb"
