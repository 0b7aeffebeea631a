#!/usr/bin/env bash
# Makes the Debian package from a build folder with cpack, checks what it declares and holds,
# and starts the unpacked program once on the end-to-end rig's display, where it must show its
# window with the system's Qt alone.
# Usage: test_deb.sh BUILD_DIR VERSION APP_ID, with KALVO_RIG_DIR set to a started rig
# (exit 77, skipped, without one).
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
id=$3
here=$(cd "$(dirname "$0")" && pwd)
title="Tarvo Mehrwertsteuer"
wait_s=30 # for the window

rig=${KALVO_RIG_DIR:-}
if [ -z "$rig" ] || [ ! -f "$rig/env" ]; then
    echo "SKIP: no end-to-end rig (KALVO_RIG_DIR=${rig:-unset}); see tests/e2e/README.md" >&2
    exit 77
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kalvo-deb.XXXXXX")
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# The package, made into the scratch folder so the build folder keeps no stale one.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out"
debs=("$scratch"/out/kalvo_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "FAIL: cpack made no single kalvo_*.deb: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
dpkg-deb -I "$deb"

fail=0
problem() {
    echo "FAIL: $*" >&2
    fail=1
}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kalvo ] || problem "Package is '$(field Package)', not kalvo"
[ "$(field Version)" = "$version" ] || problem "Version is '$(field Version)', not $version"
arch=$(dpkg --print-architecture)
[ "$(field Architecture)" = "$arch" ] || problem "Architecture is '$(field Architecture)'"
[ "$(basename "$deb")" = "kalvo_${version}_${arch}.deb" ] || problem "file name $(basename "$deb")"
for f in Maintainer Description Section Homepage; do
    [ -n "$(field $f)" ] || problem "no $f field"
done

# The names in Depends, without versions; alternatives ("a | b") count each.
depends=$(field Depends | tr ',|' '\n' | sed -E 's/\(.*\)//; s/^ +//; s/ +$//' | sed '/^$/d')
echo "declared dependencies: $(paste -sd " " <<<"$depends")"
declared() { grep -qxF "$1" <<<"$depends"; }
# What the program loads without linking it, and the libraries it links.
for p in qt6-qpa-plugins qt6-translations-l10n fonts-liberation fonts-dejavu-core \
    libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libstdc++6 libc6; do
    declared "$p" || problem "Depends lacks $p"
done

dpkg-deb -x "$deb" "$scratch/root"
"$here/check_tree.sh" "$scratch/root" "$id" || fail=1
exe=$scratch/root/usr/bin/kalvo

# Every library the program links must come from a declared package, or apt-get would install
# a program that cannot start.
owner() { # the package that holds a library, on a machine with merged /usr
    local path=$1 alt
    case $path in
    /usr/*) alt=${path#/usr} ;;
    *) alt=/usr$path ;;
    esac
    { dpkg -S "$path" 2>/dev/null || dpkg -S "$alt" 2>/dev/null; } | head -n1 | cut -d: -f1
}
while read -r soname; do
    path=$(ldd "$exe" | awk -v n="$soname" '$1 == n { print $3 }')
    if [ -z "$path" ] || [ "$path" = "not" ]; then
        problem "$soname is not found on this machine"
        continue
    fi
    pkg=$(owner "$path")
    [ -n "$pkg" ] || pkg=$(owner "$(readlink -f "$path")")
    if [ -z "$pkg" ]; then
        problem "no package holds $path ($soname)"
    elif ! declared "$pkg"; then
        problem "$soname comes from $pkg, which Depends does not name"
    fi
done < <(readelf -d "$exe" | sed -nE 's/.*\(NEEDED\).*\[(.*)\]/\1/p')

if [ $fail -ne 0 ]; then
    exit 1
fi

# Start the unpacked program as a German user would, settings in a scratch folder, on the rig's
# display; the rig's env drops variables such as WAYLAND_DISPLAY that would send it elsewhere.
# shellcheck source=/dev/null
source "$rig/env"
mkdir -p "$scratch/config"
mkdir -m 700 "$scratch/runtime"
log=$scratch/kalvo.log
(
    unset LANGUAGE LC_ALL LC_MESSAGES LC_NUMERIC LD_LIBRARY_PATH QT_PLUGIN_PATH
    export LANG=de_DE.UTF-8 XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime
    exec "$exe"
) </dev/null >"$log" 2>&1 &
pid=$!

if ! win=$(timeout "$wait_s" xdotool search --sync --all --pid "$pid" --name "^$title\$"); then
    echo "FAIL: no window '$title' of the unpacked program within $wait_s s" >&2
    kill -0 "$pid" 2>/dev/null || echo "the program has ended" >&2
    echo "its output:" >&2
    cat "$log" >&2
    exit 1
fi
win=$(head -n1 <<<"$win")
echo "window $win: '$(xdotool getwindowname "$win")'"
if ! kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: the program ended after showing its window" >&2
    cat "$log" >&2
    exit 1
fi

kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
pid=
if [ -s "$log" ]; then
    echo "the program's output:"
    cat "$log"
fi
echo "OK: $(basename "$deb") declares its dependencies and its program starts"
