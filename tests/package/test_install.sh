#!/usr/bin/env bash
# Installs a build folder with "cmake --install" into a scratch DESTDIR under the prefix /usr,
# as the Debian package does, and checks the tree.
# Usage: test_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2
here=$(cd "$(dirname "$0")" && pwd)

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kalvo-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

DESTDIR=$scratch cmake --install "$build" --prefix /usr
"$here/check_tree.sh" "$scratch" "$id"
