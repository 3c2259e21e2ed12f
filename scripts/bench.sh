#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds every benchmark of bench/ (preset bench: Release) into build-bench/ and runs each in turn;
# each prints its own table.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OCTETRY_PRESET=bench
OCTETRY_BUILD_TARGET=octetry_bench
source "$ROOT/scripts/setup.sh"

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
echo "Machine: $(uname -srm), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
for source in "$ROOT"/bench/bench_*.cpp; do
    bench="$(basename "$source" .cpp)"
    echo
    echo "== $bench"
    "$BUILD_DIR/$bench"
done
