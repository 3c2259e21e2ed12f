#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds into build/ and runs the whole test suite offscreen.
# OCTETRY_PRESET=asan builds and tests build-asan/ instead (see scripts/setup.sh);
# arguments go to ctest, e.g. scripts/test.sh -L unit.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure --no-tests=error "$@"
