#!/usr/bin/env bash
# Builds the two programs and the Debian package build/cadenzio_<version>_<arch>.deb, whose
# dependencies dpkg-shlibdeps finds from the shared libraries the programs link.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target cadenzio notepress
cd build
cpack -G DEB
