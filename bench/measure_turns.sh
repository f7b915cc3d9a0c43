#!/usr/bin/env bash
# How quickly the leaf answers a key and how evenly it moves: runs the album (a Release build)
# under a private Xvfb on an album of 24-megapixel photos, with a short tune repeated, and turns
# five pages, each a second after the last one ended (so its neighbours could be decoded ahead).
# The first turn is the first after start; during the fourth a second copy hands over another
# tune, so the music changes mid-turn. Per turn it prints the time from the key's turn start to the
# first frame presented, the largest gap between two frames, and the frames; then the peak
# resident memory. Times come from the album's own log (one clock).
# Usage: bench/measure_turns.sh   (needs Xvfb, xdotool, ImageMagick, sox)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/private-xvfb.sh

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEAFSONG_TESTS=OFF >/dev/null
cmake --build build-release --target leafsong leafsong_samplegen >/dev/null
QT_QPA_PLATFORM=offscreen build-release/tools/leafsong_samplegen "$work/sample" 2>/dev/null
mkdir -m 0700 "$work/run"
mkdir "$work/album" "$work/app"
for i in 1 2 3 4; do cp "$work/sample/01 Dawn.jpg" "$work/album/photo$i.jpg"; done
sox -n -r 44100 -c 2 "$work/tune.wav" synth 0.4 sine 440 2>/dev/null
sox -n -r 44100 -c 2 "$work/other.wav" synth 0.4 sine 660 2>/dev/null
cp build-release/leafsong "$work/app/"
printf '[Show]\nLoop=T\nRepeat=T\nFooter=F\n[Pointer]\nBackGroundMusic=%s\nPicturePath=%s\n' \
    "$work/tune.wav" "$work/album" >"$work/app/Leafsong.ini"

start_xvfb
export XDG_RUNTIME_DIR=$work/run
QT_LOGGING_RULES="leafsong.flip.debug=true;leafsong.input.debug=true;leafsong.startup.debug=true" \
    QT_MESSAGE_PATTERN='%{time process} %{message}' \
    "$work/app/leafsong" 2>"$work/log" &
album_pid=$!
wait_log() {  # pattern, count
    for _ in $(seq 1000); do (($(grep -c "$1" "$work/log") >= $2)) && return; sleep 0.02; done
    echo "the album did not log '$1' $2 times" >&2
    exit 1
}
wait_log 'opening spread laid out' 1
xdotool mousemove 700 500
keys=(Left Left Right Left Left)
for n in 1 2 3 4 5; do
    sleep 1
    xdotool key "${keys[n - 1]}"
    ((n == 4)) && "$work/app/leafsong" "$work/other.wav"
    wait_log 'turn end' "$n"
done
peak=$(awk '/VmHWM/ {print $2}' "/proc/$album_pid/status")
xdotool key Escape
wait "$album_pid" || true
album_pid=

# A turn asked for starts at once (it is logged as it begins; its pictures may still be decoding).
awk '/turn start/ {k = $1; f = 0; gap = 0}
     /frame FlipPos=/ {if (!f) first = $1 - k; else if ($1 - last > gap) gap = $1 - last;
                       last = $1; f++}
     /turn end/ {printf "turn %d: key to first frame %.0f ms, largest frame gap %.0f ms, %d frames\n",
                 ++n, first * 1000, gap * 1000, f}' "$work/log"
echo "peak resident memory: $((peak / 1024)) MB"
