#!/usr/bin/env bash
# Peak resident memory of the album (a Release build) while it turns through every picture of
# (1) a folder of crafted pictures whose headers claim gigabytes, a 50-megapixel BMP and 24 MP
# photos, (2) a folder of 24-megapixel photos and (3) one of four 50-megapixel BMPs. Needs Xvfb,
# xdotool and ImageMagick (scripts/install-deps.sh --test). Usage: bench/measure_memory.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/private-xvfb.sh

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEAFSONG_TESTS=OFF >/dev/null
cmake --build build-release --target leafsong leafsong_samplegen leafsong_craftgen >/dev/null
export QT_QPA_PLATFORM=offscreen
build-release/tools/leafsong_samplegen "$work/sample" 2>/dev/null
mkdir -p "$work/hostile" "$work/photos"
build-release/tools/leafsong_craftgen "$work/hostile" 2>/dev/null
convert -size 8660x5774 xc:gray50 -type TrueColor "$work/hostile/d 50 megapixels.bmp"
for i in 1 2 3; do cp "$work/sample/01 Dawn.jpg" "$work/hostile/photo$i.jpg"; done
for i in 1 2 3 4 5 6; do cp "$work/sample/01 Dawn.jpg" "$work/photos/photo$i.jpg"; done
mkdir -p "$work/bmp50"
for i in 1 2 3 4; do
    convert "$work/sample/01 Dawn.jpg" -resize '8660x5774!' -type TrueColor "$work/bmp50/scan$i.bmp"
done
unset QT_QPA_PLATFORM
start_xvfb

# Turns through the folder twice (the loop mode on), each turn waited for, then ends the album;
# prints the folder's pictures, turns and peak resident memory.
measure() {
    local folder=$1 label=$2 app=$work/app-$2
    mkdir -p "$app" "$work/run-$2"
    chmod 0700 "$work/run-$2"
    cp build-release/leafsong "$app/"
    printf '[Show]\nLoop=T\n' >"$app/Leafsong.ini"
    XDG_RUNTIME_DIR=$work/run-$2 QT_LOGGING_RULES="leafsong.flip.debug=true" \
        "$app/leafsong" "$folder" 2>"$work/log-$2" &
    album_pid=$!
    for _ in $(seq 300); do grep -q 'frame\|turn' "$work/log-$2" 2>/dev/null && break; sleep 0.1; done
    sleep 2
    xdotool mousemove 700 500 click 1
    local files turns=0
    files=$(find "$folder" -maxdepth 1 -type f | wc -l)
    for _ in $(seq $((2 * files))); do
        xdotool key Left
        turns=$((turns + 1))
        for _ in $(seq 600); do
            (($(grep -c 'turn end' "$work/log-$2") >= turns)) && break
            sleep 0.05
        done
    done
    local peak
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$album_pid/status")
    xdotool key Escape
    wait "$album_pid" || true
    album_pid=
    printf '%-40s %2d files, %2d turns, %3d frames drawn, peak resident memory %d MB\n' \
        "$label" "$files" "$turns" "$(grep -c 'FlipPos=' "$work/log-$2")" $((peak / 1024))
}

measure "$work/hostile" crafted-and-large
measure "$work/photos" photos-24MP
measure "$work/bmp50" bmp-50MP
