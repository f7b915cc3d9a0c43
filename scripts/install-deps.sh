#!/usr/bin/env bash
# Installs the Debian 12 packages Leafsong needs: to build and run it, and with --test also to
# test it. Installs only what is missing; works as root or through sudo.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libstb-dev
    libxcb1-dev libxcb-xkb-dev libxcb-shape0-dev
    # build: the English texts, compiled by lrelease (the binary is in l10n-tools, the CMake
    # package in tools-dev) and embedded
    qt6-tools-dev qt6-l10n-tools
    # run: a CJK font for the Chinese texts
    fonts-wqy-microhei
    # run: Qt's WebP and TIFF decoders (JPEG, BMP, GIF and PNG come with Qt itself)
    qt6-image-formats-plugins
    # build and run: music through Qt Multimedia's GStreamer backend (base is required; good,
    # ugly and libav add MP3 and WMA; bad's fluidsynth element and a small soundfont add MIDI)
    qt6-multimedia-dev libqt6multimedia6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly gstreamer1.0-libav timgm6mb-soundfont
)
if [[ ${1:-} == --test ]]; then
    packages+=(
        libgtest-dev libgmock-dev googletest libbenchmark-dev clang-format clang-tidy
        # a private X server, input and screenshots for the end-to-end tests
        xvfb xauth xdotool x11-utils imagemagick
        # runs the tests as an unprivileged user
        util-linux
        # makes the sound files that the playback tests play
        lame sox gstreamer1.0-tools
        # moves the album's date for the greeting-day test
        libfaketime
        # validate what is installed: the desktop entry, the AppStream metadata, the manual page
        desktop-file-utils appstream man-db groff-base
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
