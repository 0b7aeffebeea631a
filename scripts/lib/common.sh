# Shared by scripts/run, scripts/test and the end-to-end rig: the Debian packages the project
# needs and how to install the missing ones.
# shellcheck shell=bash

KALVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# To build and run the program and its unit and widget tests.
KALVO_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    clang-format
    # the Debian package (dpkg-shlibdeps, file) and the desktop entry and metainfo checks
    dpkg-dev file desktop-file-utils appstream
)

# A virtual display with a window manager, and what looks at it.
KALVO_DISPLAY_PACKAGES=(xvfb x11-utils x11-xserver-utils xdotool xclip openbox imagemagick)

# To build the benchmarks: the start-up bench's X event watcher needs Xlib.
KALVO_BENCH_PACKAGES=(libx11-dev)

# A print service with a PDF queue, and what reads the PDF back.
KALVO_PRINT_PACKAGES=(cups cups-client printer-driver-cups-pdf poppler-utils)

# To build and run the fuzz targets: clang with its libFuzzer and sanitizer runtimes, and
# llvm-symbolizer for readable stack traces.
KALVO_FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm)

kalvo_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "kalvo: need root (or sudo) to run: $*" >&2
        return 1
    fi
}

# Installs whichever of the given Debian packages are missing; apt-get update runs once, and only
# when something is missing.
kalvo_ensure_packages() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "kalvo: installing ${missing[*]}" >&2
    if [ -z "${KALVO_APT_UPDATED:-}" ]; then
        kalvo_as_root apt-get update -q >&2 || return 1
        export KALVO_APT_UPDATED=1
    fi
    kalvo_as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
}

# Configures (once) and builds the given build folder.
kalvo_build() {
    local dir=$1 type=$2
    shift 2
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$KALVO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >&2 || return 1
    fi
    cmake --build "$dir" --parallel "$(nproc)" >&2
}
