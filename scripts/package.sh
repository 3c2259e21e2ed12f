#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a release (preset package: Release, /usr) into build-package/ and makes octetry_<version>_amd64.deb in the project root.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OCTETRY_PRESET=package
source "$ROOT/scripts/setup.sh"

(cd "$BUILD_DIR" && cpack -G DEB)
deb=$(ls -t "$BUILD_DIR"/octetry_*_amd64.deb | head -n 1)
cp "$deb" "$ROOT/"
echo "Package: $ROOT/$(basename "$deb")"
echo "Install it with: sudo apt-get install ./$(basename "$deb")"
