#!/usr/bin/env bash
# Checks an installed tree (a DESTDIR of "cmake --install --prefix /usr", or an unpacked .deb):
# exactly the expected files, each where the desktop looks for it, all naming one application id,
# and a program in /usr/bin that finds its libraries only in the system's places.
# Usage: check_tree.sh ROOT APP_ID
set -euo pipefail
root=$1
id=$2
fail=0
problem() {
    echo "FAIL: $*" >&2
    fail=1
}

expected=$(sort <<EOF
usr/bin/kalvo
usr/share/applications/$id.desktop
usr/share/doc/kalvo/copyright
usr/share/icons/hicolor/48x48/apps/$id.png
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/metainfo/$id.metainfo.xml
EOF
)
actual=$(cd "$root" && find . \( -type f -o -type l \) -printf '%P\n' | sort)
if [ "$actual" != "$expected" ]; then
    problem "installed files differ from the expected ones (< expected, > installed):"
    diff <(echo "$expected") <(echo "$actual") >&2 || true
fi

exe=$root/usr/bin/kalvo
if [ -f "$exe" ]; then
    [ -x "$exe" ] || problem "usr/bin/kalvo is not executable"
    if readelf -d "$exe" | grep -qE '\((RPATH|RUNPATH)\)'; then
        problem "usr/bin/kalvo has a run path: $(readelf -d "$exe" | grep -E 'R(UN)?PATH')"
    fi
fi

desktop=$root/usr/share/applications/$id.desktop
if [ -f "$desktop" ]; then
    for line in "Exec=kalvo" "Icon=$id" "Type=Application" "Terminal=false"; do
        grep -qxF "$line" "$desktop" || problem "$id.desktop has no line '$line'"
    done
fi

metainfo=$root/usr/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
    grep -qF "<id>$id</id>" "$metainfo" || problem "the metainfo's <id> is not $id"
    grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        problem "the metainfo does not launch $id.desktop"
fi

# AppStream's own look at the tree: the metainfo in its place, its desktop entry found.
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate-tree --no-net "$root" || problem "appstreamcli validate-tree failed"
fi

if [ $fail -ne 0 ]; then
    echo "installed tree under $root:" >&2
    (cd "$root" && find . -printf '%M %P\n' | sort -k2) >&2
    exit 1
fi
echo "installed tree OK: $(echo "$actual" | wc -l) files under $root"
