#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Remakes docs/screenshots/: every page of the main window in the Fusion style,
# <page>-light.png with its standard palette and <page>-dark.png with a dark one.
# Builds the screenshot maker (preset screenshots) into build-screenshots/ and
# runs it on a virtual X display, with settings of its own in a temporary folder
# and the news address on a closed loopback port, so the pictures do not depend
# on the machine, its user or the network.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OCTETRY_PRESET=screenshots
OCTETRY_BUILD_TARGET=octetry_screenshots
OCTETRY_EXTRA_PACKAGES="${OCTETRY_EXTRA_PACKAGES:-} xvfb xauth optipng"
source "$ROOT/scripts/setup.sh"

OUTPUT="$ROOT/docs/screenshots"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

# A value of the program's own types as the settings file keeps it: the
# user-type marker 127, the type name with its zero byte, then the type's
# stream layout (payload, in hex), every byte escaped.
variant() {
    local name_hex length
    name_hex="$(printf '%s' "$1" | od -An -tx1 | tr -d ' \n')"
    printf -v length '%08x' $((${#1} + 1))
    printf '@Variant(%s)' "$(printf '%s' "0000007f$length${name_hex}00$2" | sed 's/../\\x&/g')"
}

# Fresh settings for one run: 192.168.10.77 in class C with 3 subnet bits,
# the CIDR block /22 cut into /26 routes, and 2001:db8:1234:5600:211:22ff:fe33:4455
# (a documentation address with a MAC-derived interface id) in a /40 split into /48s.
write_settings() {
    rm -rf "$WORK/home"
    mkdir -p "$WORK/home/config/Quorvane" "$WORK/home/cache" "$WORK/home/data"
    cat >"$WORK/home/config/Quorvane/Octetry.conf" <<CONF
[General]
TabIndex=0
AllowOneSubnetBit=true
AllowOneHostBit=true
IPv4Address=$(variant IPv4Address 01c0a80a4d)
SubnetPolicy=$(variant IPv4SubnetPolicy 00000006000000030101)
CidrAddressBlock=$(variant IPv4AddressBlock 00000016)
CidrPolicy=$(variant IPv4CidrPolicy 0000001600000004)
IPv6Address=$(variant IPv6Address 0120010db812345600021122fffe334455)
IPv6PrefixLength=40
IPv6SubnetLength=48
CONF
}

mkdir -p "$OUTPUT"
for theme in light dark; do
    write_settings
    env -u QT_STYLE_OVERRIDE -u QT_QPA_PLATFORMTHEME -u XDG_CURRENT_DESKTOP -u QT_SCALE_FACTOR \
        -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config" XDG_CACHE_HOME="$WORK/home/cache" \
        XDG_DATA_HOME="$WORK/home/data" XDG_RUNTIME_DIR="$WORK" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb \
        OCTETRY_NEWS_URL=http://127.0.0.1:9/news/octetry-news.html \
        xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" \
        "$BUILD_DIR/octetry_screenshots" $([[ $theme == dark ]] && echo --dark) "$OUTPUT"
done
optipng -quiet -o5 -strip all "$OUTPUT"/*.png
ls -l "$OUTPUT"
