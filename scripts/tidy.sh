#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds build/ (so the generated headers exist) and runs clang-tidy with .clang-tidy
# over every file of src/ and the headers it includes from src/; fails on any finding.
# Arguments limit it to files whose path matches them, e.g. scripts/tidy.sh src/news.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/setup.sh"

filter="^$ROOT/src/"
if (($#)); then
    filter="^$ROOT/($(IFS='|'; echo "$*"))"
fi
# run-clang-tidy exits non-zero on any warning, as .clang-tidy makes them all errors.
run-clang-tidy -quiet -p "$BUILD_DIR" -header-filter="^$ROOT/src/" "$filter"
echo "clang-tidy: no findings"
