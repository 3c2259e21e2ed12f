#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of tests/fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (preset fuzz) into build-fuzz/, and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target ...]
# Each target starts from its committed seeds in tests/fuzz/corpus/<target>/ and
# keeps what it finds in build-fuzz/corpus/<target>/; a crash leaves its input in
# build-fuzz/crashes/ and stops the script.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FUZZ_SECONDS="${1:-60}"
shift || true

OCTETRY_EXTRA_PACKAGES="clang libclang-rt-14-dev ${OCTETRY_EXTRA_PACKAGES:-}"
OCTETRY_PRESET=fuzz
OCTETRY_BUILD_TARGET=octetry_fuzz
source "$ROOT/scripts/setup.sh"

targets=("$@")
if ((${#targets[@]} == 0)); then
    for source in "$ROOT"/tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

mkdir -p "$BUILD_DIR/crashes"
for target in "${targets[@]}"; do
    corpus="$BUILD_DIR/corpus/$target"
    mkdir -p "$corpus"
    log="$BUILD_DIR/$target.log"
    echo "== $target: $FUZZ_SECONDS s"
    status=0
    "$BUILD_DIR/$target" -max_total_time="$FUZZ_SECONDS" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$BUILD_DIR/crashes/$target-" \
        "$corpus" "$ROOT/tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
    if ((status != 0)); then
        grep -E '(ERROR|SUMMARY|Test unit written|exception|terminate)' "$log" >&2 || true
        echo "$target failed (exit $status); its log is $log" >&2
        exit 1
    fi
done
