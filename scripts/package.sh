#!/bin/sh
# Builds the Debian package of Orvalle in build-package/ (Release, Debian's own compiler and
# linker flags with all hardening, installed under /usr) and prints its path as the last line:
# build-package/orvalle_<version>_<arch>.deb.
set -e
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cd "$(dirname "$0")/.."
scripts/setup.sh play package
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DORVALLE_TESTS=OFF -DORVALLE_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-package -j "$(nproc)"
rm -f build-package/orvalle_*.deb
(cd build-package && cpack -G DEB > cpack.log 2>&1) || { cat build-package/cpack.log >&2; exit 1; }
ls build-package/orvalle_*.deb
