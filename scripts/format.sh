#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats the C++ sources with the project's .clang-format (clang-format from Debian 12).
# With --check it changes nothing and fails, naming the files, when any is not formatted.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'scripts/*.cpp' 'scripts/*.h')
if [[ "${1:-}" == "--check" ]]; then
    unformatted=()
    for f in "${files[@]}"; do
        if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
            unformatted+=("$f")
        fi
    done
    if ((${#unformatted[@]})); then
        echo "Not formatted (run scripts/format.sh): ${unformatted[*]}" >&2
        exit 1
    fi
    echo "Formatting: ${#files[@]} files checked, all formatted."
else
    clang-format -i "${files[@]}"
fi
