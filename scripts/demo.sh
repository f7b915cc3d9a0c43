#!/usr/bin/env bash
# Builds Leafsong, makes a sample album and opens it. Without a display (a server, a container,
# CI) the album runs under Xvfb instead: a screenshot of the first spread goes to build/demo/ and
# the album is then ended in order.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEAFSONG_TESTS=OFF -DLEAFSONG_BENCH=OFF
cmake --build build --target leafsong leafsong_samplegen
album=$PWD/build/sample-album
if [[ ! -d $album ]]; then
    QT_QPA_PLATFORM=offscreen build/tools/leafsong_samplegen "$album" 2>/dev/null
fi

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec build/leafsong "$album"
fi

# No display: show the album to a private X server and take its picture.
bash scripts/install-deps.sh --test >/dev/null
exec bash scripts/headless-demo.sh "$album"
