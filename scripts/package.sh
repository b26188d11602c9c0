#!/usr/bin/env bash
# Builds the Debian package build-package/aobaroku_VERSION-1_ARCH.deb with
# Debian's hardening flags and checks it with lintian, appstreamcli and
# desktop-file-validate. Its own build folder holds only what the package
# needs: neither the tests nor the benchmark are built.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAOBAROKU_PORTABLE=OFF \
    -DAOBAROKU_BUILD_TESTS=OFF -DAOBAROKU_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" >/dev/null
cmake --build build-package -j"$(nproc)"
rm -f build-package/aobaroku_*.deb
(cd build-package && cpack -G DEB)
deb=$(echo build-package/aobaroku_*.deb)
desktop-file-validate build-package/generated/*.desktop
appstreamcli validate --no-net build-package/generated/*.metainfo.xml
lintian -I --fail-on error "$deb" | tee build-package/lintian.txt
# Built with dpkg-buildflags, the program has every hardening lintian looks for.
if grep hardening- build-package/lintian.txt; then
    echo "The program lacks Debian's hardening (above)." >&2
    exit 1
fi
echo "Built $deb. Install it as root with:  apt install ./$deb"
