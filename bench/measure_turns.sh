#!/usr/bin/env bash
# Runs build/leafsong under a private Xvfb on an album of 24-megapixel photos, turns three pages
# and reports each turn's wall time, the frames presented and the program's peak resident memory.
# Usage: bench/measure_turns.sh   (after a build; needs Xvfb, xdotool)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/private-xvfb.sh

QT_QPA_PLATFORM=offscreen build/tools/leafsong_samplegen "$work/sample" 2>/dev/null
mkdir "$work/album"
for i in 1 2 3 4; do cp "$work/sample/01 Dawn.jpg" "$work/album/photo$i.jpg"; done

start_xvfb
mkdir -m 0700 "$work/run"

XDG_RUNTIME_DIR=$work/run QT_LOGGING_RULES="leafsong.flip.debug=true" \
    QT_MESSAGE_PATTERN='%{time process} %{message}' \
    build/leafsong "$work/album" 2>"$work/log" &
album_pid=$!
sleep 3
xdotool mousemove 700 500 click 1
for n in 1 2 3; do
    xdotool key Left
    for _ in $(seq 500); do (($(grep -c 'turn end' "$work/log") >= n)) && break; sleep 0.02; done
    sleep 0.5
done
peak=$(awk '/VmHWM/ {print $2}' "/proc/$album_pid/status")
xdotool key Escape
wait "$album_pid" || true
album_pid=

awk '/turn start/ {s=$1} /FlipPos=/ {f++} /turn end/ {printf "turn %d: %.0f ms, %d frames\n", ++n, ($1-s)*1000, f; f=0}' "$work/log"
echo "peak resident memory: $((peak / 1024)) MB"
