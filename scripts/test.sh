#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the whole test suite offscreen.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
source "$ROOT/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure
