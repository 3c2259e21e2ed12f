#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds into build/ and starts Octetry.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/setup.sh"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    cat >&2 <<MSG
Octetry is built ($BUILD_DIR/octetry), but there is no display to show its
window on: neither DISPLAY nor WAYLAND_DISPLAY is set.

To run it on a virtual X display, install xvfb and start it under xvfb-run:

    sudo apt-get install xvfb
    xvfb-run -a "$BUILD_DIR/octetry"

(or run scripts/run.sh from a desktop session).
MSG
    exit 1
fi

exec "$BUILD_DIR/octetry" "$@"
