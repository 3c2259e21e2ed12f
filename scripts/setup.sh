#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared set-up of the scripts: install what is missing, configure, build.
# Sourced by the scripts of scripts/; expects ROOT to be set. Reads:
#   OCTETRY_PRESET          configure preset of CMakePresets.json (default, asan, bench,
#                           screenshots, fuzz, package); default: default
#   BUILD_DIR               build folder; default: the preset's, build/ or build-<preset>/
#   OCTETRY_CMAKE_ARGS      further configure arguments, e.g. -DOCTETRY_SANITIZE=ON
#   OCTETRY_EXTRA_PACKAGES  Debian packages needed besides the usual ones
#   OCTETRY_BUILD_TARGET    one target to build (e.g. octetry_fuzz, octetry_bench) instead of all
set -euo pipefail

# file: CPack's dependency scan (dpkg-shlibdeps) in the package test and scripts/package.sh.
# clang-format, clang-tidy, reuse, lintian: the checks that .ci/run runs (format, tidy,
# licence headers, the package test); iproute2: loopback in CI's network-less run;
# xvfb: the display that the quit test takes away.
packages=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins
          fonts-dejavu-core python3 desktop-file-utils appstream dpkg-dev file clang-format
          clang-tidy reuse lintian iproute2 xvfb
          ${OCTETRY_EXTRA_PACKAGES:-})
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]})); then
    echo "Installing missing packages: ${missing[*]}"
    SUDO=""
    if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

OCTETRY_PRESET="${OCTETRY_PRESET:-default}"
if [[ -z "${BUILD_DIR:-}" ]]; then
    # The presets' binaryDir: build/ for default, build-<preset>/ for the others.
    if [[ $OCTETRY_PRESET == default ]]; then
        BUILD_DIR="$ROOT/build"
    else
        BUILD_DIR="$ROOT/build-$OCTETRY_PRESET"
    fi
fi

cmake -S "$ROOT" --preset "$OCTETRY_PRESET" -B "$BUILD_DIR" ${OCTETRY_CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" ${OCTETRY_BUILD_TARGET:+--target "$OCTETRY_BUILD_TARGET"}
