#!/usr/bin/env bash
# Builds a release into build-package/ and makes octetry_<version>_amd64.deb in the project root.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-package}"
OCTETRY_EXTRA_PACKAGES="dpkg-dev file ${OCTETRY_EXTRA_PACKAGES:-}"
OCTETRY_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr ${OCTETRY_CMAKE_ARGS:-}"
source "$ROOT/scripts/setup.sh"

(cd "$BUILD_DIR" && cpack -G DEB)
deb=$(ls -t "$BUILD_DIR"/octetry_*_amd64.deb | head -n 1)
cp "$deb" "$ROOT/"
echo "Package: $ROOT/$(basename "$deb")"
echo "Install it with: sudo apt-get install ./$(basename "$deb")"
