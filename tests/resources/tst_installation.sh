#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a staging folder and packages it, then checks what a desktop
# and a package manager see. Run by ctest, which passes the build folder.
set -euo pipefail
build="${1:?usage: tst_installation.sh BUILD_DIR}"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
have() { command -v "$1" >/dev/null; }

cmake --install "$build" --prefix "$stage/usr" >/dev/null
[[ -x $stage/usr/bin/octetry ]] || fail "the program is not installed as an executable"
for doc in share/man/man1/octetry.1.gz share/doc/octetry/copyright share/doc/octetry/changelog.gz; do
    [[ -s $stage/usr/$doc ]] || fail "$doc is not installed"
done

# The launcher runs the installed program with the installed icon.
desktop="$stage/usr/share/applications/example.quorvane.Octetry.desktop"
grep -qx 'Exec=octetry' "$desktop" && grep -qx 'Icon=octetry' "$desktop" || fail "$desktop: Exec or Icon"
if have desktop-file-validate && have appstreamcli; then
    out="$(desktop-file-validate "$desktop" 2>&1)" && [[ $out != *error:* ]] || fail "$out"
    appstreamcli validate --no-net "$stage/usr/share/metainfo/example.quorvane.Octetry.metainfo.xml" \
        || fail "metainfo"
else
    echo "SKIP: desktop-file-validate or appstreamcli is not installed"
fi

if have dpkg-shlibdeps; then
    (cd "$build" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$stage/deb" >/dev/null)
    debs=("$stage"/deb/octetry_*_amd64.deb)
    [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one package, found ${debs[*]}"
    info="$(dpkg-deb -I "${debs[0]}")"
    grep -q '^ Package: octetry$' <<<"$info" || fail "$info"
    # Found by dpkg-shlibdeps, and the platform plugin it cannot see.
    depends="$(grep '^ Depends:' <<<"$info")"
    [[ $depends == *libqt6widgets6* && $depends == *qt6-qpa-plugins* ]] || fail "$info"
    if have lintian; then
        # Debian's checker: no error and no warning (its notes, such as hardening hints, may stay).
        out="$(lintian --fail-on error,warning "${debs[0]}" 2>&1)" || fail "lintian: $out"
    else
        echo "SKIP: lintian is not installed"
    fi
else
    echo "SKIP: dpkg-shlibdeps is not installed"
fi
echo "PASS: installation and package"
