#!/usr/bin/env bash
# Shared set-up of the run and test commands: install what is missing, configure, build.
# Sourced by scripts/run.sh and scripts/test.sh; expects ROOT and BUILD_DIR to be set.
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins
          fonts-dejavu-core python3 desktop-file-utils appstream dpkg-dev
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

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja ${OCTETRY_CMAKE_ARGS:-}
# OCTETRY_BUILD_TARGET builds one target (e.g. octetry_fuzz, octetry_bench) instead of all.
cmake --build "$BUILD_DIR" ${OCTETRY_BUILD_TARGET:+--target "$OCTETRY_BUILD_TARGET"}
